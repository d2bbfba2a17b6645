// The "Web Browsers" page: the three check boxes "Cache", "Cookies" and
// "History" in a row at the top, and below them ListBox6, a result list like
// the file tabs' (created with the others in main_window_create.cpp).
#include <algorithm>

#include "ui/main/gui_ids.h"
#include "ui/main/main_window.h"

namespace scourly::gui {
namespace {

// Places at 96 DPI: a strip for the boxes above the list; room for
// "Cookies" in a font a fifth wider than Arial (Wine's stand-in).
constexpr int kStripHeight = 26;
constexpr int kCheckTop = 4, kCheckHeight = 18, kCheckLeft = 8, kCheckWidth = 80;

std::array<CheckBox*, 3> ChecksOf(WebBrowsersTab& page) {
  return {&page.WCache, &page.WCookies, &page.WHistory};
}

}  // namespace

void MainWindow::CreateWebSheet() {
  webSheet_.Create(hwnd(), kIdWebSheet);
  const std::array<CheckBox*, 3> checks = ChecksOf(form_.WebBrowsers());
  for (int i = 0; i < 3; ++i) {
    webChecks_[i] = CreateChild(webSheet_.hwnd(), L"BUTTON", Widen(checks[i]->caption).c_str(),
                                WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX, kIdWCache + i);
  }
}

void MainWindow::SetWebSheetFonts(HFONT font) {
  for (HWND h : webChecks_) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void MainWindow::LayoutWebSheet() {
  RECT rc;
  GetClientRect(webSheet_.hwnd(), &rc);
  for (int i = 0; i < 3; ++i) {
    MoveWindow(webChecks_[i], dpi_(kCheckLeft + i * kCheckWidth), dpi_(kCheckTop),
               dpi_(kCheckWidth - 4), dpi_(kCheckHeight), TRUE);
  }
  const int strip = dpi_(kStripHeight);
  lists_[kWebList].Move(0, strip, rc.right, std::max<int>(0, rc.bottom - strip));
}

void MainWindow::SyncWebSheet() {
  const std::array<CheckBox*, 3> checks = ChecksOf(form_.WebBrowsers());
  for (int i = 0; i < 3; ++i) {
    const int state = checks[i]->checked ? 1 : 0;
    if (state == shownWebChecks_[i]) continue;
    shownWebChecks_[i] = state;
    SendMessageW(webChecks_[i], BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void MainWindow::OnWebSheetCommand(int id, int code) {
  if (code != BN_CLICKED || id < kIdWCache || id > kIdWHistory) return;
  using Handler = void (TMainForm::*)();
  static constexpr Handler kClicks[3] = {&TMainForm::WCacheClick, &TMainForm::WCookiesClick,
                                         &TMainForm::WHistoryClick};
  const int i = id - kIdWCache;
  CheckBox& box = *ChecksOf(form_.WebBrowsers())[i];
  Run([this, &box, i] {
    box.checked = !box.checked;
    (form_.*kClicks[i])();
  });
}

}  // namespace scourly::gui
