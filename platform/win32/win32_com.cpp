// The COM owners of com_ptr.h.
#include <cstdio>

#include "lists/app_error.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/win32_platform.h"

namespace scourly {

std::string OleErrorText(HRESULT hr) {
  wchar_t* text = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message;
  if (text) {
    message.assign(text, length);
    LocalFree(text);
  }
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L' ' || message.back() == L'.'))
    message.pop_back();
  if (!message.empty()) return Narrow(message);
  char fallback[32];
  std::snprintf(fallback, sizeof fallback, "OLE error %.8lX", static_cast<unsigned long>(hr));
  return fallback;
}

ComApartment::ComApartment() {
  HRESULT hr = CoInitialize(nullptr);
  if (FAILED(hr)) throw AppError(OleErrorText(hr));
}

ComApartment::~ComApartment() { CoUninitialize(); }

}  // namespace scourly
