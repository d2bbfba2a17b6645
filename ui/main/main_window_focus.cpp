// Keyboard focus in the main window, which no dialog manager serves: Tab and
// Shift+Tab walk the toolbar, the tabs and the active page's controls in
// reading order and round again; Ctrl+Tab and Ctrl+Shift+Tab turn the main
// tabs; a control hidden with its page hands the focus to the new page.
#include <algorithm>

#include "ui/controls/focus_order.h"
#include "ui/main/gui_ids.h"
#include "ui/main/main_window.h"

namespace scourly::gui {

void MainWindow::AddTabStops() {
  AddTabStop(toolBar_.hwnd());
  AddTabStop(pageControl1_.hwnd());
  AddTabStop(pageControl2_.hwnd());
  for (VirtualList& list : lists_) AddTabStop(list.listBox());
  for (HWND radio : radioButtons_) AddTabStop(radio);
  for (HWND child : SheetTabStops(moreSheet_.hwnd())) AddTabStop(child);
  for (HWND check : webChecks_) AddTabStop(check);
}

std::vector<HWND> MainWindow::SheetTabStops(HWND sheet) {
  // Creation order, group boxes left out.
  std::vector<HWND> stops;
  for (HWND child = GetWindow(sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) stops.push_back(child);
  }
  return stops;
}

std::vector<HWND> MainWindow::TabStops() const {
  std::vector<HWND> stops;
  // The toolbar only while one of its buttons can be pressed.
  for (const ToolBarControl::Place& place : toolBar_.Buttons()) {
    if (toolBar_.Enabled(place.cmd)) {
      stops.push_back(toolBar_.hwnd());
      break;
    }
  }
  stops.push_back(pageControl1_.hwnd());
  if (shownTab_ == kTabBrowserCache) {
    stops.push_back(pageControl2_.hwnd());
    if (shownSubTab_ == kSubTabMore) {
      for (HWND child : SheetTabStops(moreSheet_.hwnd())) stops.push_back(child);
    } else if (shownSubTab_ == kSubTabWebBrowsers) {
      // The three boxes above the list, then the list.
      stops.insert(stops.end(), webChecks_.begin(), webChecks_.end());
      stops.push_back(lists_[kWebList].listBox());
    } else {
      stops.push_back(lists_[3].listBox());
      stops.insert(stops.end(), radioButtons_.begin(), radioButtons_.end());
    }
  } else if (shownTab_ >= 0 && shownTab_ < kWebList) {
    stops.push_back(lists_[shownTab_].listBox());
  }
  std::erase_if(stops, [](HWND h) { return !h || !IsWindowVisible(h) || !IsWindowEnabled(h); });
  return stops;
}

HWND MainWindow::NextTabStop(HWND from, bool back) const {
  const std::vector<HWND> stops = TabStops();
  if (stops.empty()) return nullptr;
  auto at = std::find(stops.begin(), stops.end(), from);
  const int n = static_cast<int>(stops.size());
  if (at == stops.end()) return back ? stops.back() : stops.front();
  const int i = static_cast<int>(at - stops.begin());
  return stops[((back ? i - 1 : i + 1) % n + n) % n];
}

void MainWindow::TurnPage(bool back) {
  const int count = static_cast<int>(SendMessageW(pageControl1_.hwnd(), TCM_GETITEMCOUNT, 0, 0));
  if (count <= 0) return;
  const int index = ((form_.PageControl1.activeIndex + (back ? -1 : 1)) % count + count) % count;
  // As a click on the tab does.
  Run([this, index] { form_.UserSelectsTab(index); });
}

void MainWindow::FocusPage() {
  const std::vector<HWND> stops = TabStops();
  // The first control after the tabs (and the sub-tabs).
  HWND target = nullptr;
  for (HWND h : stops) {
    if (h != toolBar_.hwnd() && h != pageControl1_.hwnd() && h != pageControl2_.hwnd()) {
      target = h;
      break;
    }
  }
  if (!target && !stops.empty()) target = stops.front();
  if (target) FocusTabStop(target);
}

void MainWindow::KeepFocusOnPage() {
  if (GetActiveWindow() != hwnd()) return;
  HWND focus = GetFocus();
  if (!focus || focus == hwnd() || (IsChild(hwnd(), focus) && !IsWindowVisible(focus))) FocusPage();
}

}  // namespace scourly::gui
