#include "ui/main/main_window.h"

#include "ui/controls/focus_order.h"
#include "ui/controls/probe.h"
#include "ui/main/gui_ids.h"

namespace scourly::gui {

MainWindow::MainWindow(TMainForm& form, Win32Ui& ui) : form_(form), ui_(ui) {}

MainWindow::~MainWindow() {
  RemoveTrayIcon();
  if (hwnd()) DestroyWindow(hwnd());
}

void MainWindow::Run(const std::function<void()>& handler) {
  RunReportingErrors(handler, [this](const std::string& text) { ui_.ShowError(text); });
  Sync();
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (created_) {
        Layout();
        ResizeFromModel();
      }
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_NOTIFY: {
      LRESULT result = 0;
      bool handled = false;
      OnNotify(*reinterpret_cast<const NMHDR*>(lp), result, handled);
      if (handled) return result;
      break;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (item->CtlType != ODT_MENU) break;
      item->itemWidth = images_.size() + dpi_(4);
      item->itemHeight = images_.size() + dpi_(2);
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item->CtlType != ODT_MENU) break;
      DrawMenuPicture(*item);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_SETCURSOR:
      if (ui_.hourglass()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      ApplyDpi(HIWORD(wp));
      SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case kMsgTrayIcon:
      if (LOWORD(lp) == WM_LBUTTONDBLCLK) Run([this] { form_.TrayIconDblClick(); });
      return 0;
    case kMsgGetMenuCaption:
      return MenuCaption(static_cast<int>(wp));
    case kMsgGetMenuEnabled:
      return MenuEnabled(static_cast<int>(wp));
    case kMsgProbeBuffer:
      return reinterpret_cast<LRESULT>(ProbeBuffer());
    case kMsgSettleMark:
      settleMark_ = lp;
      return 0;
    case kMsgSettleMarkRead:
      return settleMark_;
    case kMsgNextTabStop:
      return reinterpret_cast<LRESULT>(NextTabStop(reinterpret_cast<HWND>(lp), wp != 0));
    case kMsgNextPage:
      TurnPage(wp != 0);
      return 0;
    case WM_ACTIVATE:
      // Coming back, the focus returns where it was (WM_SETFOCUS below).
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd(), focus)) lastFocus_ = focus;
      }
      break;
    case WM_SETFOCUS:
      if (lastFocus_ && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_) &&
          IsWindowEnabled(lastFocus_) && IsChild(hwnd(), lastFocus_)) {
        SetFocus(lastFocus_);
      } else {
        FocusPage();
      }
      return 0;
    case WM_CLOSE: {
      bool mayClose = true;
      Run([this, &mayClose] { mayClose = form_.FormCloseQuery(); });
      if (mayClose) DestroyWindow(hwnd());
      return 0;
    }
    case WM_DESTROY:
      RemoveTrayIcon();
      created_ = false;
      ui_.SetBeforePump(nullptr);
      form_.view = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      // Explorer started again: the notification area is new and empty.
      if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
        trayAdded_ = false;
        AddTrayIcon();
        return 0;
      }
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

// ---- FormView ----

void MainWindow::ShowFirst() {
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  UpdateWindow(hwnd());
  shownOnce_ = true;
  Run([this] { form_.FormShow(); });
}

void MainWindow::Show() {
  const bool wasHidden = !IsWindowVisible(hwnd());
  ShowWindow(hwnd(), IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(hwnd());
  if (wasHidden && shownOnce_) Run([this] { form_.FormShow(); });
}

void MainWindow::Hide() { ShowWindow(hwnd(), SW_HIDE); }

void MainWindow::Close() { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

}  // namespace scourly::gui
