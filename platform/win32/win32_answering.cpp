#include "platform/win32/win32_answering.h"

#include <windows.h>

#include <exception>
#include <vector>

#include "platform/win32/win32_util.h"

namespace scourly {
namespace {

struct Job {
  const std::function<void()>* work;
  DWORD windowThread;
  bool shareInput;
  std::exception_ptr error;
};

DWORD WINAPI RunJob(void* param) {
  Job& job = *static_cast<Job*>(param);
  const bool attached =
      job.shareInput && AttachThreadInput(GetCurrentThreadId(), job.windowThread, TRUE);
  try {
    (*job.work)();
  } catch (...) {
    job.error = std::current_exception();
  }
  if (attached) AttachThreadInput(GetCurrentThreadId(), job.windowThread, FALSE);
  return 0;
}

BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM param) {
  if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  return TRUE;
}

// The thread's windows refuse input for as long as this lives.
class DisabledWindows {
 public:
  DisabledWindows() : focus_(GetFocus()) {
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&windows_));
    for (HWND hwnd : windows_) EnableWindow(hwnd, FALSE);
  }
  ~DisabledWindows() {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
      if (IsWindow(*it)) EnableWindow(*it, TRUE);
    }
    // A disabled window loses the keyboard focus; the control that had it
    // gets it back, as after a modal dialog.
    if (focus_ && IsWindow(focus_) && GetFocus() != focus_) SetFocus(focus_);
  }
  DisabledWindows(const DisabledWindows&) = delete;
  DisabledWindows& operator=(const DisabledWindows&) = delete;

 private:
  HWND focus_;
  std::vector<HWND> windows_;
};

// Handles what may run while the work goes on, and leaves the rest queued.
void AnswerPending() {
  MSG msg;
  // Sent messages are handled inside every PeekMessage call.
  while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
  }
  while (PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
  }
  while (PeekMessageW(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE)) {
  }
  // Bounded: a window that never validates itself must not keep us here.
  for (int i = 0; i < 64 && PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE); ++i)
    DispatchMessageW(&msg);
  for (int i = 0; i < 64 && PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
    DispatchMessageW(&msg);
}

}  // namespace

void RunAnswering(const std::function<void()>& work, bool shareInput) {
  Job job{&work, GetCurrentThreadId(), shareInput, nullptr};
  DisabledWindows disabled;
  UniqueHandle thread(CreateThread(nullptr, 0, RunJob, &job, 0, nullptr));
  if (!thread.valid()) {
    work();  // no thread to be had: the work still gets done, here
    return;
  }
  const HANDLE done = thread.get();
  for (;;) {
    DWORD woke = MsgWaitForMultipleObjectsEx(1, &done, INFINITE,
                                             QS_INPUT | QS_PAINT | QS_TIMER | QS_SENDMESSAGE, 0);
    if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) break;
    AnswerPending();
  }
  // Also when the wait itself failed: the job lives on this stack.
  WaitForSingleObject(done, INFINITE);
  // Wine answers sent messages inside the wait itself, so the work can end
  // before the loop looked at the queue again: input given meanwhile must
  // not reach the windows as a command once they take commands again.
  AnswerPending();
  if (job.error) std::rethrow_exception(job.error);
}

}  // namespace scourly
