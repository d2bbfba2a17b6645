#include "ui/controls/virtual_list.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <memory>

#include "lists/accessible_text.h"
#include "platform/win32/win32_platform.h"
#include "ui/controls/control_ids.h"
#include "ui/controls/probe.h"
#include "ui/controls/scoped.h"

namespace scourly::gui {
namespace {

// The header's sections, named by their captions.
class HeaderParts : public AccessibleParts {
 public:
  explicit HeaderParts(HWND header) : header_(header) {}
  long Role() const override { return ROLE_SYSTEM_LIST; }
  long PartRole() const override { return ROLE_SYSTEM_COLUMNHEADER; }
  int Count() const override {
    return static_cast<int>(SendMessageW(header_, HDM_GETITEMCOUNT, 0, 0));
  }
  std::wstring Name(int section) const override {
    wchar_t text[256] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    if (!SendMessageW(header_, HDM_GETITEMW, section, reinterpret_cast<LPARAM>(&item))) return {};
    return text;
  }
  long State(int) const override { return STATE_SYSTEM_READONLY; }
  bool Bounds(int section, RECT& client) const override {
    return SendMessageW(header_, HDM_GETITEMRECT, section, reinterpret_cast<LPARAM>(&client)) != 0;
  }

 private:
  HWND header_;
};

}  // namespace

void VirtualList::Create(HWND parent, int id, std::vector<ListColumn> columns, Events events) {
  columns_ = std::move(columns);
  events_ = std::move(events);
  Register(kListViewClass, GetSysColorBrush(COLOR_WINDOW));
  // The border holds header and rows together, so columns line up.
  Window::Create(WS_EX_CLIENTEDGE, kListViewClass, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
  HINSTANCE inst = GetModuleHandleW(nullptr);
  if (!columns_.empty()) {
    // Sections behave as buttons: without HDS_BUTTONS a click on one is no
    // HDN_ITEMCLICK, and the columns would never sort.
    header_ = CreateWindowExW(0, WC_HEADERW, L"",
                              WS_CHILD | WS_VISIBLE | HDS_HORZ | HDS_FULLDRAG | HDS_BUTTONS,
                              0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(kIdListHeader), inst,
                              nullptr);
    for (size_t i = 0; i < columns_.size(); ++i) {
      HDITEMW item{};
      item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
      item.fmt = HDF_LEFT | HDF_STRING;
      item.cxy = columns_[i].width96;
      item.pszText = const_cast<wchar_t*>(columns_[i].caption);
      SendMessageW(header_, HDM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
      captions_.push_back(Narrow(columns_[i].caption));
    }
    headerAccess_.Attach(header_, std::make_unique<HeaderParts>(header_));
  }
  // No strings and no item data: the rows live in the model; the list box
  // keeps only their count and selection.
  list_ = CreateWindowExW(0, L"LISTBOX", L"",
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NODATA |
                              LBS_OWNERDRAWFIXED | LBS_EXTENDEDSEL | LBS_NOTIFY |
                              LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT,
                          0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(kIdListInner), inst, nullptr);
  rowsAccess_.Attach(list_, std::make_unique<ListBoxParts>(
                                list_, [this](int row) { return AccessibleName(row); }));
}

void VirtualList::SetMetrics(HFONT font, Dpi dpi) {
  font_ = font;
  dpi_ = dpi;
  headerHeight_ = dpi(17);
  if (header_) {
    SendMessageW(header_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    for (size_t i = 0; i < columns_.size(); ++i) {
      HDITEMW item{};
      item.mask = HDI_WIDTH;
      item.cxy = dpi(columns_[i].width96);
      SendMessageW(header_, HDM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
  }
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  TEXTMETRICW tm{};
  {
    ScopedGetDC dc(list_);
    ScopedSelectObject select(dc.get(), font);
    GetTextMetricsW(dc.get(), &tm);
  }
  SendMessageW(list_, LB_SETITEMHEIGHT, 0, tm.tmHeight + dpi(2));
  Layout();
  InvalidateRect(list_, nullptr, TRUE);
}

void VirtualList::Move(int x, int y, int w, int h) {
  MoveWindow(hwnd(), x, y, w, h, TRUE);
  Layout();
}

void VirtualList::Show(bool visible) { ShowWindow(hwnd(), visible ? SW_SHOW : SW_HIDE); }

void VirtualList::Layout() {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  int top = 0;
  if (header_) {
    MoveWindow(header_, 0, 0, rc.right, headerHeight_, TRUE);
    top = headerHeight_;
  }
  MoveWindow(list_, 0, top, rc.right, std::max<int>(0, rc.bottom - top), TRUE);
}

void VirtualList::SetCount(int count) {
  SendMessageW(list_, LB_SETCOUNT, count, 0);
  // The list box keeps the flags of rows that remain; new rows start unselected.
  SendMessageW(list_, LB_SETSEL, FALSE, -1);
  InvalidateRect(list_, nullptr, TRUE);
  rowsAccess_.AnnounceReplaced();
}

void VirtualList::ApplySelection(int count, const std::function<bool(int)>& selected, int caret) {
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list_, LB_SETSEL, FALSE, -1);
  // One message per run of selected rows, so "select all" over a million
  // rows is one call.
  std::vector<int> rows;
  for (int i = 0; i < count;) {
    if (!selected(i)) {
      ++i;
      continue;
    }
    int j = i;
    while (j + 1 < count && selected(j + 1)) ++j;
    SendMessageW(list_, LB_SELITEMRANGEEX, i, j);
    for (int k = i; k <= j; ++k) rows.push_back(k);
    i = j + 1;
  }
  if (caret >= 0 && caret < count) SendMessageW(list_, LB_SETCARETINDEX, caret, FALSE);
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
  rowsAccess_.AnnounceSelection(rows);
  rowsAccess_.AnnounceFocus();
}

bool VirtualList::ModelHas(int row) const {
  return row >= 0 && events_.rowCount && row < events_.rowCount();
}

void VirtualList::ReportSelection() {
  int n = static_cast<int>(SendMessageW(list_, LB_GETSELCOUNT, 0, 0));
  std::vector<int> rows(std::max(n, 0));
  if (n > 0) SendMessageW(list_, LB_GETSELITEMS, n, reinterpret_cast<LPARAM>(rows.data()));
  int caret = static_cast<int>(SendMessageW(list_, LB_GETCARETINDEX, 0, 0));
  rowsAccess_.AnnounceSelection(rows);
  if (events_.selectionChanged) events_.selectionChanged(std::move(rows), caret);
}

std::wstring VirtualList::AccessibleName(int row) const {
  if (!ModelHas(row)) return {};
  if (!header_) return events_.rowText ? Widen(events_.rowText(row)) : std::wstring();
  return Widen(ColumnsName(captions_, [this, row](int column) {
    return events_.cellText ? events_.cellText(row, column) : std::string();
  }));
}

void VirtualList::DrawRow(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  const RECT& rc = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &rc, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const int row = static_cast<int>(item.itemID);
  if (ModelHas(row)) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ScopedSelectObject font(dc, font_);
    constexpr UINT kFormat = DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP | DT_END_ELLIPSIS;
    if (!header_) {
      std::wstring text = events_.rowText ? Widen(events_.rowText(row)) : std::wstring();
      RECT cell{rc.left + dpi_(2), rc.top + dpi_(1), rc.right, rc.bottom};
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &cell, kFormat);
    } else {
      int sections = static_cast<int>(SendMessageW(header_, HDM_GETITEMCOUNT, 0, 0));
      for (int k = 0; k < sections; ++k) {
        RECT section{};
        SendMessageW(header_, HDM_GETITEMRECT, k, reinterpret_cast<LPARAM>(&section));
        // Each column from the row's own field: a name holding ";" shows
        // whole in its column.
        std::wstring field = events_.cellText ? Widen(events_.cellText(row, k)) : std::wstring();
        // Header and list box share their left edge.
        RECT cell{section.left + dpi_(2), rc.top + dpi_(1), section.right - dpi_(2), rc.bottom};
        DrawTextW(dc, field.c_str(), static_cast<int>(field.size()), &cell, kFormat);
      }
    }
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &rc);
}

LRESULT VirtualList::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item->hwndItem == list_) {
        DrawRow(*item);
        return TRUE;
      }
      break;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      item->itemHeight = 16;  // replaced by SetMetrics once the font is known
      return TRUE;
    }
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lp) == list_ && HIWORD(wp) == LBN_SELCHANGE) {
        ReportSelection();
        return 0;
      }
      if (reinterpret_cast<HWND>(lp) == list_ && HIWORD(wp) == LBN_DBLCLK) {
        if (events_.doubleClick) events_.doubleClick();
        return 0;
      }
      break;
    case WM_VKEYTOITEM:
      // -2: handled here; -1: the list box goes on with the key.
      if (reinterpret_cast<HWND>(lp) == list_ && events_.keyDown &&
          events_.keyDown(LOWORD(wp)))
        return -2;
      return -1;
    case WM_NOTIFY: {
      const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
      if (hdr->hwndFrom == header_ && (hdr->code == HDN_ITEMCHANGEDW || hdr->code == HDN_ITEMCHANGEDA ||
                                       hdr->code == HDN_TRACKW || hdr->code == HDN_TRACKA)) {
        InvalidateRect(list_, nullptr, TRUE);
      }
      if (hdr->hwndFrom == header_ && (hdr->code == HDN_ITEMCLICKW || hdr->code == HDN_ITEMCLICKA)) {
        if (events_.headerClick) events_.headerClick(reinterpret_cast<const NMHEADERW*>(lp)->iItem);
        return 0;
      }
      break;
    }
    case WM_CONTEXTMENU: {
      POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (pt.x == -1 && pt.y == -1) {  // from the keyboard: below the focused row
        RECT rc{};
        int caret = static_cast<int>(SendMessageW(list_, LB_GETCARETINDEX, 0, 0));
        if (caret < 0 || SendMessageW(list_, LB_GETITEMRECT, caret, reinterpret_cast<LPARAM>(&rc)) ==
                             LB_ERR)
          GetClientRect(list_, &rc);
        pt = {rc.left + dpi_(8), rc.bottom};
        ClientToScreen(list_, &pt);
      }
      if (events_.contextMenu) events_.contextMenu(pt);
      return 0;
    }
    case kMsgGetRowText: {
      const int row = static_cast<int>(wp);
      if (!ModelHas(row) || !events_.rowText) return -1;
      return ProbeAnswer(Widen(events_.rowText(row)));
    }
    case kMsgProbeBuffer:
      return reinterpret_cast<LRESULT>(ProbeBuffer());
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace scourly::gui
