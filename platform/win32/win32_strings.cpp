// UTF-8 <-> UTF-16 at the boundary between the logic and the W functions.
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_util.h"

namespace scourly {

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string utf8(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                      nullptr, nullptr);
  return utf8;
}

std::wstring FileApiPath(const std::string& path) {
  // Folder paths must leave room for an 8.3 name (MAX_PATH - 12), so the
  // prefix is added a little before MAX_PATH.
  constexpr size_t kClassicLimit = MAX_PATH - 12;
  std::wstring wide = Widen(path);
  if (wide.size() < kClassicLimit) return wide;
  bool drive = wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\' &&
               ((wide[0] >= L'A' && wide[0] <= L'Z') || (wide[0] >= L'a' && wide[0] <= L'z'));
  if (drive) return L"\\\\?\\" + wide;
  bool unc = wide.size() > 2 && wide[0] == L'\\' && wide[1] == L'\\' && wide[2] != L'?' &&
             wide[2] != L'.';
  if (unc) return L"\\\\?\\UNC\\" + wide.substr(2);
  return wide;
}

std::wstring ModuleFolder() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {  // not cut short
      buffer.resize(n);
      break;
    }
    buffer.resize(buffer.size() * 2);
  }
  size_t slash = buffer.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : buffer.substr(0, slash + 1);
}

}  // namespace scourly
