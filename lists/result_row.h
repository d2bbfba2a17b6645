// One entry of a result list: its fields kept apart, so that a name holding
// the column delimiter still opens and deletes the file that was listed, and
// with what the listing said of the item (file or folder, size, last write),
// so that deletion can tell whether the path still names the same thing.
//
// Rows are many (a million after a big scan), so what rows share is stored
// once: a folder's location text is shared by every row of that folder, and a
// day's date text by every row written that day.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace scourly {

// The short date text of one local calendar day, with the day's number
// (days since 1601-01-01), which orders dates.
struct DayText {
  int64_t day = 0;
  std::string text;
};

using SharedText = std::shared_ptr<const std::string>;
using SharedDay = std::shared_ptr<const DayText>;

class ResultRow {
 public:
  ResultRow() = default;
  ResultRow(std::string name, SharedText location, uint64_t size, uint64_t lastWrite,
            SharedDay date, bool isFolder = false)
      : name_(std::move(name)),
        location_(std::move(location)),
        date_(std::move(date)),
        size_(size),
        lastWrite_(lastWrite),
        isFolder_(isFolder) {}
  // A row from plain texts (tests, and rows nobody listed from a disk).
  ResultRow(std::string name, std::string location, uint64_t size, std::string date,
            uint64_t lastWrite = 0, int64_t day = 0, bool isFolder = false);

  const std::string& Name() const { return name_; }          // column 0 "File Name", no path
  const std::string& Location() const { return Text(location_); }  // column 1, ends in "\"
  uint64_t Size() const { return size_; }                     // column 2 "Size (B)", full size
  const std::string& Date() const { return date_ ? date_->text : Empty(); }  // column 3
  int64_t Day() const { return date_ ? date_->day : 0; }      // the date as a number
  uint64_t LastWrite() const { return lastWrite_; }           // FILETIME ticks, UTC
  bool IsFolder() const { return isFolder_; }

  // The row as one text, fields joined by ";": what the list's sorted style
  // compares.
  std::string Text() const;

  // The exact path of the listed item.
  std::string FullPath() const { return Location() + name_; }

  bool operator==(const ResultRow& o) const {
    return name_ == o.name_ && Location() == o.Location() && size_ == o.size_ &&
           Date() == o.Date() && Day() == o.Day() && lastWrite_ == o.lastWrite_ &&
           isFolder_ == o.isFolder_;
  }

 private:
  static const std::string& Empty();
  static const std::string& Text(const SharedText& s) { return s ? *s : Empty(); }

  std::string name_;
  SharedText location_;
  SharedDay date_;
  uint64_t size_ = 0;
  uint64_t lastWrite_ = 0;
  bool isFolder_ = false;
};

// Field k (0-based) of a row text split at every ";"; a field beyond the
// last ";" is empty.
std::string_view TextField(std::string_view text, int k);

// Byte count as shown on screen: "N kB" for N = bytes div 1024 when N > 0,
// otherwise "N B". No larger unit, no rounding.
std::string SizeText(int64_t bytes);

}  // namespace scourly
