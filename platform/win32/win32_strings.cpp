// UTF-8 <-> UTF-16 at the boundary between the logic and the W functions.
#include "platform/win32/win32_paths.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_util.h"
#include "platform/wtf8.h"

namespace scourly {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wide strings");

// Names travel as WTF-8, so a name with an unpaired surrogate comes back as
// the same UTF-16 units; MultiByteToWideChar would replace it with U+FFFD.
std::wstring Widen(const std::string& utf8) {
  std::u16string units = wtf8::ToUtf16Lenient(utf8);
  return std::wstring(units.begin(), units.end());
}

std::string Narrow(const std::wstring& wide) {
  return wtf8::FromUtf16(
      std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

bool WidenExact(const std::string& text, std::wstring& wide) {
  std::u16string units;
  if (!wtf8::ToUtf16(text, units)) return false;
  wide.assign(units.begin(), units.end());
  return true;
}

std::wstring FileApiPath(const std::string& path) {
  std::wstring wide;
  // A path that is not exact text names no file: an empty path fails every
  // call instead of reaching a file with a similar name.
  if (!WidenExact(path, wide)) return {};
  return win32::ApiPath(wide);
}

}  // namespace scourly
