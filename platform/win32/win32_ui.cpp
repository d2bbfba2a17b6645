// Message boxes, the hourglass and message pumping on the UI thread.
#include "platform/win32/win32_answering.h"
#include "platform/win32/win32_platform.h"

namespace scourly {

MsgResult Win32Ui::ShowMessage(const std::string& text, const std::string& caption,
                              MsgButtons buttons, MsgIcon icon) {
  UINT flags = buttons == MsgButtons::kYesNo ? MB_YESNO : MB_OK;
  if (icon == MsgIcon::kInformation) flags |= MB_ICONINFORMATION;
  if (icon == MsgIcon::kError) flags |= MB_ICONERROR;
  // Without an owner the box must still block the whole program.
  if (!owner_) flags |= MB_TASKMODAL;
  // The box runs a message loop of its own, in which the windows repaint:
  // they must show the models as they are now, not rows already gone.
  if (beforePump_) beforePump_();
  int answer = ::MessageBoxW(owner_, Widen(text).c_str(), Widen(caption).c_str(), flags);
  switch (answer) {
    case IDYES:
      return MsgResult::kYes;
    case IDNO:
      return MsgResult::kNo;
    default:
      return MsgResult::kOk;
  }
}

void Win32Ui::ShowError(const std::string& text) {
  ShowMessage(text, "Scourly", MsgButtons::kOk, MsgIcon::kError);
}

void Win32Ui::SetHourglass(bool on) {
  hourglass_ = on;
  // The main window answers WM_SETCURSOR from hourglass(), so the cursor stays
  // as set here while the mouse moves over it.
  SetCursor(LoadCursorW(nullptr, on ? IDC_WAIT : IDC_ARROW));
}

void Win32Ui::PumpMessages() {
  if (beforePump_) beforePump_();
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave it for the application's own message loop, which ends the run.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (filter_ && filter_(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Win32Ui::RunWhileAnswering(const std::function<void()>& work) {
  // The windows repaint meanwhile: they must show the models as they are.
  if (beforePump_) beforePump_();
  RunAnswering(work, false);
}

}  // namespace scourly
