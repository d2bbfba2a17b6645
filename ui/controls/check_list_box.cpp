#include "ui/controls/check_list_box.h"

#include <commctrl.h>
#include <windowsx.h>

#include <memory>

#include "platform/win32/win32_platform.h"

namespace scourly::gui {
namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr int kRowHeight = 13;   // at 96 DPI
constexpr int kCheckSize = 13;   // the check box's square, at the row's left
constexpr int kTextLeft = 15;    // where the text starts

}  // namespace

void CheckListBox::Attach(HWND list, std::function<void(int)> toggled) {
  list_ = list;
  toggled_ = std::move(toggled);
  SetWindowSubclass(list_, &CheckListBox::Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  auto shown = [this](int row) { return row >= 0 && row < static_cast<int>(shown_.size()); };
  access_.Attach(list_, std::make_unique<ListBoxParts>(
                            list_,
                            [this, shown](int row) {
                              return shown(row) ? Widen(shown_[row].text) : std::wstring();
                            },
                            [this, shown](int row) { return shown(row) && shown_[row].checked; },
                            [this](int row) {
                              if (toggled_) toggled_(row);
                            }));
}

void CheckListBox::AnnounceHighlight() {
  const int row = Highlight();
  access_.AnnounceSelection(row >= 0 ? std::vector<int>{row} : std::vector<int>{});
  access_.AnnounceFocus();
}

CheckListBox::~CheckListBox() {
  if (list_ && IsWindow(list_)) RemoveWindowSubclass(list_, &CheckListBox::Subclass, kSubclassId);
}

void CheckListBox::SetMetrics(const Dpi& dpi) {
  dpi_ = dpi;
  SendMessageW(list_, LB_SETITEMHEIGHT, 0, dpi_(kRowHeight));
  InvalidateRect(list_, nullptr, TRUE);
}

void CheckListBox::Assign(const CheckList& model) {
  bool sameTexts = model.items.size() == shown_.size();
  for (size_t i = 0; sameTexts && i < shown_.size(); ++i)
    sameTexts = model.items[i].text == shown_[i].text;
  if (!sameTexts) {
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    for (const CheckItem& item : model.items) {
      std::wstring text = Widen(item.text);
      LRESULT row = SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      SendMessageW(list_, LB_SETITEMDATA, row, item.checked ? 1 : 0);
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    shown_ = model.items;
    access_.AnnounceReplaced();
    return;
  }
  std::vector<int> toggled;
  for (size_t i = 0; i < shown_.size(); ++i) {
    if (model.items[i].checked == shown_[i].checked) continue;
    SendMessageW(list_, LB_SETITEMDATA, i, model.items[i].checked ? 1 : 0);
    RECT rc;
    if (SendMessageW(list_, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rc)) != LB_ERR)
      InvalidateRect(list_, &rc, FALSE);
    toggled.push_back(static_cast<int>(i));
  }
  shown_ = model.items;
  // Told once the rows show the new marks, so a reader reads the new state.
  for (int row : toggled) access_.AnnounceState(row);
}

void CheckListBox::SetHighlight(int row) {
  if (Highlight() == row) return;
  SendMessageW(list_, LB_SETCURSEL, row, 0);
  AnnounceHighlight();
}

int CheckListBox::Highlight() const {
  LRESULT row = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  return row == LB_ERR ? -1 : static_cast<int>(row);
}

void CheckListBox::Draw(const DRAWITEMSTRUCT& item) const {
  HDC dc = item.hDC;
  RECT rc = item.rcItem;
  FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
  if (item.itemID == static_cast<UINT>(-1)) {
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &rc);
    return;
  }
  const int row = static_cast<int>(item.itemID);
  const bool checked = row < static_cast<int>(shown_.size()) && shown_[row].checked;

  // The check box: a square at the left, centred in the row.
  const int box = dpi_(kCheckSize) - 2 * dpi_(1);
  RECT check{rc.left + dpi_(1), rc.top + (rc.bottom - rc.top - box) / 2, 0, 0};
  check.right = check.left + box;
  check.bottom = check.top + box;
  DrawFrameControl(dc, &check, DFC_BUTTON,
                   DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));

  // The text, highlighted when the row is.
  RECT text = rc;
  text.left += dpi_(kTextLeft);
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &text, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  std::wstring label = row < static_cast<int>(shown_.size()) ? Widen(shown_[row].text) : L"";
  RECT textArea = text;
  textArea.left += dpi_(2);
  DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &textArea,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &text);
}

int CheckListBox::CheckBoxAt(POINT pt) const {
  LRESULT hit = SendMessageW(list_, LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
  if (HIWORD(hit)) return -1;  // below the last row
  const int row = LOWORD(hit);
  RECT rc;
  if (SendMessageW(list_, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc)) == LB_ERR) return -1;
  if (pt.x < rc.left || pt.x >= rc.left + dpi_(kTextLeft)) return -1;
  return row;
}

LRESULT CALLBACK CheckListBox::Subclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                        DWORD_PTR data) {
  auto* self = reinterpret_cast<CheckListBox*>(data);
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The click highlights the row as usual; on the check box it also
      // toggles it (a double click there toggles twice, as two clicks do).
      LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
      self->AnnounceHighlight();
      const int row = self->CheckBoxAt({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      if (row >= 0 && self->toggled_) self->toggled_(row);
      return result;
    }
    case WM_KEYDOWN: {
      LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
      self->AnnounceHighlight();
      return result;
    }
    case WM_CHAR:
      if (wp == L' ') {
        const int row = self->Highlight();
        if (row >= 0 && self->toggled_) self->toggled_(row);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, &CheckListBox::Subclass, kSubclassId);
      self->list_ = nullptr;
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace scourly::gui
