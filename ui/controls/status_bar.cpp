#include "ui/controls/status_bar.h"

#include <memory>

namespace scourly::gui {
namespace {

// The panels, read by their texts.
class PanelParts : public AccessibleParts {
 public:
  explicit PanelParts(HWND bar) : bar_(bar) {}
  long Role() const override { return ROLE_SYSTEM_STATUSBAR; }
  long PartRole() const override { return ROLE_SYSTEM_STATICTEXT; }
  int Count() const override { return static_cast<int>(SendMessageW(bar_, SB_GETPARTS, 0, 0)); }
  std::wstring Name(int panel) const override {
    std::wstring text(LOWORD(SendMessageW(bar_, SB_GETTEXTLENGTHW, panel, 0)) + 1, L'\0');
    text.resize(LOWORD(SendMessageW(bar_, SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(text.data()))));
    return text;
  }
  long State(int) const override { return STATE_SYSTEM_READONLY; }
  bool Bounds(int panel, RECT& client) const override {
    return SendMessageW(bar_, SB_GETRECT, panel, reinterpret_cast<LPARAM>(&client)) != 0;
  }

 private:
  HWND bar_;
};

}  // namespace

void StatusBarControl::Create(HWND parent, int id) {
  bar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                         0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
  access_.Attach(bar_, std::make_unique<PanelParts>(bar_));
}

void StatusBarControl::SetParts(const std::vector<int>& widths96, Dpi dpi) {
  std::vector<int> edges;
  int right96 = 0;
  for (int width : widths96) edges.push_back(dpi(right96 += width));
  edges.back() = -1;
  SendMessageW(bar_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void StatusBarControl::SetText(int panel, const std::wstring& text) {
  SendMessageW(bar_, SB_SETTEXTW, panel, reinterpret_cast<LPARAM>(text.c_str()));
}

int StatusBarControl::Height() const {
  RECT rc;
  GetWindowRect(bar_, &rc);
  return rc.bottom - rc.top;
}

void StatusBarControl::FitToParent() { SendMessageW(bar_, WM_SIZE, 0, 0); }

}  // namespace scourly::gui
