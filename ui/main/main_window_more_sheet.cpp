// The "More" page: the note on closing the browsers, the Netscape and Opera
// group boxes with their check boxes, path fields and browse buttons, and
// the "Clear Now" and "Save Directory Paths" buttons. The edits and browse
// buttons are placed by the models' bounds (the window's resize rule moves
// them); everything else on the page is placed relative to them.
#include <algorithm>

#include "ui/main/gui_ids.h"
#include "ui/main/main_window.h"

namespace scourly::gui {
namespace {

// Layout of the "More" sheet at 96 DPI that the models do not hold: the
// vertical places, and where the check boxes and push buttons sit. The
// models' horizontal bounds of the edits and buttons are relative to their
// group box.
constexpr int kGroupTop = 8, kGroupHeight = 132;
// One row of check boxes under each group box's caption, from the left edge
// of the group's path fields; room for "URL History" in a font a fifth wider
// than Arial (Wine's stand-in).
constexpr int kCheckTop = 18, kCheckHeight = 17;
constexpr int kCheckLeft[3] = {0, 72, 150};
constexpr int kCheckWidth[3] = {66, 72, 100};
constexpr int kPathRowTop[2] = {42, 86};  // label; the edit is 16 below
constexpr int kEditHeight = 21;
// Below the group boxes: the two-line note on the left, the push buttons on
// the right, ending under the Opera group's browse buttons.
constexpr int kBottomGap = 10;
constexpr int kNoteHeight = 30;
constexpr int kPushHeight = 25, kClearWidth = 90, kSaveWidth = 130, kPushGap = 8;

const wchar_t* const kPathLabels[4] = {L"User Profile:", L"Cache Directory:",
                                       L"Program Directory:", L"Cache Directory:"};

std::array<CheckBox*, 6> ChecksOf(TNetscapeOperaCleaner& more) {
  return {&more.NCache, &more.NCookies, &more.NHistory,
          &more.OCache, &more.OCookies, &more.OHistory};
}

std::array<Edit*, 4> EditsOf(TNetscapeOperaCleaner& more) {
  return {&more.NProfile, &more.NCacheDir, &more.OProgramDir, &more.OCacheDir};
}

}  // namespace

void MainWindow::CreateMoreSheet() {
  moreSheet_.Create(hwnd(), kIdMoreSheet);
  HWND sheet = moreSheet_.hwnd();
  TNetscapeOperaCleaner& more = form_.MoreCleaner();
  const std::array<CheckBox*, 6> checks = ChecksOf(more);
  groupBox2_ = CreateChild(sheet, L"BUTTON", L"Netscape 4.7",
                           WS_VISIBLE | BS_GROUPBOX | WS_CLIPSIBLINGS, kIdGroupBox2);
  groupBox3_ =
      CreateChild(sheet, L"BUTTON", L"Opera", WS_VISIBLE | BS_GROUPBOX | WS_CLIPSIBLINGS, kIdGroupBox3);
  // Creation order is the tab order: each group's check boxes, then its two
  // paths with their browse buttons; then the push buttons.
  for (int group = 0; group < 2; ++group) {
    for (int k = 0; k < 3; ++k) {
      const int i = group * 3 + k;
      // The check mark is the model's: a click only tells the window.
      checkBoxes_[i] =
          CreateChild(sheet, L"BUTTON", Widen(checks[i]->caption).c_str(),
                      WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX, kIdNCache + i);
    }
    for (int i = group * 2; i < group * 2 + 2; ++i) {
      pathLabels_[i] = CreateChild(sheet, L"STATIC", kPathLabels[i],
                                   WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kIdNProfileLabel + i);
      pathEdits_[i] = CreateChild(sheet, L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                  kIdNProfile + i, WS_EX_CLIENTEDGE);
      browseButtons_[i] = CreateChild(sheet, L"BUTTON", L"...",
                                      WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kIdSpeedButton1 + i);
    }
  }
  label13_ = CreateChild(sheet, L"STATIC", Widen(more.Label13.caption).c_str(),
                         WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kIdLabel13);
  pushButtons_[0] = CreateChild(sheet, L"BUTTON", Widen(more.ClearBtn.caption).c_str(),
                                WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kIdClearBtn);
  pushButtons_[1] = CreateChild(sheet, L"BUTTON", Widen(more.SaveBtn.caption).c_str(),
                                WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kIdSaveBtn);
  // The group boxes lie below the controls they frame.
  for (HWND h : {groupBox3_, groupBox2_})
    SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  // The hints of the push buttons (the texts come with the first sync).
  moreHints_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  for (HWND button : pushButtons_) {
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = sheet;
    ti.uId = reinterpret_cast<UINT_PTR>(button);
    ti.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(moreHints_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

void MainWindow::SetMoreSheetFonts(HFONT font) {
  auto set = [font](HWND h) { SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); };
  for (HWND h : {groupBox2_, groupBox3_, label13_, moreHints_}) set(h);
  for (HWND h : checkBoxes_) set(h);
  for (HWND h : pushButtons_) set(h);
  for (int i = 0; i < 4; ++i) {
    set(pathLabels_[i]);
    set(pathEdits_[i]);
    set(browseButtons_[i]);
  }
  // A hint's CR LF starts a new line only in a box of limited width.
  SendMessageW(moreHints_, TTM_SETMAXTIPWIDTH, 0, dpi_(600));
}

void MainWindow::OnMoreSheetCommand(int id, int code, HWND control) {
  TNetscapeOperaCleaner& more = form_.MoreCleaner();
  if (id >= kIdNCache && id <= kIdOHistory) {
    if (code != BN_CLICKED) return;
    CheckBox& box = *ChecksOf(more)[id - kIdNCache];
    Run([&box] { box.checked = !box.checked; });
    return;
  }
  if (id >= kIdNProfile && id <= kIdOCacheDir) {
    if (code != EN_CHANGE || settingEditText_) return;
    const int i = id - kIdNProfile;
    std::string text = Narrow(WindowText(control));
    // What the user typed is what the edit shows: no copy back is due.
    moreShown_.editTexts[i] = text;
    Edit& edit = *EditsOf(more)[i];
    Run([&edit, &text] { edit.text = std::move(text); });
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case kIdSpeedButton1: Run([this] { form_.SpeedButton1Click(); }); break;
    case kIdSpeedButton1 + 1: Run([this] { form_.SpeedButton2Click(); }); break;
    case kIdSpeedButton1 + 2: Run([this] { form_.SpeedButton3Click(); }); break;
    case kIdSpeedButton1 + 3: Run([this] { form_.SpeedButton4Click(); }); break;
    // "Clear Now" shows the hourglass itself, for as long as it works.
    case kIdClearBtn: Run([this] { form_.ClearBtnClick(); }); break;
    case kIdSaveBtn: Run([this] { form_.SaveBtnClick(); }); break;
  }
}

void MainWindow::SyncMoreSheet() {
  if (!groupBox2_) return;
  SyncMoreSheetState();
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
  for (int group = 0; group < 2; ++group) {
    const int left = dpi_((group == 0 ? g2.left : g3.left) + edits[group * 2]->left);
    for (int k = 0; k < 3; ++k) {
      MoveWindow(checkBoxes_[group * 3 + k], left + dpi_(kCheckLeft[k]), top + dpi_(kCheckTop),
                 dpi_(kCheckWidth[k]), dpi_(kCheckHeight), TRUE);
    }
  }
  const int bottomTop = top + dpi_(kGroupHeight + kBottomGap);
  const int right = dpi_(g3.left + buttons[2]->left + buttons[2]->width);
  const int saveLeft = right - dpi_(kSaveWidth);
  const int clearLeft = saveLeft - dpi_(kPushGap + kClearWidth);
  MoveWindow(pushButtons_[1], saveLeft, bottomTop, dpi_(kSaveWidth), dpi_(kPushHeight), TRUE);
  MoveWindow(pushButtons_[0], clearLeft, bottomTop, dpi_(kClearWidth), dpi_(kPushHeight), TRUE);
  const int noteLeft = dpi_(g2.left + edits[0]->left);
  MoveWindow(label13_, noteLeft, bottomTop, std::max(0, clearLeft - dpi_(kPushGap) - noteLeft),
             dpi_(kNoteHeight), TRUE);
  // The page paints under its children (for the group boxes' sake), so a
  // move repaints all of it, children included.
  RedrawWindow(moreSheet_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void MainWindow::SyncMoreSheetState() {
  TNetscapeOperaCleaner& more = form_.MoreCleaner();
  MoreShown& shown = moreShown_;
  const bool all = !shown.known;
  shown.known = true;
  if (all || more.Label13.caption != shown.note) {
    shown.note = more.Label13.caption;
    SetWindowTextW(label13_, Widen(shown.note).c_str());
  }
  const std::array<CheckBox*, 6> checks = ChecksOf(more);
  for (int i = 0; i < 6; ++i) {
    if (all || checks[i]->checked != shown.checked[i]) {
      shown.checked[i] = checks[i]->checked;
      SendMessageW(checkBoxes_[i], BM_SETCHECK, shown.checked[i] ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    if (all || checks[i]->caption != shown.checkCaptions[i]) {
      shown.checkCaptions[i] = checks[i]->caption;
      SetWindowTextW(checkBoxes_[i], Widen(shown.checkCaptions[i]).c_str());
    }
  }
  const std::array<Edit*, 4> edits = EditsOf(more);
  for (int i = 0; i < 4; ++i) {
    const std::string& text = edits[i]->text;
    if (!all && text == shown.editTexts[i]) continue;
    shown.editTexts[i] = text;
    // An edit that shows the text already keeps it, and the caret and
    // selection with it.
    if (Narrow(WindowText(pathEdits_[i])) == text) continue;
    settingEditText_ = true;
    SetWindowTextW(pathEdits_[i], Widen(text).c_str());
    settingEditText_ = false;
  }
  const Button* models[2] = {&more.ClearBtn, &more.SaveBtn};
  for (int i = 0; i < 2; ++i) {
    if (all || models[i]->caption != shown.captions[i]) {
      shown.captions[i] = models[i]->caption;
      SetWindowTextW(pushButtons_[i], Widen(shown.captions[i]).c_str());
    }
    if (all || models[i]->hint != shown.hints[i]) {
      shown.hints[i] = models[i]->hint;
      std::wstring hint = Widen(shown.hints[i]);
      TOOLINFOW ti{};
      ti.cbSize = sizeof ti;
      ti.hwnd = moreSheet_.hwnd();
      ti.uId = reinterpret_cast<UINT_PTR>(pushButtons_[i]);
      ti.lpszText = hint.data();
      SendMessageW(moreHints_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    }
  }
}

}  // namespace scourly::gui
