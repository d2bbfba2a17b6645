// The "More" page: the Netscape and Opera group boxes with their path
// fields and browse buttons, placed by the models' bounds (the window's
// resize rule moves them).
#include "ui/main/gui_ids.h"
#include "ui/main/main_window.h"

namespace scourly::gui {
namespace {

// Layout of the "More" sheet at 96 DPI that the models do not hold: the
// vertical places. The models' horizontal bounds of the edits and buttons
// are relative to their group box.
constexpr int kGroupTop = 8, kGroupHeight = 170;
constexpr int kPathRowTop[2] = {76, 124};  // label; the edit is 16 below
constexpr int kEditHeight = 21;
const wchar_t* const kPathLabels[4] = {L"User Profile:", L"Cache Directory:",
                                       L"Program Directory:", L"Cache Directory:"};

}  // namespace

void MainWindow::CreateMoreSheet() {
  moreSheet_.Create(hwnd(), kIdMoreSheet);
  HWND sheet = moreSheet_.hwnd();
  groupBox2_ = CreateChild(sheet, L"BUTTON", L"Netscape 4.7",
                           WS_VISIBLE | BS_GROUPBOX | WS_CLIPSIBLINGS, kIdGroupBox2);
  groupBox3_ =
      CreateChild(sheet, L"BUTTON", L"Opera", WS_VISIBLE | BS_GROUPBOX | WS_CLIPSIBLINGS, kIdGroupBox3);
  for (int i = 0; i < 4; ++i) {
    pathLabels_[i] = CreateChild(sheet, L"STATIC", kPathLabels[i],
                                 WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kIdNProfileLabel + i);
    pathEdits_[i] = CreateChild(sheet, L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                kIdNProfile + i, WS_EX_CLIENTEDGE);
    browseButtons_[i] = CreateChild(sheet, L"BUTTON", L"...", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                    kIdSpeedButton1 + i);
  }
  // The group boxes lie below the controls they frame.
  for (HWND h : {groupBox3_, groupBox2_})
    SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::SetMoreSheetFonts(HFONT font) {
  auto set = [font](HWND h) { SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); };
  for (HWND h : {groupBox2_, groupBox3_}) set(h);
  for (int i = 0; i < 4; ++i) {
    set(pathLabels_[i]);
    set(pathEdits_[i]);
    set(browseButtons_[i]);
  }
}

// Nothing on the page sends a command the program acts on yet.
void MainWindow::OnMoreSheetCommand(int, int, HWND) {}

void MainWindow::SyncMoreSheet() {
  if (!groupBox2_) return;
  const Bounds& g2 = form_.GroupBox2;
  const Bounds& g3 = form_.GroupBox3;
  const Bounds* edits[4] = {&form_.NProfile, &form_.NCacheDir, &form_.OProgramDir,
                            &form_.OCacheDir};
  const Bounds* buttons[4] = {&form_.SpeedButton1, &form_.SpeedButton2, &form_.SpeedButton3,
                              &form_.SpeedButton4};
  std::vector<int> wanted = {g2.left, g2.width, g3.left, g3.width};
  for (int i = 0; i < 4; ++i) {
    wanted.insert(wanted.end(),
                  {edits[i]->left, edits[i]->width, buttons[i]->left, buttons[i]->width});
  }
  if (wanted == moreApplied_) return;
  moreApplied_ = wanted;

  // Places on the "More" page.
  const int top = dpi_(kGroupTop);
  MoveWindow(groupBox2_, dpi_(g2.left), top, dpi_(g2.width), dpi_(kGroupHeight), TRUE);
  MoveWindow(groupBox3_, dpi_(g3.left), top, dpi_(g3.width), dpi_(kGroupHeight), TRUE);
  for (int i = 0; i < 4; ++i) {
    const int groupLeft = dpi_(i < 2 ? g2.left : g3.left);
    const int rowTop = top + dpi_(kPathRowTop[i % 2]);
    const int* w = &wanted[4 + i * 4];  // edit left, edit width, button left, button width
    MoveWindow(pathLabels_[i], groupLeft + dpi_(w[0]), rowTop, dpi_(w[1]), dpi_(14), TRUE);
    MoveWindow(pathEdits_[i], groupLeft + dpi_(w[0]), rowTop + dpi_(16), dpi_(w[1]),
               dpi_(kEditHeight), TRUE);
    MoveWindow(browseButtons_[i], groupLeft + dpi_(w[2]), rowTop + dpi_(16), dpi_(w[3]),
               dpi_(kEditHeight), TRUE);
  }
  // The page paints under its children (for the group boxes' sake), so a
  // move repaints all of it, children included.
  RedrawWindow(moreSheet_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace scourly::gui
