// Local dates of file times, in the user's short date format.
#include "platform/win32/win32_platform.h"

namespace scourly {
namespace {

FILETIME ToFileTime(uint64_t ticks) {
  FILETIME t;
  t.dwLowDateTime = static_cast<DWORD>(ticks);
  t.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return t;
}

}  // namespace

uint64_t Win32Locale::ToLocalFileTime(uint64_t utcTicks) {
  FILETIME utc = ToFileTime(utcTicks), local;
  if (!FileTimeToLocalFileTime(&utc, &local)) return utcTicks;
  return (uint64_t{local.dwHighDateTime} << 32) | local.dwLowDateTime;
}

std::string Win32Locale::ShortDate(uint64_t localTicks) {
  // Through SYSTEMTIME rather than a DOS date, so every year from 1601 on has
  // a date (a DOS date stops at 1980 and 2107).
  FILETIME t = ToFileTime(localTicks);
  SYSTEMTIME st;
  if (!FileTimeToSystemTime(&t, &st)) return {};  // beyond what a FILETIME may hold
  int n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, nullptr, 0);
  if (n <= 0) return {};
  std::wstring text(n, L'\0');
  n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text.data(), n);
  if (n <= 0) return {};
  text.resize(n - 1);  // the count includes the terminating null
  return Narrow(text);
}

}  // namespace scourly
