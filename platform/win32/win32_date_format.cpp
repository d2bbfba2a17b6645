#include "platform/win32/win32_date_format.h"

#include "platform/win32/win32_platform.h"

namespace scourly {
namespace {

std::string LocaleText(LCTYPE type) {
  int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, nullptr, 0);
  if (n <= 0) return {};
  std::wstring text(n, L'\0');
  n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text.data(), n);
  if (n <= 0) return {};
  text.resize(n - 1);  // the count includes the terminating zero
  return Narrow(text);
}

}  // namespace

std::optional<uint64_t> Win32DateFormat::LocalFileTime(uint64_t utcTicks) {
  FILETIME utc, local;
  utc.dwLowDateTime = static_cast<DWORD>(utcTicks);
  utc.dwHighDateTime = static_cast<DWORD>(utcTicks >> 32);
  if (!FileTimeToLocalFileTime(&utc, &local)) return std::nullopt;
  return (uint64_t{local.dwHighDateTime} << 32) | local.dwLowDateTime;
}

DateTimeFormats Win32DateFormat::Formats() {
  DateTimeFormats f;
  f.shortDate = LocaleText(LOCALE_SSHORTDATE);
  f.longTime = LocaleText(LOCALE_STIMEFORMAT);
  f.am = LocaleText(LOCALE_S1159);
  f.pm = LocaleText(LOCALE_S2359);
  for (int m = 0; m < 12; ++m) {
    f.shortMonthNames[m] = LocaleText(LOCALE_SABBREVMONTHNAME1 + m);
    f.longMonthNames[m] = LocaleText(LOCALE_SMONTHNAME1 + m);
  }
  // The locale counts days from Monday (DAYNAME1); the formats from Sunday.
  for (int d = 0; d < 7; ++d) {
    const int fromMonday = (d + 6) % 7;
    f.shortDayNames[d] = LocaleText(LOCALE_SABBREVDAYNAME1 + fromMonday);
    f.longDayNames[d] = LocaleText(LOCALE_SDAYNAME1 + fromMonday);
  }
  return f;
}

}  // namespace scourly
