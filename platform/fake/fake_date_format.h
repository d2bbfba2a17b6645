// Local time with a settable bias, times the platform refuses to convert, and
// settable formats (by default "dd.MM.yyyy" and "HH:mm:ss", English names).
#pragma once

#include <cstdint>
#include <set>

#include "platform/date_format.h"

namespace scourly::fake {

class FakeDateFormat : public DateFormat {
 public:
  FakeDateFormat();

  std::optional<uint64_t> LocalFileTime(uint64_t utcTicks) override {
    if (refused.count(utcTicks)) return std::nullopt;
    return utcTicks + static_cast<uint64_t>(biasTicks);
  }
  DateTimeFormats Formats() override {
    ++formatReads;
    return formats;
  }

  int64_t biasTicks = 0;
  std::set<uint64_t> refused;  // UTC times whose local conversion fails
  DateTimeFormats formats;
  int formatReads = 0;
};

}  // namespace scourly::fake
