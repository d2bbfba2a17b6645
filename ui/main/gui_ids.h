// Window classes, control identifiers, command identifiers and private
// messages of Scourly's windows. The end-to-end driver includes this file to
// find and drive the real controls from outside the process.
#pragma once

#include <windows.h>

#include "ui/controls/control_ids.h"

namespace scourly::gui {

inline constexpr wchar_t kMainWindowClass[] = L"ScourlyMainWindow";

// Children of the main window (the "More" controls: of its sheet).
enum ControlId : int {
  kIdToolBar1 = 100,
  kIdPageControl1 = 101,
  kIdPageControl2 = 102,
  kIdStatusBar1 = 103,
  kIdMoreSheet = 104,  // the "More" page; it holds the group boxes, edits and buttons
  kIdListBox1 = 111,  // kIdListBox1 + n - 1 is ListBoxN
  kIdListBox2 = 112,
  kIdListBox3 = 113,
  kIdListBox4 = 114,
  kIdListBox5 = 115,
  kIdGroupBox2 = 120,
  kIdGroupBox3 = 121,
  kIdNProfile = 122,
  kIdNCacheDir = 123,
  kIdOProgramDir = 124,
  kIdOCacheDir = 125,
  kIdSpeedButton1 = 126,  // up to kIdSpeedButton1 + 3
  kIdNProfileLabel = 130,  // the four edits' labels, in the same order
  kIdCacheSheet = 105,     // the "IE Cache" page; it holds ListBox4 and what follows
  kIdRadioGroup1 = 140,
  kIdFilterAll = 141,      // the filter's four buttons, kIdFilterAll + item index
  kIdGroupBox1 = 145,
  kIdLabel1 = 146,         // up to kIdLabel1 + 3 (Label4)
  kIdLabel13 = 150,        // the "More" page's note on closing the browsers
  kIdNCache = 151,         // the six check boxes: NCache, NCookies, NHistory,
  kIdNCookies = 152,       // then OCache, OCookies, OHistory
  kIdNHistory = 153,
  kIdOCache = 154,
  kIdOCookies = 155,
  kIdOHistory = 156,
  kIdClearBtn = 157,
  kIdSaveBtn = 158,
  kIdWebSheet = 106,       // the "Web Browsers" page: its boxes and ListBox6
  kIdListBox6 = 116,
  kIdWCache = 160,         // its three boxes: Cache, Cookies, History
  kIdWCookies = 161,
  kIdWHistory = 162,
};

// Commands: toolbar buttons, then menu items. Each sends WM_COMMAND with
// its id to the main window.
enum CommandId : int {
  kCmdFindFilesTB = 1001,
  kCmdStopTB,
  kCmdClearTB,
  kCmdDeleteAllTB,
  kCmdDeleteSelTB,
  kCmdDeletePerTB,
  kCmdOpenTB,
  kCmdSelectAllTB,
  kCmdInvertSelTB,
  kCmdToolButton1,
  kCmdOptionsTB,

  kCmdScanUnneededFiles1 = 2001,
  kCmdScanforRecentDocuments1,
  kCmdScanforFavorites1,
  kCmdScanforIECahefiles1,
  kCmdScanforDeadShortcuts1,
  kCmdOptions1,
  kCmdExit1,
  kCmdNScourlyHelp1,
  kCmdHomePage1,
  kCmdFrequentlyAskedQuestions1,
  kCmdProductUpdate1,
  kCmdCommentsandSuggestions1,
  kCmdReportBug1,
  kCmdVelmoraProducts1,
  kCmdAdvertisewithUs1,
  kCmdAboutDlg,
  kCmdServiceLink1,  // the three items of "&Development Services"
  kCmdServiceLink2,
  kCmdServiceLink3,
  kCmdDeletionLog1,  // "Deletion Log"

  kCmdFindFiles1 = 3001,
  kCmdOpen1,
  kCmdDelete1,
  kCmdDeletePermanently1,
  kCmdSelectAll1,
  kCmdInvertSelection1,
  kCmdNeverListFile1,
  kCmdNeverListFolder1,
};

// Sent to the main window: puts the caption of the menu item with the command
// id wParam into the probe buffer the same way (menus cannot be read from
// another process under every Windows the program runs on).
inline constexpr UINT kMsgGetMenuCaption = WM_APP + 11;

// Sent to the main window: 1 when the menu item with the command id wParam is
// enabled, 0 when disabled, -1 when there is no such item.
inline constexpr UINT kMsgGetMenuEnabled = WM_APP + 12;

// Posted to the main window with a number in lParam, which the window keeps;
// kMsgSettleMarkRead (sent) returns it. Posted messages are handled in the
// order they were posted, so once the number comes back every message posted
// before it (a click, a key) has been handled.
inline constexpr UINT kMsgSettleMark = WM_APP + 14;
inline constexpr UINT kMsgSettleMarkRead = WM_APP + 15;

// The tray icon's callback message.
inline constexpr UINT kMsgTrayIcon = WM_APP + 1;

}  // namespace scourly::gui
