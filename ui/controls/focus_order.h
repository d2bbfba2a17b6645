// Keyboard focus between the controls of a window that no dialog manager
// serves (the main window): a control made a tab stop here asks its
// top-level window where Tab and Shift+Tab go (kMsgNextTabStop), and where
// Ctrl+Tab and Ctrl+Shift+Tab turn the page (kMsgNextPage), so the window
// alone decides the order.
#pragma once

#include <windows.h>

namespace scourly::gui {

// Sent to the top-level window: the control to focus after (wParam 0) or
// before (wParam 1) the control lParam; 0 for none.
inline constexpr UINT kMsgNextTabStop = WM_APP + 40;
// Sent to the top-level window: show the next (wParam 0) or previous
// (wParam 1) page.
inline constexpr UINT kMsgNextPage = WM_APP + 41;

// Subclasses `control` so that it hands the Tab keys to its top-level window.
void AddTabStop(HWND control);

// Focuses `control`; an edit reached so has its text selected, as in a dialog.
void FocusTabStop(HWND control);

}  // namespace scourly::gui
