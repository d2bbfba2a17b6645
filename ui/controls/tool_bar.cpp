#include "ui/controls/tool_bar.h"

namespace scourly::gui {

void ToolBarControl::Create(HWND parent, int id, const std::vector<Button>& buttons) {
  bar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                         WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                             CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                         0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
  SendMessageW(bar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  std::vector<TBBUTTON> items;
  for (const Button& button : buttons) {
    TBBUTTON b{};
    if (button.cmd == 0) {
      b.iBitmap = 8;  // a separator's width
      b.fsStyle = BTNS_SEP;
    } else {
      b.iBitmap = button.image;
      b.idCommand = button.cmd;
      b.fsState = TBSTATE_ENABLED;
      b.fsStyle = BTNS_BUTTON;
      b.iString = -1;
    }
    items.push_back(b);
  }
  SendMessageW(bar_, TB_ADDBUTTONSW, items.size(), reinterpret_cast<LPARAM>(items.data()));
  toolTip_ = reinterpret_cast<HWND>(SendMessageW(bar_, TB_GETTOOLTIPS, 0, 0));
}

void ToolBarControl::SetMetrics(HIMAGELIST images, int imageSize, HFONT font, Dpi dpi) {
  SendMessageW(bar_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SendMessageW(bar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  SendMessageW(bar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(imageSize, imageSize));
  SendMessageW(bar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(dpi(23), dpi(22)));
  // Separators are 8 pixels at 96 DPI.
  int count = static_cast<int>(SendMessageW(bar_, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    TBBUTTON b{};
    SendMessageW(bar_, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
    if (!(b.fsStyle & BTNS_SEP)) continue;
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_SIZE | TBIF_BYINDEX;
    info.cx = static_cast<WORD>(dpi(8));
    SendMessageW(bar_, TB_SETBUTTONINFOW, i, reinterpret_cast<LPARAM>(&info));
  }
  if (toolTip_) {
    SendMessageW(toolTip_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, dpi(600));
  }
}

void ToolBarControl::Enable(int cmd, bool enabled) {
  SendMessageW(bar_, TB_ENABLEBUTTON, cmd, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

bool ToolBarControl::Enabled(int cmd) const {
  return SendMessageW(bar_, TB_ISBUTTONENABLED, cmd, 0) != 0;
}

void ToolBarControl::SetHint(int cmd, const std::wstring& hint) {
  std::wstring& stored = hints_[cmd];
  stored = hint;
  if (!toolTip_) return;
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = bar_;
  ti.uId = cmd;
  ti.lpszText = stored.data();
  SendMessageW(toolTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

bool ToolBarControl::AnswerHint(const NMHDR& hdr) {
  if (hdr.code != TTN_GETDISPINFOW || hdr.hwndFrom != toolTip_) return false;
  auto& info = *reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(&hdr));
  auto it = hints_.find(static_cast<int>(hdr.idFrom));
  if (it != hints_.end()) {
    info.lpszText = it->second.data();
    info.hinst = nullptr;
  }
  return true;
}

}  // namespace scourly::gui
