#include "ui/controls/shell_form.h"

#include "ui/controls/control_ids.h"

namespace scourly::gui {

void ShellForm::Create(HWND owner, const wchar_t* caption, SIZE client96, DWORD style) {
  owner_ = owner;
  Register(kShellFormClass, GetSysColorBrush(COLOR_BTNFACE));
  Dpi dpi(Dpi::OfWindow(owner));
  RECT rc{0, 0, dpi(client96.cx), dpi(client96.cy)};
  AdjustWindowRectEx(&rc, style, FALSE, WS_EX_DLGMODALFRAME);
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  Window::Create(WS_EX_DLGMODALFRAME, kShellFormClass, caption, style, x, y, w, h, owner, nullptr);
}

void ShellForm::Show() {
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
}

void ShellForm::ShowModal() {
  if (!hwnd() || modal_) return;
  modal_ = true;
  EnableWindow(owner_, FALSE);
  Show();
  MSG msg;
  while (modal_ && IsWindowVisible(hwnd())) {
    int got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // keep the quit for the main loop
      break;
    }
    if (!IsDialogMessageW(hwnd(), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  modal_ = false;
  EnableWindow(owner_, TRUE);
  SetForegroundWindow(owner_);
}

void ShellForm::Hide() {
  ShowWindow(hwnd(), SW_HIDE);
  modal_ = false;
}

void ShellForm::Close() { Hide(); }

LRESULT ShellForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) {  // the dialogs live for the whole run: closing hides
    Hide();
    return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace scourly::gui
