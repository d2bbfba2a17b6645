// Moments as the program keeps them: FILETIME ticks turned into calendar
// fields and into the date-time value of the original framework (a double
// counting days since 30 December 1899, its fraction the time of day), and
// that value turned into text with the user's formats.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/date_format.h"

namespace scourly {

struct CalendarTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  int dayOfWeek = 6;  // 0 = Sunday

  bool operator==(const CalendarTime&) const = default;
};

// FileTimeToSystemTime: exact Gregorian fields of FILETIME ticks (100 ns
// since 1601-01-01). Nothing for ticks the platform refuses (the top bit set).
std::optional<CalendarTime> FileTimeToCalendar(uint64_t ticks);

// The date-time value of a calendar moment; nothing outside the years 1 to
// 9999 the value type can hold.
std::optional<double> CalendarToDateTime(const CalendarTime& t);

// The calendar moment of a non-negative date-time value, to the millisecond.
CalendarTime DecodeDateTime(double value);

// Expands a format picture (GetDateFormat / GetTimeFormat rules: d dd ddd
// dddd, M MM MMM MMMM, y yy yyyy, h hh H HH, m mm, s ss, t tt, 'quoted'
// text; anything else stands for itself).
std::string FormatPicture(const std::string& picture, const CalendarTime& t,
                          const DateTimeFormats& formats);

// The text of a date-time value: empty when negative; otherwise the date in
// the short date format, followed, when the hour, minute or second is not
// zero, by a blank and the time in the long time format.
std::string DateTimeText(double value, const DateTimeFormats& formats);

}  // namespace scourly
