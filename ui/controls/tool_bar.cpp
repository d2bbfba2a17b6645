#include "ui/controls/tool_bar.h"

#include <memory>

#include "lists/accessible_text.h"
#include "platform/win32/win32_platform.h"

namespace scourly::gui {
namespace {

constexpr UINT_PTR kKeyboardSubclass = 1;

// The buttons, named by their hints; pressing one is its default action.
class ButtonParts : public AccessibleParts {
 public:
  explicit ButtonParts(const ToolBarControl& bar) : bar_(bar) {}
  long Role() const override { return ROLE_SYSTEM_TOOLBAR; }
  long PartRole() const override { return ROLE_SYSTEM_PUSHBUTTON; }
  int Count() const override { return static_cast<int>(bar_.Buttons().size()); }
  std::wstring Name(int part) const override {
    return Widen(NameFromHint(Narrow(bar_.Hint(bar_.Buttons().at(part).cmd))));
  }
  long State(int part) const override {
    const int cmd = bar_.Buttons().at(part).cmd;
    long state = STATE_SYSTEM_FOCUSABLE;
    if (!bar_.Enabled(cmd)) state |= STATE_SYSTEM_UNAVAILABLE;
    if (part == Hot()) state |= STATE_SYSTEM_HOTTRACKED;
    if (part == Focused()) state |= STATE_SYSTEM_FOCUSED;
    return state;
  }
  bool Bounds(int part, RECT& client) const override {
    return SendMessageW(bar_.hwnd(), TB_GETITEMRECT, bar_.Buttons().at(part).index,
                        reinterpret_cast<LPARAM>(&client)) != 0;
  }
  int Focused() const override { return GetFocus() == bar_.hwnd() ? Hot() : -1; }
  std::wstring DefaultAction(int) const override { return L"Press"; }
  bool DoDefaultAction(int part) override {
    const int cmd = bar_.Buttons().at(part).cmd;
    if (!bar_.Enabled(cmd)) return false;
    bar_.Press(cmd);
    return true;
  }

 private:
  int Hot() const {
    const int index = static_cast<int>(SendMessageW(bar_.hwnd(), TB_GETHOTITEM, 0, 0));
    const std::vector<ToolBarControl::Place> buttons = bar_.Buttons();
    for (size_t i = 0; i < buttons.size(); ++i) {
      if (buttons[i].index == index) return static_cast<int>(i);
    }
    return -1;
  }

  const ToolBarControl& bar_;
};

}  // namespace

ToolBarControl::~ToolBarControl() {
  if (bar_ && IsWindow(bar_)) RemoveWindowSubclass(bar_, &ToolBarControl::Keyboard, kKeyboardSubclass);
}

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
  // The keyboard first, so the reader hears of the button the keys reached.
  SetWindowSubclass(bar_, &ToolBarControl::Keyboard, kKeyboardSubclass,
                    reinterpret_cast<DWORD_PTR>(this));
  access_.Attach(bar_, std::make_unique<ButtonParts>(*this));
}

std::vector<ToolBarControl::Place> ToolBarControl::Buttons() const {
  std::vector<Place> places;
  const int count = static_cast<int>(SendMessageW(bar_, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    TBBUTTON b{};
    SendMessageW(bar_, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
    if (!(b.fsStyle & BTNS_SEP)) places.push_back({b.idCommand, i});
  }
  return places;
}

const std::wstring& ToolBarControl::Hint(int cmd) const {
  static const std::wstring none;
  auto it = hints_.find(cmd);
  return it == hints_.end() ? none : it->second;
}

void ToolBarControl::Press(int cmd) const {
  // Posted: a reader's call returns at once, whatever the command then does.
  PostMessageW(GetParent(bar_), WM_COMMAND, MAKEWPARAM(cmd, BN_CLICKED),
               reinterpret_cast<LPARAM>(bar_));
}

void ToolBarControl::MoveHot(int step) {
  std::vector<int> enabled;  // indexes on the bar
  for (const Place& place : Buttons()) {
    if (Enabled(place.cmd)) enabled.push_back(place.index);
  }
  if (enabled.empty()) {
    SendMessageW(bar_, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
    return;
  }
  const int hot = static_cast<int>(SendMessageW(bar_, TB_GETHOTITEM, 0, 0));
  int at = -1;
  for (size_t i = 0; i < enabled.size(); ++i) {
    if (enabled[i] == hot) at = static_cast<int>(i);
  }
  const int n = static_cast<int>(enabled.size());
  const int next = at < 0 ? (step < 0 ? n - 1 : 0) : ((at + step) % n + n) % n;
  SendMessageW(bar_, TB_SETHOTITEM, enabled[next], 0);
}

LRESULT CALLBACK ToolBarControl::Keyboard(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                          DWORD_PTR data) {
  auto* self = reinterpret_cast<ToolBarControl*>(data);
  switch (msg) {
    case WM_SETFOCUS: {
      LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
      self->MoveHot(0);
      return result;
    }
    case WM_KILLFOCUS:
      SendMessageW(hwnd, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      switch (wp) {
        case VK_LEFT:
        case VK_UP:
          self->MoveHot(-1);
          return 0;
        case VK_RIGHT:
        case VK_DOWN:
          self->MoveHot(1);
          return 0;
        case VK_HOME:
          SendMessageW(hwnd, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
          self->MoveHot(0);
          return 0;
        case VK_END:
          SendMessageW(hwnd, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
          self->MoveHot(-1);
          return 0;
        case VK_SPACE:
        case VK_RETURN: {
          const int hot = static_cast<int>(SendMessageW(hwnd, TB_GETHOTITEM, 0, 0));
          for (const Place& place : self->Buttons()) {
            if (place.index == hot && self->Enabled(place.cmd)) self->Press(place.cmd);
          }
          return 0;
        }
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, &ToolBarControl::Keyboard, id);
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
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
