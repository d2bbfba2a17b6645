#include "platform/win32/win32_console.h"

#include <algorithm>
#include <string>

#include "platform/win32/win32_platform.h"

namespace scourly {

Win32Console::Win32Console() : out_(Inherited(STD_OUTPUT_HANDLE)), err_(Inherited(STD_ERROR_HANDLE)) {
  if (out_.handle && err_.handle) return;
  // ERROR_ACCESS_DENIED: attached to a console already.
  if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED) return;
  parentConsole_ = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (parentConsole_ == INVALID_HANDLE_VALUE) return;
  const Stream console{parentConsole_, true, false};
  if (!out_.handle) out_ = console;
  if (!err_.handle) err_ = console;
}

Win32Console::~Win32Console() {
  if (parentConsole_ != INVALID_HANDLE_VALUE) CloseHandle(parentConsole_);
}

Win32Console::Stream Win32Console::Inherited(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  if (!handle || handle == INVALID_HANDLE_VALUE) return {};
  const DWORD type = GetFileType(handle);
  if (type == FILE_TYPE_UNKNOWN) return {};
  DWORD mode = 0;
  return {handle, GetConsoleMode(handle, &mode) != FALSE, type == FILE_TYPE_DISK};
}

void Win32Console::Write(const Stream& stream, std::string_view text) {
  if (!stream.handle) return;
  if (stream.console) {
    // The console shows every letter as UTF-16, whatever its code page.
    const std::wstring wide = Widen(std::string(text));
    for (size_t done = 0; done < wide.size();) {
      DWORD part = static_cast<DWORD>(std::min<size_t>(wide.size() - done, 16 * 1024));
      DWORD written = 0;
      if (!WriteConsoleW(stream.handle, wide.data() + done, part, &written, nullptr) || !written)
        return;
      done += written;
    }
    return;
  }
  for (size_t done = 0; done < text.size();) {
    DWORD part = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(stream.handle, text.data() + done, part, &written, nullptr) || !written) return;
    done += written;
  }
}

}  // namespace scourly
