#include "tests/support/box_answerer.h"

namespace scourly::support {
namespace {

BOOL CALLBACK CollectDialogs(HWND hwnd, LPARAM param) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[32] = {};
  GetClassNameW(hwnd, cls, 32);
  if (pid == GetCurrentProcessId() && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(hwnd))
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  return TRUE;
}

// The ids message boxes give their text and icon controls.
constexpr int kTextId = 0xFFFF;
constexpr int kIconId = 0x0440;

}  // namespace

std::vector<HWND> OpenDialogs() {
  std::vector<HWND> open;
  EnumWindows(CollectDialogs, reinterpret_cast<LPARAM>(&open));
  return open;
}

BoxAnswerer::BoxAnswerer(int button, DWORD timeoutMs) : button_(button), timeoutMs_(timeoutMs) {
  thread_ = CreateThread(nullptr, 0, &BoxAnswerer::Run, this, 0, nullptr);
}

BoxAnswerer::~BoxAnswerer() { Wait(); }

void BoxAnswerer::Wait() {
  if (!thread_) return;
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  thread_ = nullptr;
}

DWORD WINAPI BoxAnswerer::Run(void* param) {
  auto* self = static_cast<BoxAnswerer*>(param);
  for (DWORD waited = 0; waited < self->timeoutMs_; waited += 20) {
    std::vector<HWND> open = OpenDialogs();
    if (!open.empty()) {
      HWND box = open.front();
      wchar_t buffer[1024] = {};
      GetWindowTextW(box, buffer, 1024);
      self->caption = buffer;
      buffer[0] = 0;
      GetDlgItemTextW(box, kTextId, buffer, 1024);
      self->text = buffer;
      HWND iconControl = GetDlgItem(box, kIconId);
      if (iconControl && IsWindowVisible(iconControl))
        self->icon = reinterpret_cast<HICON>(SendMessageW(iconControl, STM_GETICON, 0, 0));
      self->owner = GetWindow(box, GW_OWNER);
      self->answered = true;
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(self->button_, BN_CLICKED), 0);
      return 0;
    }
    Sleep(20);
  }
  return 0;
}

}  // namespace scourly::support
