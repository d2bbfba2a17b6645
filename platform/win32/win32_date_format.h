// Local time and the user's date and time formats from the locale.
#pragma once

#include <windows.h>

#include "platform/date_format.h"

namespace scourly {

class Win32DateFormat : public DateFormat {
 public:
  std::optional<uint64_t> LocalFileTime(uint64_t utcTicks) override;
  DateTimeFormats Formats() override;
};

}  // namespace scourly
