// The tray icon: present from program start to end; a double click on it
// shows the main window.
#include "ui/main/main_window.h"

#include <shellapi.h>

#include "lists/app_title.h"
#include "ui/main/gui_ids.h"

namespace scourly::gui {

void MainWindow::AddTrayIcon() {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = hwnd();
  nid.uID = 1;
  nid.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  nid.uCallbackMessage = kMsgTrayIcon;
  nid.hIcon = smallIcon_.get();
  lstrcpynW(nid.szTip, Widen(kAppTitle).c_str(), ARRAYSIZE(nid.szTip));
  trayAdded_ = Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
}

void MainWindow::RemoveTrayIcon() {
  if (!trayAdded_) return;
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = hwnd();
  nid.uID = 1;
  Shell_NotifyIconW(NIM_DELETE, &nid);
  trayAdded_ = false;
}

}  // namespace scourly::gui
