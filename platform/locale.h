// Locale services: the local date of a file time in the short date format,
// and the order of a sorted list box.
#pragma once

#include <cstdint>
#include <string>

namespace scourly {

class Locale {
 public:
  virtual ~Locale() = default;

  // UTC FILETIME ticks to local FILETIME ticks (the platform's
  // FileTimeToLocalFileTime: the current bias, not the bias at that date).
  virtual uint64_t ToLocalFileTime(uint64_t utcTicks) = 0;

  // The system's short date text of the day holding `localTicks`. Any year
  // the FILETIME range can hold.
  virtual std::string ShortDate(uint64_t localTicks) = 0;

  // Compares two texts as a sorted list box (LBS_SORT) does when it places a
  // new entry: the user's locale, letter case ignored, otherwise the
  // platform's linguistic order. Negative, 0 (equal) or positive.
  virtual int CompareListText(const std::string& a, const std::string& b) = 0;

  // The sort key of a text under that comparison: comparing two keys byte by
  // byte (unsigned, a key before any longer key it begins) orders their texts
  // as CompareListText does, equal keys meaning equal texts. Sorting many
  // texts converts each once.
  virtual std::string ListSortKey(const std::string& text) = 0;
};

}  // namespace scourly
