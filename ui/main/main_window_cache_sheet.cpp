// The "IE Cache" page: ListBox4 above; below it the filter RadioGroup1 (two
// columns of option buttons) and GroupBox1 "File information" with the
// focused entry's four labels, one under the other.
#include "ui/main/gui_ids.h"
#include "ui/main/main_window.h"

namespace scourly::gui {
namespace {

// Places at 96 DPI: the strip below the list, and inside it the filter on
// the left and the file information taking the rest. The labels take the
// box's whole width: a date and time ("Last Modified: 12/31/2024 12:59:59
// PM") needs more than half of it, and a label cut short hides the time.
constexpr int kStripHeight = 80;
constexpr int kFilterWidth = 236;
constexpr int kGap = 4;
constexpr int kLabelPitch = 14;

}  // namespace

void MainWindow::CreateCacheSheet() {
  cacheSheet_.Create(hwnd(), kIdCacheSheet);
  HWND sheet = cacheSheet_.hwnd();
  const TIECacheView& view = form_.IECacheView();
  radioGroup1_ = CreateChild(sheet, L"BUTTON", Widen(view.RadioGroup1.caption).c_str(),
                             WS_VISIBLE | BS_GROUPBOX, kIdRadioGroup1);
  for (int i = 0; i < 4; ++i) {
    const std::string& item =
        i < static_cast<int>(view.RadioGroup1.items.size()) ? view.RadioGroup1.items[i] : "";
    radioButtons_[i] = CreateChild(sheet, L"BUTTON", Widen(item).c_str(),
                                   WS_VISIBLE | WS_TABSTOP | BS_RADIOBUTTON | (i == 0 ? WS_GROUP : 0),
                                   kIdFilterAll + i);
  }
  groupBox1_ = CreateChild(sheet, L"BUTTON", Widen(view.GroupBox1.caption).c_str(),
                           WS_VISIBLE | BS_GROUPBOX, kIdGroupBox1);
  for (int i = 0; i < 4; ++i)
    infoLabels_[i] =
        CreateChild(sheet, L"STATIC", L"", WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS,
                    kIdLabel1 + i);
  // The group boxes lie below the controls they frame.
  for (HWND h : {groupBox1_, radioGroup1_})
    SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::SetCacheSheetFonts(HFONT font) {
  for (HWND h : {radioGroup1_, groupBox1_}) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  for (HWND h : radioButtons_) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  for (HWND h : infoLabels_) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void MainWindow::LayoutCacheSheet() {
  RECT rc;
  GetClientRect(cacheSheet_.hwnd(), &rc);
  const int strip = dpi_(kStripHeight), gap = dpi_(kGap);
  const int listHeight = std::max<int>(0, rc.bottom - strip - gap);
  lists_[3].Move(0, 0, rc.right, listHeight);
  const int top = listHeight + gap;
  const int filterWidth = std::min<int>(dpi_(kFilterWidth), rc.right / 2);
  MoveWindow(radioGroup1_, 0, top, filterWidth, strip, TRUE);
  const int column = (filterWidth - dpi_(16)) / 2;
  for (int i = 0; i < 4; ++i) {
    MoveWindow(radioButtons_[i], dpi_(8) + (i % 2) * column, top + dpi_(22) + (i / 2) * dpi_(28),
               column - dpi_(4), dpi_(18), TRUE);
  }
  const int infoLeft = filterWidth + gap;
  const int infoWidth = std::max<int>(0, rc.right - infoLeft);
  MoveWindow(groupBox1_, infoLeft, top, infoWidth, strip, TRUE);
  const int labelWidth = std::max<int>(0, infoWidth - dpi_(16));
  for (int i = 0; i < 4; ++i) {
    MoveWindow(infoLabels_[i], infoLeft + dpi_(8), top + dpi_(16) + i * dpi_(kLabelPitch),
               labelWidth, dpi_(kLabelPitch), TRUE);
  }
  RedrawWindow(cacheSheet_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void MainWindow::SyncCacheSheet() {
  TIECacheView& view = form_.IECacheView();
  if (view.RadioGroup1.itemIndex != shownFilter_) {
    for (int i = 0; i < 4; ++i)
      SendMessageW(radioButtons_[i], BM_SETCHECK,
                   i == view.RadioGroup1.itemIndex ? BST_CHECKED : BST_UNCHECKED, 0);
    shownFilter_ = view.RadioGroup1.itemIndex;
  }
  const Label* labels[4] = {&view.Label1, &view.Label2, &view.Label3, &view.Label4};
  for (int i = 0; i < 4; ++i) {
    if (labels[i]->caption == shownLabels_[i]) continue;
    shownLabels_[i] = labels[i]->caption;
    SetWindowTextW(infoLabels_[i], Widen(shownLabels_[i]).c_str());
  }
  if (view.ListBox4FocusRequested) {
    view.ListBox4FocusRequested = false;
    lists_[3].Focus();
  }
}

void MainWindow::OnCacheSheetCommand(int id, int code) {
  if (code != BN_CLICKED || id < kIdFilterAll || id > kIdFilterAll + 3) return;
  const int index = id - kIdFilterAll;
  // A click on the item already chosen changes nothing.
  if (index == form_.IECacheView().RadioGroup1.itemIndex) return;
  Run([this, index] {
    form_.IECacheView().RadioGroup1.itemIndex = index;
    form_.RadioGroup1Click();
  });
}

}  // namespace scourly::gui
