// What the user does to the main window, turned into calls of TMainForm's
// handlers through the command table; and the menus' own drawing.
#include "ui/controls/probe.h"
#include "ui/main/command_table.h"
#include "ui/main/gui_ids.h"
#include "ui/main/main_window.h"

namespace scourly::gui {

HMENU MainWindow::MenuOf(MenuOwner owner) const {
  switch (owner) {
    case MenuOwner::kFile: return GetSubMenu(menuBar_, 0);
    case MenuOwner::kHelp: return GetSubMenu(menuBar_, 1);
    case MenuOwner::kPopup: return popup_.get();
  }
  return nullptr;
}

void MainWindow::OnCommand(int id, int code, HWND from) {
  if (from && from == toolBar_.hwnd()) {
    // A click reaches only an enabled button.
    if (!toolBar_.Enabled(id)) return;
    for (const ToolCommand& def : ToolCommands()) {
      if (def.cmd == id && def.click) Run([this, &def] { def.click(form_); });
    }
    return;
  }
  if (from) {
    // The pages' own controls.
    if (GetParent(from) == cacheSheet_.hwnd()) OnCacheSheetCommand(id, code);
    if (GetParent(from) == moreSheet_.hwnd()) OnMoreSheetCommand(id, code, from);
    if (GetParent(from) == webSheet_.hwnd()) OnWebSheetCommand(id, code);
    return;
  }
  for (const MenuCommand& def : MenuCommands()) {
    if (def.kind != MenuKind::kItem || def.cmd != id) continue;
    if (def.model && !(form_.*def.model).enabled) return;  // a disabled item sends nothing
    if (def.click) Run([this, &def] { def.click(form_); });
    return;
  }
}

void MainWindow::OnNotify(const NMHDR& hdr, LRESULT& result, bool& handled) {
  if (hdr.hwndFrom == pageControl1_.hwnd() && hdr.code == TCN_SELCHANGE) {
    int index = pageControl1_.Selected();
    Run([this, index] { form_.UserSelectsTab(index); });
    handled = true;
  } else if (hdr.hwndFrom == pageControl2_.hwnd() && hdr.code == TCN_SELCHANGE) {
    int index = pageControl2_.Selected();
    Run([this, index] { form_.UserSelectsSubTab(index); });
    handled = true;
  } else if (toolBar_.AnswerHint(hdr)) {
    handled = true;
    result = 0;
  }
}

void MainWindow::OnListSelection(int listIndex, std::vector<int> rows, int caret) {
  if (listIndex == 3) {
    form_.ListBox4.SetSelection(rows);
    form_.ListBox4.itemIndex = caret;
    listSync_[3].selectionRevision = form_.ListBox4.selectionRevision();
    listSync_[3].caret = caret;
    Run([this] { form_.ListBox4Click(); });
    return;
  }
  ResultList& list = ResultListAt(listIndex);
  list.SetSelection(rows);
  list.itemIndex = caret;
  listSync_[listIndex].selectionRevision = list.selectionRevision();
  listSync_[listIndex].caret = caret;
  using Handler = void (TMainForm::*)();
  static constexpr Handler kClicks[6] = {&TMainForm::ListBox1Click, &TMainForm::ListBox2Click,
                                         &TMainForm::ListBox3Click, nullptr,
                                         &TMainForm::ListBox5Click, &TMainForm::ListBox6Click};
  Run([this, listIndex] { (form_.*kClicks[listIndex])(); });
}

void MainWindow::ShowPopup(POINT screen) {
  Sync();
  TrackPopupMenu(popup_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen.x, screen.y,
                 0, hwnd(), nullptr);
}

void MainWindow::DrawMenuPicture(const DRAWITEMSTRUCT& item) const {
  for (const MenuCommand& def : MenuCommands()) {
    if (def.kind != MenuKind::kItem || static_cast<UINT>(def.cmd) != item.itemID || def.image < 0)
      continue;
    const int size = images_.size();
    IMAGELISTDRAWPARAMS p{};
    p.cbSize = sizeof p;
    p.himl = images_.list();
    p.i = def.image;
    p.hdcDst = item.hDC;
    p.x = item.rcItem.left + dpi_(2);
    p.y = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - size) / 2;
    p.rgbBk = CLR_NONE;
    p.rgbFg = CLR_NONE;
    p.fStyle = ILD_TRANSPARENT;
    // A disabled item shows a grey picture.
    if (item.itemState & (ODS_GRAYED | ODS_DISABLED)) p.fState = ILS_SATURATE;
    ImageList_DrawIndirect(&p);
    return;
  }
}

// ---- Probes of the end-to-end tests ----

LRESULT MainWindow::MenuCaption(int id) const {
  // The three menus, then the Help menu's submenu one level down.
  std::vector<HMENU> menus = {MenuOf(MenuOwner::kFile), MenuOf(MenuOwner::kHelp),
                              MenuOf(MenuOwner::kPopup)};
  for (int k = 0; k < GetMenuItemCount(menus[1]); ++k) {
    if (HMENU sub = GetSubMenu(menus[1], k)) menus.push_back(sub);
  }
  for (HMENU menu : menus) {
    if (GetMenuState(menu, id, MF_BYCOMMAND) == static_cast<UINT>(-1)) continue;
    wchar_t text[kProbeCapacity] = {};
    int n = GetMenuStringW(menu, id, text, kProbeCapacity, MF_BYCOMMAND);
    return ProbeAnswer(std::wstring(text, n > 0 ? n : 0));
  }
  return -1;
}

int MainWindow::MenuEnabled(int id) const {
  for (MenuOwner owner : {MenuOwner::kFile, MenuOwner::kHelp, MenuOwner::kPopup}) {
    UINT state = GetMenuState(MenuOf(owner), id, MF_BYCOMMAND);
    if (state != static_cast<UINT>(-1)) return (state & (MF_DISABLED | MF_GRAYED)) ? 0 : 1;
  }
  return -1;
}

}  // namespace scourly::gui
