#include "ui/controls/status_bar.h"

namespace scourly::gui {

void StatusBarControl::Create(HWND parent, int id) {
  bar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                         0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
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
