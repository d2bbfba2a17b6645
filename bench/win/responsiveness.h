// How long a window goes without answering: a thread sends it WM_NULL again
// and again (from this process or another) and keeps the longest time
// between two answers.
#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>

namespace scourly::bench {

class ResponsivenessProbe {
 public:
  explicit ResponsivenessProbe(HWND window) : window_(window) {
    thread_ = CreateThread(
        nullptr, 0,
        [](void* self) -> DWORD {
          static_cast<ResponsivenessProbe*>(self)->Run();
          return 0;
        },
        this, 0, nullptr);
  }
  ~ResponsivenessProbe() { Stop(); }
  ResponsivenessProbe(const ResponsivenessProbe&) = delete;
  ResponsivenessProbe& operator=(const ResponsivenessProbe&) = delete;

  // The longest gap, in seconds. The window answers once more before the
  // probe ends, so a gap still open at the end is counted too. `ownThread`:
  // the window belongs to the calling thread, which must then handle the
  // probe's last message itself.
  double Stop(bool ownThread = false) {
    StopProbe(ownThread);
    return longest_;
  }

  // Seconds from the probe's start to the end of its longest gap: where in
  // the work the window stopped answering.
  double longestEndedAt() const { return longestEnd_; }

 private:
  void StopProbe(bool ownThread) {
    if (!thread_) return;
    const int answered = answers_;
    auto start = std::chrono::steady_clock::now();
    while (answers_ == answered &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
      if (ownThread) {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // handles sent messages
      }
      Sleep(1);
    }
    stop_ = true;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
  }

  void Run() {
    const auto start = std::chrono::steady_clock::now();
    auto last = start;
    while (!stop_) {
      DWORD_PTR answer = 0;
      if (SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_BLOCK, 50, &answer)) {
        auto now = std::chrono::steady_clock::now();
        const double gap = std::chrono::duration<double>(now - last).count();
        if (gap > longest_) {
          longest_ = gap;
          longestEnd_ = std::chrono::duration<double>(now - start).count();
        }
        last = now;
        ++answers_;
        Sleep(5);
      }
    }
  }

  HWND window_;
  HANDLE thread_ = nullptr;
  std::atomic<bool> stop_{false};
  std::atomic<int> answers_{0};
  double longest_ = 0;
  double longestEnd_ = 0;
};

}  // namespace scourly::bench
