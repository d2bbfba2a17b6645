// Local dates of file times, in the user's short date format; the sorted
// list box's comparison.
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

int Win32Locale::CompareListText(const std::string& a, const std::string& b) {
  // What a sorted list box uses to place an entry: CompareStringW under the
  // box's locale (the user's default) with NORM_IGNORECASE only, so hyphens
  // and apostrophes get the word-sort treatment. A failed comparison counts
  // as "less", as the list box takes it.
  std::wstring wa = Widen(a), wb = Widen(b);
  int result = CompareStringW(GetUserDefaultLCID(), NORM_IGNORECASE, wa.c_str(), -1, wb.c_str(),
                              -1);
  if (result == CSTR_EQUAL) return 0;
  if (result == CSTR_GREATER_THAN) return 1;
  return -1;
}

std::string Win32Locale::ListSortKey(const std::string& text) {
  // LCMapString's sort key under the same locale and flags orders texts as
  // CompareString does. The buffers are kept between calls: this runs once
  // for every row of a list that turns sorted.
  wide_.resize(text.size() + 1);  // UTF-16 never needs more units than UTF-8 has bytes
  int n = text.empty() ? 0
                       : MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                             wide_.data(), static_cast<int>(wide_.size()));
  const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
  const LCID lcid = GetUserDefaultLCID();
  if (key_.size() < 8 * static_cast<size_t>(n) + 64) key_.resize(8 * static_cast<size_t>(n) + 64);
  int bytes = LCMapStringW(lcid, flags, wide_.data(), n, reinterpret_cast<LPWSTR>(key_.data()),
                           static_cast<int>(key_.size()));
  if (bytes == 0) {  // a key longer than the guess: ask for its size
    int needed = LCMapStringW(lcid, flags, wide_.data(), n, nullptr, 0);
    if (needed <= 0) return {};
    key_.resize(needed);
    bytes = LCMapStringW(lcid, flags, wide_.data(), n, reinterpret_cast<LPWSTR>(key_.data()),
                         needed);
    if (bytes <= 0) return {};
  }
  return std::string(key_.data(), bytes - 1);  // without the terminating zero byte
}

}  // namespace scourly
