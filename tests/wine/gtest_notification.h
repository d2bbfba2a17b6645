// GoogleTest's Notification over a Win32 event. Debian's MinGW-w64 compiler
// uses the win32 thread model, whose C++ library (GCC 12) has no std::mutex
// or std::condition_variable, which GoogleTest's own version needs. Forced
// into every GoogleTest translation unit by cmake/win_backend.cmake.
#pragma once

#include <windows.h>

namespace testing {
namespace internal {

class Notification {
 public:
  Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace internal
}  // namespace testing
