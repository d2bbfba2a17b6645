#include "ui/controls/sheet.h"

#include "ui/controls/control_ids.h"

namespace scourly::gui {

void Sheet::Create(HWND parent, int id) {
  Register(kSheetClass, GetSysColorBrush(COLOR_BTNFACE));
  // No WS_CLIPCHILDREN: the page paints its background under the group
  // boxes, whose insides are transparent.
  Window::Create(WS_EX_CONTROLPARENT, kSheetClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

LRESULT Sheet::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CONTEXTMENU:
      return SendMessageW(GetParent(hwnd()), msg, wp, lp);
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace scourly::gui
