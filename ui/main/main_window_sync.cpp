// Copying TMainForm's models onto the controls. Each part remembers what it
// last applied, so a scan's frequent pumps cost nothing when nothing moved.
#include "ui/main/command_table.h"
#include "ui/main/gui_ids.h"
#include "ui/main/main_window.h"

namespace scourly::gui {

void MainWindow::Sync() {
  if (!created_ || !hwnd()) return;
  SyncTabs();
  SyncToolBar();
  SyncMenus();
  SyncStatusBar();
  SyncLists();
  SyncCacheSheet();
  SyncMoreSheet();
  SyncWebSheet();
}

void MainWindow::SyncToolBar() {
  const std::vector<ToolCommand>& tools = ToolCommands();
  for (size_t i = 0; i < tools.size(); ++i) {
    const ToolCommand& def = tools[i];
    if (def.cmd == 0) continue;
    const ToolButton& model = form_.*def.model;
    ButtonState& state = buttonState_[i];
    if (!state.known || state.enabled != model.enabled) toolBar_.Enable(def.cmd, model.enabled);
    if (!state.known || state.hint != model.hint) toolBar_.SetHint(def.cmd, Widen(model.hint));
    state = {model.enabled, model.hint, true};
  }
}

void MainWindow::SyncMenus() {
  const std::vector<MenuCommand>& menus = MenuCommands();
  HMENU help = MenuOf(MenuOwner::kHelp);
  for (size_t i = 0; i < menus.size(); ++i) {
    const MenuCommand& def = menus[i];
    if (!def.model) continue;
    const MenuItem& model = form_.*def.model;
    MenuState& state = menuState_[i];
    if (state.known && state.enabled == model.enabled && state.caption == model.caption) continue;
    std::wstring caption = Widen(model.caption);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_STATE;
    info.dwTypeData = caption.data();
    info.fState = (model.enabled ? MFS_ENABLED : MFS_DISABLED) |
                  (def.cmd == kCmdOpen1 ? MFS_DEFAULT : 0);
    if (def.kind == MenuKind::kSubmenu) {
      // A submenu is found by its place in the Help menu.
      int n = GetMenuItemCount(help);
      for (int k = 0; k < n; ++k) {
        if (GetSubMenu(help, k)) SetMenuItemInfoW(help, k, TRUE, &info);
      }
    } else {
      SetMenuItemInfoW(MenuOf(def.owner), def.cmd, FALSE, &info);
    }
    state = {model.enabled, model.caption, true};
  }
}

void MainWindow::SyncStatusBar() {
  if (form_.StatusBar1.revision == statusRevision_) return;
  for (int i = 0; i < 4; ++i) statusBar_.SetText(i, Widen(form_.StatusBar1.Get(i)));
  statusRevision_ = form_.StatusBar1.revision;
  // A scan repaints the bar while it runs, before the queue is pumped.
  UpdateWindow(statusBar_.hwnd());
}

void MainWindow::SyncTabs() {
  int tab = form_.PageControl1.activeIndex, sub = form_.PageControl2.activeIndex;
  if (tab == shownTab_ && sub == shownSubTab_) return;
  pageControl1_.Select(tab);
  pageControl2_.Select(sub);
  shownTab_ = tab;
  shownSubTab_ = sub;
  ShowSheets();
}

void MainWindow::ShowSheets() {
  const bool cache = shownTab_ == kTabBrowserCache;
  const bool more = cache && shownSubTab_ == kSubTabMore;
  const bool web = cache && shownSubTab_ == kSubTabWebBrowsers;
  for (int i : {0, 1, 2, 4}) lists_[i].Show(shownTab_ == i);
  ShowWindow(pageControl2_.hwnd(), cache ? SW_SHOW : SW_HIDE);
  ShowWindow(cacheSheet_.hwnd(), cache && !more && !web ? SW_SHOW : SW_HIDE);
  ShowWindow(moreSheet_.hwnd(), more ? SW_SHOW : SW_HIDE);
  ShowWindow(webSheet_.hwnd(), web ? SW_SHOW : SW_HIDE);
  KeepFocusOnPage();
}

void MainWindow::SyncLists() {
  for (int i = 0; i < static_cast<int>(lists_.size()); ++i) {
    ListSync& sync = listSync_[i];
    uint64_t revision, selectionRevision;
    int count, caret;
    std::function<bool(int)> selected;
    if (i == 3) {
      const TextList& list = form_.ListBox4;
      revision = list.revision();
      selectionRevision = list.selectionRevision();
      count = list.Count();
      caret = list.itemIndex;
      selected = [&list](int r) { return list.Selected(r); };
    } else {
      const ResultList& list = ResultListAt(i);
      revision = list.revision();
      selectionRevision = list.selectionRevision();
      count = list.Count();
      caret = list.itemIndex;
      selected = [&list](int r) { return list.Selected(r); };
    }
    if (revision != sync.revision) {
      lists_[i].SetCount(count);
      sync.revision = revision;
      sync.selectionRevision = ~0ull;
    }
    if (selectionRevision != sync.selectionRevision || caret != sync.caret) {
      lists_[i].ApplySelection(count, selected, caret);
      sync.selectionRevision = selectionRevision;
      sync.caret = caret;
    }
  }
}

}  // namespace scourly::gui
