#include "ui/controls/tab_control.h"

#include <iterator>
#include <memory>

namespace scourly::gui {
namespace {

// The tabs, named by their captions; the shown one is selected.
class TabParts : public AccessibleParts {
 public:
  explicit TabParts(HWND tabs) : tabs_(tabs) {}
  long Role() const override { return ROLE_SYSTEM_PAGETABLIST; }
  long PartRole() const override { return ROLE_SYSTEM_PAGETAB; }
  int Count() const override { return static_cast<int>(SendMessageW(tabs_, TCM_GETITEMCOUNT, 0, 0)); }
  std::wstring Name(int tab) const override {
    wchar_t text[256] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    if (!SendMessageW(tabs_, TCM_GETITEMW, tab, reinterpret_cast<LPARAM>(&item))) return {};
    return text;
  }
  long State(int tab) const override {
    long state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if (tab == static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0))) state |= STATE_SYSTEM_SELECTED;
    if (tab == Focused()) state |= STATE_SYSTEM_FOCUSED;
    return state;
  }
  bool Bounds(int tab, RECT& client) const override {
    return SendMessageW(tabs_, TCM_GETITEMRECT, tab, reinterpret_cast<LPARAM>(&client)) != 0;
  }
  int Focused() const override {
    return GetFocus() == tabs_ ? static_cast<int>(SendMessageW(tabs_, TCM_GETCURFOCUS, 0, 0)) : -1;
  }
  std::vector<int> Selected() const override {
    const int tab = static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0));
    return tab >= 0 ? std::vector<int>{tab} : std::vector<int>{};
  }

 private:
  HWND tabs_;
};

}  // namespace

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
  access_.Attach(tabs_, std::make_unique<TabParts>(tabs_));
}

int TabControl::Selected() const { return static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)); }

void TabControl::Select(int index) {
  if (Selected() != index) SendMessageW(tabs_, TCM_SETCURSEL, index, 0);
  // Whoever chose the tab (a click, the keys, the program), the reader hears it.
  access_.AnnounceSelection({Selected()});
  access_.AnnounceFocus();
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
