#include "ui/dialogs/options_window.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "res/resource_ids.h"

namespace scourly::gui {
namespace {

// Places and sizes in pixels at 96 DPI. The pages' controls are placed
// relative to the page (the tab control's display area); a label without a
// width is sized to its text.
struct Layout {
  int id;
  int page;  // -1: on the form itself
  int x, y, w, h;
};
constexpr Layout kLayout[] = {
    {IDC_OPTIONS_PAGECONTROL1, -1, 0, 0, 329, 289},
    {IDC_OPTIONS_LABEL1, kPageFileTypes, 16, 24, 0, 0},
    {IDC_OPTIONS_LABEL4, kPageFileTypes, 192, 8, 0, 0},
    {IDC_OPTIONS_OPTIONBOX, kPageFileTypes, 16, 40, 153, 153},
    {IDC_OPTIONS_ADD, kPageFileTypes, 200, 48, 75, 25},
    {IDC_OPTIONS_REMOVE, kPageFileTypes, 200, 88, 75, 25},
    {IDC_OPTIONS_CHECK, kPageFileTypes, 200, 128, 75, 25},
    {IDC_OPTIONS_RESET, kPageFileTypes, 200, 168, 75, 25},
    {IDC_OPTIONS_TEMPFILES, kPageFileTypes, 16, 209, 161, 17},
    {IDC_OPTIONS_LABEL2, kPageFileTypes, 16, 238, 0, 0},
    {IDC_OPTIONS_LABEL3, kPageScanDrives, 16, 24, 0, 0},
    {IDC_OPTIONS_DRIVESBOX, kPageScanDrives, 16, 40, 153, 153},
    {IDC_OPTIONS_BUTTON1, kPageScanDrives, 200, 104, 75, 25},
    {IDC_OPTIONS_KEEPLABEL, kPageKeep, 16, 24, 0, 0},
    {IDC_OPTIONS_KEEPBOX, kPageKeep, 16, 40, 193, 185},
    {IDC_OPTIONS_ADDFILE, kPageKeep, 224, 48, 89, 25},
    {IDC_OPTIONS_ADDFOLDER, kPageKeep, 224, 88, 89, 25},
    {IDC_OPTIONS_REMOVEKEEP, kPageKeep, 224, 128, 89, 25},
    {IDOK, -1, 23, 303, 75, 25},
    {IDCANCEL, -1, 111, 303, 75, 25},
};
constexpr int kClientWidth = 330, kClientHeight = 339;

struct PageDef {
  const wchar_t* caption;
  int image;  // in ImageList1's strip
};
constexpr PageDef kPages[] = {{L"File Types", 30}, {L"Scan Drives", 0}, {L"Keep", 3}};

}  // namespace

bool OptionsWindow::Create(HWND owner) {
  if (!Dialog::Create(owner, IDD_OPTIONS)) return false;
  form_.view = this;
  return true;
}

void OptionsWindow::OnInit() {
  HWND tabs = Item(IDC_OPTIONS_PAGECONTROL1);
  for (int i = 0; i < static_cast<int>(std::size(kPages)); ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<wchar_t*>(kPages[i].caption);
    item.iImage = kPages[i].image;
    SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  label4_.Attach(Item(IDC_OPTIONS_LABEL4));
  optionBox_.Attach(Item(IDC_OPTIONS_OPTIONBOX), [this](int row) {
    Run([this, row] {
      CheckItem& item = form_.options.OptionBox.items.at(row);
      item.checked = !item.checked;
    });
  });
  drivesBox_.Attach(Item(IDC_OPTIONS_DRIVESBOX), [this](int row) {
    Run([this, row] {
      CheckItem& item = form_.options.DrivesBox.items.at(row);
      item.checked = !item.checked;
    });
  });
  // A screen reader names each check list after the label above it.
  SetWindowTextW(optionBox_.hwnd(), WindowText(Item(IDC_OPTIONS_LABEL1)).c_str());
  SetWindowTextW(drivesBox_.hwnd(), WindowText(Item(IDC_OPTIONS_LABEL3)).c_str());
}

void OptionsWindow::ApplyDpi() {
  const Dpi& d = dpi();
  HWND tabs = Item(IDC_OPTIONS_PAGECONTROL1);
  images_.Load(d.value());
  SendMessageW(tabs, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.list()));
  arialFont_ = MakeFont(L"Arial", d.FontHeight(8));
  SendMessageW(Item(IDC_OPTIONS_TEMPFILES), WM_SETFONT, reinterpret_cast<WPARAM>(arialFont_.get()),
               TRUE);
  label4_.SetFont(L"MS Sans Serif", 8, d);
  optionBox_.SetMetrics(d);
  drivesBox_.SetMetrics(d);
  keepBoxStale_ = true;  // its text widths change with the font

  SizeClient(kClientWidth, kClientHeight);
  Place(IDC_OPTIONS_PAGECONTROL1, 0, 0, 329, 289);
  RECT page{0, 0, d(329), d(289)};
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  for (const Layout& l : kLayout) {
    if (l.id == IDC_OPTIONS_PAGECONTROL1) continue;
    POINT origin = l.page < 0 ? POINT{0, 0} : POINT{page.left, page.top};
    if (l.w == 0) {
      SIZE text = TextSize(l.id);
      MoveWindow(Item(l.id), origin.x + d(l.x), origin.y + d(l.y), text.cx, text.cy, TRUE);
    } else {
      Place(l.id, l.x, l.y, l.w, l.h, origin);
    }
  }
}

void OptionsWindow::Sync() {
  if (!hwnd()) return;
  optionBox_.Assign(form_.options.OptionBox);
  optionBox_.SetHighlight(form_.OptionBoxIndex);
  drivesBox_.Assign(form_.options.DrivesBox);
  CheckDlgButton(hwnd(), IDC_OPTIONS_TEMPFILES,
                 form_.options.TempFiles.checked ? BST_CHECKED : BST_UNCHECKED);
  SyncKeepBox();
  ShowPage(form_.PageControl1.activeIndex);
}

void OptionsWindow::SyncKeepBox() {
  HWND box = Item(IDC_OPTIONS_KEEPBOX);
  if (keepBoxStale_ || form_.KeepBox.Entries() != shownKeep_) {
    keepBoxStale_ = false;
    shownKeep_ = form_.KeepBox.Entries();
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    SendMessageW(box, LB_RESETCONTENT, 0, 0);
    // The paths are long: the list scrolls sideways to the longest.
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    int widest = 0;
    for (const std::string& entry : shownKeep_) {
      std::wstring text = Widen(entry);
      SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      SIZE size{};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      widest = std::max<int>(widest, size.cx);
    }
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    SendMessageW(box, LB_SETHORIZONTALEXTENT, widest + dpi()(8), 0);
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
  }
  if (SendMessageW(box, LB_GETCURSEL, 0, 0) != form_.KeepBoxIndex)
    SendMessageW(box, LB_SETCURSEL, form_.KeepBoxIndex, 0);
}

void OptionsWindow::ShowPage(int page) {
  if (page == shownPage_) return;
  HWND tabs = Item(IDC_OPTIONS_PAGECONTROL1);
  if (SendMessageW(tabs, TCM_GETCURSEL, 0, 0) != page) SendMessageW(tabs, TCM_SETCURSEL, page, 0);
  // The focus must not stay on a control that disappears.
  HWND focus = GetFocus();
  for (const Layout& l : kLayout) {
    if (l.page < 0) continue;
    HWND control = Item(l.id);
    if (l.page != page && focus == control) FocusItem(IDC_OPTIONS_PAGECONTROL1);
    ShowWindow(control, l.page == page ? SW_SHOW : SW_HIDE);
  }
  shownPage_ = page;
}

void OptionsWindow::AfterShow() {
  // Every showing starts at the tab control, the first in keyboard order.
  FocusItem(IDC_OPTIONS_PAGECONTROL1);
}

void OptionsWindow::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDC_OPTIONS_ADD:
      if (code == BN_CLICKED) Run([this] { form_.AddClick(); });
      break;
    case IDC_OPTIONS_REMOVE:
      if (code == BN_CLICKED) Run([this] { form_.RemoveClick(); });
      break;
    case IDC_OPTIONS_CHECK:
      if (code == BN_CLICKED) Run([this] { form_.CheckClick(); });
      break;
    case IDC_OPTIONS_RESET:
      if (code == BN_CLICKED) Run([this] { form_.ResetClick(); });
      break;
    case IDC_OPTIONS_BUTTON1:
      if (code == BN_CLICKED) Run([this] { form_.Button1Click(); });
      break;
    case IDC_OPTIONS_TEMPFILES:
      if (code == BN_CLICKED) {
        const bool checked = IsDlgButtonChecked(hwnd(), IDC_OPTIONS_TEMPFILES) == BST_CHECKED;
        Run([this, checked] { form_.options.TempFiles.checked = checked; });
      }
      break;
    case IDC_OPTIONS_LABEL4:
      if (code == STN_CLICKED) Run([this] { form_.Label4Click(); });
      break;
    case IDC_OPTIONS_ADDFILE:
      if (code == BN_CLICKED) Run([this] { form_.AddFileBtnClick(); });
      break;
    case IDC_OPTIONS_ADDFOLDER:
      if (code == BN_CLICKED) Run([this] { form_.AddFolderBtnClick(); });
      break;
    case IDC_OPTIONS_REMOVEKEEP:
      if (code == BN_CLICKED) Run([this] { form_.RemoveKeepBtnClick(); });
      break;
    case IDC_OPTIONS_KEEPBOX:
      if (code == LBN_SELCHANGE) {
        const int row =
            static_cast<int>(SendMessageW(Item(IDC_OPTIONS_KEEPBOX), LB_GETCURSEL, 0, 0));
        Run([this, row] { form_.KeepBoxIndex = row; });
      }
      break;
    case IDC_OPTIONS_OPTIONBOX:
      if (code == LBN_SELCHANGE) {
        const int row = optionBox_.Highlight();
        Run([this, row] { form_.OptionBoxIndex = row; });
      }
      break;
    case IDOK:  // the button, or Enter
      if (code == BN_CLICKED) Run([this] { form_.OKBtnClick(); });
      break;
    case IDCANCEL:  // the button, Esc, or the close box
      if (code == BN_CLICKED) Run([this] { form_.CancelBtnClick(); });
      break;
  }
}

bool OptionsWindow::OnNotify(const NMHDR& hdr, LRESULT&) {
  if (hdr.idFrom == IDC_OPTIONS_PAGECONTROL1 && hdr.code == TCN_SELCHANGE) {
    const int page = static_cast<int>(SendMessageW(hdr.hwndFrom, TCM_GETCURSEL, 0, 0));
    Run([this, page] { form_.PageControl1.activeIndex = page; });
    return true;
  }
  return false;
}

bool OptionsWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) {
  switch (msg) {
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item.hwndItem == optionBox_.hwnd()) optionBox_.Draw(item);
      else if (item.hwndItem == drivesBox_.hwnd()) drivesBox_.Draw(item);
      else return false;
      result = TRUE;
      return true;
    }
    case WM_CTLCOLORSTATIC:
      if (HBRUSH brush = label4_.Colour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp))) {
        result = reinterpret_cast<INT_PTR>(brush);
        return true;
      }
      return false;
    case WM_SETCURSOR:
      if (label4_.SetCursor(reinterpret_cast<HWND>(wp))) {
        SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, TRUE);
        result = TRUE;
        return true;
      }
      return false;
  }
  return false;
}

}  // namespace scourly::gui
