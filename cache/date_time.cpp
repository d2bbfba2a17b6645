#include "cache/date_time.h"

#include <cmath>

namespace scourly {
namespace {

constexpr int64_t kMsPerDay = 86400000;
constexpr int64_t kDaysFrom1601To1970 = 134774;

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

const int64_t kDateTimeEpoch = DaysFromCivil(1899, 12, 30);
// 10000-01-01: the first day the date-time value cannot hold.
const int64_t kDateTimeEnd = DaysFromCivil(10000, 1, 1) - kDateTimeEpoch;

CalendarTime FromDays(int64_t days1970, int64_t msOfDay) {
  CalendarTime t;
  CivilFromDays(days1970, t.year, t.month, t.day);
  t.dayOfWeek = static_cast<int>(((days1970 % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday
  t.hour = static_cast<int>(msOfDay / 3600000);
  t.minute = static_cast<int>(msOfDay / 60000 % 60);
  t.second = static_cast<int>(msOfDay / 1000 % 60);
  t.millisecond = static_cast<int>(msOfDay % 1000);
  return t;
}

void AppendNumber(std::string& out, int value, int minDigits) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < minDigits) out.append(minDigits - digits.size(), '0');
  out += digits;
}

// The first character of a UTF-8 text, whole.
std::string FirstCharacter(const std::string& text) {
  if (text.empty()) return {};
  size_t n = 1;
  while (n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) ++n;
  return text.substr(0, n);
}

}  // namespace

std::optional<CalendarTime> FileTimeToCalendar(uint64_t ticks) {
  if (ticks >> 63) return std::nullopt;
  const int64_t ms = static_cast<int64_t>(ticks / 10000);
  return FromDays(ms / kMsPerDay - kDaysFrom1601To1970, ms % kMsPerDay);
}

std::optional<double> CalendarToDateTime(const CalendarTime& t) {
  if (t.year < 1 || t.year > 9999) return std::nullopt;
  const double date = static_cast<double>(DaysFromCivil(t.year, t.month, t.day) - kDateTimeEpoch);
  const double time =
      static_cast<double>(t.hour * 3600000LL + t.minute * 60000LL + t.second * 1000LL +
                          t.millisecond) /
      static_cast<double>(kMsPerDay);
  // Before the epoch the fraction still counts forward from midnight, so it
  // is taken away from the (negative) day number.
  return date >= 0 ? date + time : date - time;
}

CalendarTime DecodeDateTime(double value) {
  const int64_t total = std::llround(value * static_cast<double>(kMsPerDay));
  return FromDays(total / kMsPerDay + kDateTimeEpoch, total % kMsPerDay);
}

std::string FormatPicture(const std::string& picture, const CalendarTime& t,
                          const DateTimeFormats& formats) {
  std::string out;
  size_t i = 0;
  while (i < picture.size()) {
    const char c = picture[i];
    if (c == '\'') {
      // Quoted text; two quotes stand for one.
      ++i;
      while (i < picture.size()) {
        if (picture[i] == '\'') {
          if (i + 1 < picture.size() && picture[i + 1] == '\'') {
            out += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        out += picture[i++];
      }
      continue;
    }
    size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    const int n = static_cast<int>(run);
    switch (c) {
      case 'd':
        if (n <= 2) AppendNumber(out, t.day, n);
        else out += n == 3 ? formats.shortDayNames[t.dayOfWeek] : formats.longDayNames[t.dayOfWeek];
        break;
      case 'M':
        if (n <= 2) AppendNumber(out, t.month, n);
        else out += n == 3 ? formats.shortMonthNames[t.month - 1] : formats.longMonthNames[t.month - 1];
        break;
      case 'y':
        if (n <= 2) AppendNumber(out, t.year % 100, n);
        else AppendNumber(out, t.year, 4);
        break;
      case 'g':
        break;  // era: the Gregorian calendar has one, and short dates leave it out
      case 'h': AppendNumber(out, t.hour % 12 == 0 ? 12 : t.hour % 12, n >= 2 ? 2 : 1); break;
      case 'H': AppendNumber(out, t.hour, n >= 2 ? 2 : 1); break;
      case 'm': AppendNumber(out, t.minute, n >= 2 ? 2 : 1); break;
      case 's': AppendNumber(out, t.second, n >= 2 ? 2 : 1); break;
      case 't': {
        const std::string& designator = t.hour < 12 ? formats.am : formats.pm;
        out += n == 1 ? FirstCharacter(designator) : designator;
        break;
      }
      default: out.append(picture, i, run); break;
    }
    i += run;
  }
  return out;
}

std::string DateTimeText(double value, const DateTimeFormats& formats) {
  if (!(value >= 0) || value >= static_cast<double>(kDateTimeEnd)) return {};
  const CalendarTime t = DecodeDateTime(value);
  std::string text = FormatPicture(formats.shortDate, t, formats);
  if (t.hour != 0 || t.minute != 0 || t.second != 0)
    text += ' ' + FormatPicture(formats.longTime, t, formats);
  return text;
}

}  // namespace scourly
