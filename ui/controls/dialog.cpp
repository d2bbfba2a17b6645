#include "ui/controls/dialog.h"
#include "ui/controls/scoped.h"

#include <commctrl.h>

#include <exception>

namespace scourly::gui {
namespace {

// The window whose message boxes the dialogs' handlers raise: the innermost
// dialog handling a message. Null: the main window's, as Win32Ui was told.
HWND g_boxOwner = nullptr;

// Message boxes and error boxes raised while a dialog handles a message are
// owned by that dialog, so a box over a modal dialog is modal to it too.
class ScopedBoxOwner {
 public:
  ScopedBoxOwner(Win32Ui& ui, HWND dialog, HWND mainWindow)
      : ui_(ui), previous_(g_boxOwner), mainWindow_(mainWindow) {
    g_boxOwner = dialog;
    ui_.SetOwner(dialog);
  }
  ~ScopedBoxOwner() {
    g_boxOwner = previous_;
    ui_.SetOwner(previous_ ? previous_ : mainWindow_);
  }
  ScopedBoxOwner(const ScopedBoxOwner&) = delete;
  ScopedBoxOwner& operator=(const ScopedBoxOwner&) = delete;

 private:
  Win32Ui& ui_;
  HWND previous_;
  HWND mainWindow_;
};

struct ThreadWindows {
  HWND except;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM param) {
  auto* windows = reinterpret_cast<ThreadWindows*>(param);
  if (hwnd != windows->except && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
    windows->found.push_back(hwnd);
  return TRUE;
}

// Windows 10 rescales a dialog by itself when the DPI changes; these dialogs
// place their controls in pixels and do it themselves.
void TakeOverDpiScaling(HWND hwnd) {
  using Fn = BOOL(WINAPI*)(HWND, int, int);
  static auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior")));
  constexpr int kDisableAll = 1;  // DDC_DISABLE_ALL
  if (fn) fn(hwnd, kDisableAll, kDisableAll);
}

}  // namespace

Dialog::~Dialog() {
  if (modal_) EndModal();
  if (hwnd_) DestroyWindow(hwnd_);
}

bool Dialog::Create(HWND owner, int templateId) {
  owner_ = owner;
  CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner,
                     &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
  return hwnd_ != nullptr;
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Dialog* self;
  if (msg == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lp);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, DWLP_USER, lp);
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  // Messages before WM_INITDIALOG (WM_SETFONT) find no object yet.
  if (!self) return FALSE;
  INT_PTR result = FALSE;
  {
    ScopedBoxOwner boxes(self->ui_, hwnd, self->owner_);
    // Nothing may unwind through the dialog manager.
    RunReportingErrors([&] { result = self->Dispatch(msg, wp, lp); },
                       [self](const std::string& text) { self->ui_.ShowError(text); });
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

INT_PTR Dialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  INT_PTR result = 0;
  switch (msg) {
    case WM_INITDIALOG:
      TakeOverDpiScaling(hwnd_);
      SetFonts(Dpi::OfWindow(hwnd_));
      OnInit();
      ApplyDpi();
      Sync();
      return FALSE;  // the focus is set when the dialog is shown
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return TRUE;
    case WM_NOTIFY: {
      LRESULT notifyResult = 0;
      if (OnNotify(*reinterpret_cast<const NMHDR*>(lp), notifyResult)) {
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, notifyResult);
        return TRUE;
      }
      return FALSE;
    }
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      SetFonts(HIWORD(wp));
      ApplyDpi();
      Sync();
      InvalidateRect(hwnd_, nullptr, TRUE);
      return TRUE;
    }
    default:
      if (OnMessage(msg, wp, lp, result)) return result;
      return FALSE;
  }
}

void Dialog::SetFonts(int dpi) {
  dpi_ = Dpi(dpi);
  font_ = MakeFont(L"MS Sans Serif", dpi_.FontHeight(8));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

void Dialog::Run(const std::function<void()>& handler) {
  ScopedBoxOwner boxes(ui_, hwnd_, owner_);
  RunReportingErrors(handler, [this](const std::string& text) { ui_.ShowError(text); });
  Sync();
}

void Dialog::Show() {
  if (!hwnd_) return;
  BeforeShow();
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  BringWindowToTop(hwnd_);
  AfterShow();
}

void Dialog::ShowModal() {
  if (!hwnd_ || modal_) return;
  modal_ = true;
  activeBeforeModal_ = GetActiveWindow();
  ThreadWindows windows{hwnd_, {}};
  EnumThreadWindows(GetCurrentThreadId(), &CollectEnabled, reinterpret_cast<LPARAM>(&windows));
  disabledByModal_ = std::move(windows.found);
  for (HWND h : disabledByModal_) EnableWindow(h, FALSE);
  Show();
  MSG msg;
  while (modal_ && IsWindowVisible(hwnd_)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop
      break;
    }
    if (!IsDialogMessageW(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (modal_) EndModal();
}

// The other windows are enabled again before the dialog hides, so that the
// activation returns to the window that opened it, not to another program.
void Dialog::EndModal() {
  modal_ = false;
  for (HWND h : disabledByModal_) {
    if (IsWindow(h)) EnableWindow(h, TRUE);
  }
  disabledByModal_.clear();
  if (activeBeforeModal_ && IsWindow(activeBeforeModal_)) SetActiveWindow(activeBeforeModal_);
  activeBeforeModal_ = nullptr;
}

void Dialog::Hide() {
  if (!hwnd_) return;
  if (modal_) EndModal();
  ShowWindow(hwnd_, SW_HIDE);
}

void Dialog::Place(int id, int x96, int y96, int w96, int h96, POINT origin) {
  MoveWindow(Item(id), origin.x + dpi_(x96), origin.y + dpi_(y96), dpi_(w96), dpi_(h96), TRUE);
}

SIZE Dialog::TextSize(int id) const {
  HWND label = Item(id);
  std::wstring text = WindowText(label);
  ScopedGetDC dc(label);
  ScopedSelectObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc.get(), &tm);
  size.cy = tm.tmHeight;
  return size;
}

void Dialog::SizeClient(int w96, int h96) {
  RECT rc{0, 0, dpi_(w96), dpi_(h96)};
  AdjustWindowRectEx(&rc, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
  Centre(rc.right - rc.left, rc.bottom - rc.top);
}

void Dialog::SizeOuter(int w96, int h96) { Centre(dpi_(w96), dpi_(h96)); }

void Dialog::Centre(int w, int h) {
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - w) / 2,
               work.top + (work.bottom - work.top - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Dialog::FocusItem(int id) {
  SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
}

}  // namespace scourly::gui
