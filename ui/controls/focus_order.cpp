#include "ui/controls/focus_order.h"

#include <commctrl.h>

namespace scourly::gui {
namespace {

constexpr UINT_PTR kTabStopSubclass = 0x7AB;

LRESULT CALLBACK TabKeys(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
  switch (msg) {
    case WM_KEYDOWN: {
      if (wp != VK_TAB) break;
      const WPARAM back = GetKeyState(VK_SHIFT) < 0 ? 1 : 0;
      HWND root = GetAncestor(hwnd, GA_ROOT);
      if (GetKeyState(VK_CONTROL) < 0) {
        SendMessageW(root, kMsgNextPage, back, 0);
      } else if (HWND next = reinterpret_cast<HWND>(
                     SendMessageW(root, kMsgNextTabStop, back, reinterpret_cast<LPARAM>(hwnd)))) {
        FocusTabStop(next);
      }
      return 0;
    }
    case WM_CHAR:
      if (wp == L'\t') return 0;  // an edit would beep at it
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, TabKeys, id);
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void AddTabStop(HWND control) { SetWindowSubclass(control, TabKeys, kTabStopSubclass, 0); }

void FocusTabStop(HWND control) {
  SetFocus(control);
  if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
    SendMessageW(control, EM_SETSEL, 0, -1);
}

}  // namespace scourly::gui
