// Answers the next message box or dialog of this process from a second
// thread, the way a user would, and records what it showed.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

namespace scourly::support {

// The visible dialog windows (message boxes among them) of this process.
std::vector<HWND> OpenDialogs();

class BoxAnswerer {
 public:
  // Presses `button` (IDOK, IDYES, IDNO...) on the first dialog window of this
  // process that appears within `timeoutMs`.
  explicit BoxAnswerer(int button, DWORD timeoutMs = 10000);
  ~BoxAnswerer();  // waits for the thread
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  // Valid after Wait() or destruction.
  void Wait();
  std::atomic<bool> answered{false};
  std::wstring caption;
  std::wstring text;
  HICON icon = nullptr;  // the box's icon, null when it has none
  HWND owner = nullptr;

 private:
  static DWORD WINAPI Run(void* self);
  int button_;
  DWORD timeoutMs_;
  HANDLE thread_ = nullptr;
};

}  // namespace scourly::support
