// Local time and the user's date and time formats, for texts that show a
// moment (a date with its time of day) rather than a file's day.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace scourly {

// The user's formats as the locale gives them: format pictures (as for
// GetDateFormat and GetTimeFormat: "dd/MM/yyyy", "h:mm:ss tt", quoted
// literals) and the names they may ask for.
struct DateTimeFormats {
  std::string shortDate;  // LOCALE_SSHORTDATE
  std::string longTime;   // LOCALE_STIMEFORMAT
  std::string am, pm;     // LOCALE_S1159, LOCALE_S2359
  std::array<std::string, 12> shortMonthNames, longMonthNames;  // January first
  std::array<std::string, 7> shortDayNames, longDayNames;       // Sunday first
};

class DateFormat {
 public:
  virtual ~DateFormat() = default;

  // FileTimeToLocalFileTime: UTC FILETIME ticks to local ticks; nothing when
  // the platform refuses the conversion.
  virtual std::optional<uint64_t> LocalFileTime(uint64_t utcTicks) = 0;

  // The current user's formats.
  virtual DateTimeFormats Formats() = 0;
};

}  // namespace scourly
