// GetFileVersionInfoSizeW, GetFileVersionInfoW and VerQueryValueW on the
// running executable (or a file a test names).
#include "platform/win32/win32_version.h"

#include <windows.h>

#include <vector>

#include "platform/win32/win32_platform.h"

namespace scourly {
namespace {

std::wstring RunningExecutable() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);  // cut short: ask again with more room
  }
}

}  // namespace

std::optional<ProductVersion> Win32VersionInfo::ProgramProductVersion() {
  const std::wstring file = path_.empty() ? RunningExecutable() : Widen(path_);
  if (file.empty()) return std::nullopt;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<unsigned char> block(size);
  if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data())) return std::nullopt;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
      length < sizeof(VS_FIXEDFILEINFO) || fixed->dwSignature != VS_FFI_SIGNATURE)
    return std::nullopt;
  return ProductVersion{fixed->dwProductVersionMS, fixed->dwProductVersionLS};
}

}  // namespace scourly
