#include "ui/controls/tab_control.h"

namespace scourly::gui {

void TabControl::Create(HWND parent, int id, DWORD style, const std::vector<Tab>& tabs) {
  tabs_ = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0,
                          parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
  for (size_t i = 0; i < tabs.size(); ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | (tabs[i].image >= 0 ? TCIF_IMAGE : 0);
    item.pszText = const_cast<wchar_t*>(tabs[i].caption);
    item.iImage = tabs[i].image;
    SendMessageW(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
}

int TabControl::Selected() const { return static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)); }

void TabControl::Select(int index) {
  if (Selected() != index) SendMessageW(tabs_, TCM_SETCURSEL, index, 0);
}

RECT TabControl::PageRect() const {
  RECT rc;
  GetWindowRect(tabs_, &rc);
  MapWindowPoints(nullptr, GetParent(tabs_), reinterpret_cast<POINT*>(&rc), 2);
  SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rc));
  return rc;
}

int TabControl::RowCount() const {
  return static_cast<int>(SendMessageW(tabs_, TCM_GETROWCOUNT, 0, 0));
}

}  // namespace scourly::gui
