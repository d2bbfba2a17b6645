// One entry of a result list: its fields kept apart, so that a name holding
// the column delimiter still opens and deletes the file that was listed, and
// with what the listing said of the item (file or folder, size, last write),
// so that deletion can tell whether the path still names the same thing.
//
// Rows are many (a million after a big scan), so what rows share is stored
// once: a folder's location text is shared by every row of that folder, and a
// day's date text by every row written that day. A row holds one pointer to
// each (not a shared_ptr's two), and its file-or-folder bit rides in the
// spare low bit of the day's pointer: 64 bytes a row, 32 of them the name's
// own string, which keeps names of up to 15 bytes inline.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace scourly {

// The short date text of one local calendar day, with the day's number
// (days since 1601-01-01), which orders dates.
struct DayText {
  int64_t day = 0;
  std::string text;
};

// A value many rows point to, freed with the last of them. One pointer wide;
// its lowest bit is free for the holder's own use (Flag), since the block is
// at least 4-aligned. Counts are atomic: rows may be copied on any thread.
template <class T>
class Shared {
 public:
  Shared() = default;
  static Shared Make(T value) {
    Shared s;
    s.bits_ = reinterpret_cast<uintptr_t>(new Block{{1}, std::move(value)});
    return s;
  }
  Shared(const Shared& o) : bits_(o.bits_) {
    if (Block* b = block()) b->refs.fetch_add(1, std::memory_order_relaxed);
  }
  Shared(Shared&& o) noexcept : bits_(std::exchange(o.bits_, 0)) {}
  Shared& operator=(const Shared& o) {
    if (this != &o) Shared(o).swap(*this);
    return *this;
  }
  Shared& operator=(Shared&& o) noexcept {
    Shared(std::move(o)).swap(*this);
    return *this;
  }
  ~Shared() {
    Block* b = block();
    if (b && b->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete b;
  }
  void swap(Shared& o) noexcept { std::swap(bits_, o.bits_); }

  const T* get() const {
    Block* b = block();
    return b ? &b->value : nullptr;
  }
  explicit operator bool() const { return block() != nullptr; }
  const T& operator*() const { return block()->value; }
  const T* operator->() const { return &block()->value; }

  bool Flag() const { return (bits_ & 1) != 0; }
  void SetFlag(bool on) { bits_ = (bits_ & ~uintptr_t{1}) | uintptr_t{on}; }
  // How many holders share the value (0 for none), for tests.
  uint32_t Holders() const {
    Block* b = block();
    return b ? b->refs.load(std::memory_order_relaxed) : 0;
  }

 private:
  struct Block {
    std::atomic<uint32_t> refs;
    T value;
  };
  static_assert(alignof(Block) >= 2, "the low bit of a block's address must be free");
  Block* block() const { return reinterpret_cast<Block*>(bits_ & ~uintptr_t{1}); }

  uintptr_t bits_ = 0;
};

using SharedText = Shared<std::string>;
using SharedDay = Shared<DayText>;

class ResultRow {
 public:
  ResultRow() = default;
  ResultRow(std::string name, SharedText location, uint64_t size, uint64_t lastWrite,
            SharedDay date, bool isFolder = false)
      : name_(std::move(name)),
        location_(std::move(location)),
        date_(std::move(date)),
        size_(size),
        lastWrite_(lastWrite) {
    date_.SetFlag(isFolder);
  }
  // A row from plain texts (tests, and rows nobody listed from a disk).
  ResultRow(std::string name, std::string location, uint64_t size, std::string date,
            uint64_t lastWrite = 0, int64_t day = 0, bool isFolder = false);

  const std::string& Name() const { return name_; }          // column 0 "File Name", no path
  const std::string& Location() const { return Text(location_); }  // column 1, ends in "\"
  uint64_t Size() const { return size_; }                     // column 2 "Size (B)", full size
  const std::string& Date() const { return date_ ? date_->text : Empty(); }  // column 3
  int64_t Day() const { return date_ ? date_->day : 0; }      // the date as a number
  uint64_t LastWrite() const { return lastWrite_; }           // FILETIME ticks, UTC
  bool IsFolder() const { return date_.Flag(); }

  // The row as one text, fields joined by ";": what the list's sorted style
  // compares.
  std::string Text() const;

  // The exact path of the listed item.
  std::string FullPath() const { return Location() + name_; }

  bool operator==(const ResultRow& o) const {
    return name_ == o.name_ && Location() == o.Location() && size_ == o.size_ &&
           Date() == o.Date() && Day() == o.Day() && lastWrite_ == o.lastWrite_ &&
           IsFolder() == o.IsFolder();
  }

 private:
  static const std::string& Empty();
  static const std::string& Text(const SharedText& s) { return s ? *s : Empty(); }

  std::string name_;
  SharedText location_;
  SharedDay date_;  // its flag bit: the row is a folder
  uint64_t size_ = 0;
  uint64_t lastWrite_ = 0;
};

static_assert(sizeof(void*) != 8 || sizeof(ResultRow) <= sizeof(std::string) + 32,
              "a row is its name and 32 bytes");

// Field k (0-based) of a row text split at every ";"; a field beyond the
// last ";" is empty.
std::string_view TextField(std::string_view text, int k);

// Byte count as shown on screen: "N kB" for N = bytes div 1024 when N > 0,
// otherwise "N B". No larger unit, no rounding.
std::string SizeText(int64_t bytes);

}  // namespace scourly
