// Window classes, child identifiers and private messages of the reusable
// controls. The main window's own identifiers are in ui/main/gui_ids.h.
#pragma once

#include <windows.h>

namespace scourly::gui {

inline constexpr wchar_t kListViewClass[] = L"ScourlyListView";
// The dialogs' window class: the dialog manager's own.
inline constexpr wchar_t kDialogClass[] = L"#32770";
inline constexpr wchar_t kSheetClass[] = L"ScourlySheet";

// The list box inside each list view window.
inline constexpr int kIdListInner = 1;
inline constexpr int kIdListHeader = 2;

// Sent to a list view window: puts the text of row wParam (its fields joined
// by ";") into the program's probe buffer (ui/controls/probe.h). Returns the
// length, or -1 when the row does not exist.
inline constexpr UINT kMsgGetRowText = WM_APP + 10;

// Sent to any of the program's windows: the address of the probe buffer.
inline constexpr UINT kMsgProbeBuffer = WM_APP + 13;

}  // namespace scourly::gui
