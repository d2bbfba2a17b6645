// One entry of a result list: four fields kept apart, so that a name holding
// the column delimiter still opens and deletes the file that was listed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace scourly {

struct ResultRow {
  std::string name;      // column 0 "File Name", no path
  std::string location;  // column 1 "Location", always ends in "\"
  uint64_t size = 0;     // column 2 "Size (B)", the full size
  std::string date;      // column 3 "Time Stamp", short date

  // The row as one text, fields joined by ";". This is what the list shows,
  // compares and sorts.
  std::string Text() const;

  // The exact path of the listed item.
  std::string FullPath() const { return location + name; }

  bool operator==(const ResultRow&) const = default;
};

// Field k (0-based) of a row text split at every ";"; a field beyond the
// last ";" is empty.
std::string_view TextField(std::string_view text, int k);

// Byte count as shown on screen: "N kB" for N = bytes div 1024 when N > 0,
// otherwise "N B". No larger unit, no rounding.
std::string SizeText(int64_t bytes);

}  // namespace scourly
