// The main window: draws TMainForm's control models with real Win32 controls
// and turns what the user does into calls of TMainForm's handlers. It takes
// no decision of its own: after every handler (and whenever a running scan
// pumps messages, or a message box is about to run its own loop) it copies
// what changed in the models onto the controls.
//
// The class is split by concern: creation, layout and DPI
// (main_window_create.cpp), copying the models (main_window_sync.cpp),
// commands and notifications (main_window_commands.cpp), the "IE Cache" and
// "More" pages (main_window_cache_sheet.cpp, main_window_more_sheet.cpp), the
// "Web Browsers" page (main_window_web_sheet.cpp) and
// the tray icon (main_window_tray.cpp).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "platform/views.h"
#include "platform/win32/win32_platform.h"
#include "ui/controls/image_strip.h"
#include "ui/controls/scoped.h"
#include "ui/controls/sheet.h"
#include "ui/controls/status_bar.h"
#include "ui/controls/tab_control.h"
#include "ui/controls/tool_bar.h"
#include "ui/controls/virtual_list.h"
#include "ui/controls/window.h"
#include "ui/main/command_table.h"

namespace scourly::gui {

class MainWindow : public Window, public FormView {
 public:
  MainWindow(TMainForm& form, Win32Ui& ui);
  ~MainWindow() override;

  // Creates the window and its controls, hidden, and runs FormCreate.
  void Create();
  // Shows the window for the first time (FormShow).
  void ShowFirst();
  // Copies every model that changed onto its control.
  void Sync();

  // FormView: what the logic asks of the main window.
  void Show() override;
  void ShowModal() override { Show(); }
  void Hide() override;
  void Close() override;

  // Runs a handler; an error escaping it is shown in the standard error box
  // and the program goes on. The controls are brought up to date afterwards.
  void Run(const std::function<void()>& handler);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct ListSync {
    uint64_t revision = ~0ull;
    uint64_t selectionRevision = ~0ull;
    int caret = -2;
  };
  struct ButtonState {
    bool enabled = true;
    std::string hint;
    bool known = false;
  };
  struct MenuState {
    bool enabled = true;
    std::string caption;
    bool known = false;
  };

  // ---- Creation, layout, DPI ----
  void CreateControls();
  void CreateMenus();
  void CreateLists();
  void CreateCacheSheet();
  void CreateMoreSheet();
  void CreateWebSheet();
  void SetWebSheetFonts(HFONT font);
  void LayoutWebSheet();
  void SyncWebSheet();
  void OnWebSheetCommand(int id, int code);
  void SetCacheSheetFonts(HFONT font);
  void SetMoreSheetFonts(HFONT font);
  // Fonts, pictures and sizes for the window's DPI.
  void ApplyDpi(int dpi);
  void Layout();
  void LayoutCacheSheet();
  void ResizeFromModel();

  // ---- Copying the models ----
  void SyncToolBar();
  void SyncMenus();
  void SyncStatusBar();
  void SyncTabs();
  void SyncLists();
  void SyncCacheSheet();
  void SyncMoreSheet();
  void SyncMoreSheetState();  // check marks, texts and hints of the "More" page
  void ShowSheets();

  // ---- Commands and notifications ----
  void OnCommand(int id, int code, HWND from);
  void OnCacheSheetCommand(int id, int code);
  void OnMoreSheetCommand(int id, int code, HWND control);
  void OnNotify(const NMHDR& hdr, LRESULT& result, bool& handled);
  void OnListSelection(int listIndex, std::vector<int> rows, int caret);
  void ShowPopup(POINT screen);
  void DrawMenuPicture(const DRAWITEMSTRUCT& item) const;
  HMENU MenuOf(MenuOwner owner) const;
  LRESULT MenuCaption(int id) const;
  int MenuEnabled(int id) const;

  // ---- Keyboard focus (main_window_focus.cpp) ----
  void AddTabStops();
  // A sheet's own tab stops, in creation order (group boxes have none).
  static std::vector<HWND> SheetTabStops(HWND sheet);
  // The controls Tab walks, in order: the toolbar, the tabs, then what the
  // active page holds; only those that can take the focus now.
  std::vector<HWND> TabStops() const;
  HWND NextTabStop(HWND from, bool back) const;
  void TurnPage(bool back);
  // The active page's first control takes the focus when the focus is lost
  // (its control was hidden with its page) or rests on the window itself.
  void KeepFocusOnPage();
  void FocusPage();

  // ---- Tray ----
  void AddTrayIcon();
  void RemoveTrayIcon();

  TMainForm& form_;
  Win32Ui& ui_;
  Dpi dpi_;
  ImageStrip images_;
  Font mainFont_;   // MS Sans Serif 8 pt: the form's font
  Font arialFont_;  // Arial 8 pt: the page control, its lists and sheets
  bool created_ = false;
  bool shownOnce_ = false;

  ToolBarControl toolBar_;
  StatusBarControl statusBar_;
  TabControl pageControl1_;
  TabControl pageControl2_;
  HMENU menuBar_ = nullptr;  // the window destroys it with itself
  ScopedMenu popup_;
  ScopedIcon icon_;
  ScopedIcon smallIcon_;
  bool trayAdded_ = false;
  UINT taskbarCreated_ = 0;

  // ListBox1 to ListBox6; all but ListBox4 are result lists.
  static constexpr int kWebList = 5;
  std::array<VirtualList, 6> lists_;
  std::array<ListSync, 6> listSync_;
  ResultList& ResultListAt(int i) {
    return i == kWebList ? form_.ListBox6 : *form_.ResultListOfTab(i);
  }

  // The "Web Browsers" page: three check boxes above ListBox6.
  Sheet webSheet_;
  std::array<HWND, 3> webChecks_{};  // WCache, WCookies, WHistory
  std::array<int, 3> shownWebChecks_{-1, -1, -1};

  // The "IE Cache" page: ListBox4 above, the filter and the file
  // information below.
  Sheet cacheSheet_;
  HWND radioGroup1_ = nullptr;
  std::array<HWND, 4> radioButtons_{};
  HWND groupBox1_ = nullptr;
  std::array<HWND, 4> infoLabels_{};  // Label1 to Label4
  int shownFilter_ = -2;
  std::array<std::string, 4> shownLabels_;

  // The "More" page.
  Sheet moreSheet_;
  HWND groupBox2_ = nullptr, groupBox3_ = nullptr;
  HWND label13_ = nullptr;
  std::array<HWND, 6> checkBoxes_{};     // NCache, NCookies, NHistory, OCache, OCookies, OHistory
  std::array<HWND, 4> pathEdits_{};      // NProfile, NCacheDir, OProgramDir, OCacheDir
  std::array<HWND, 4> pathLabels_{};
  std::array<HWND, 4> browseButtons_{};  // SpeedButton1 to SpeedButton4
  std::array<HWND, 2> pushButtons_{};    // ClearBtn, SaveBtn
  HWND moreHints_ = nullptr;  // the push buttons' tooltip; owned by the window, dies with it
  std::vector<int> moreApplied_;  // the bounds last applied to the "More" controls
  // What the "More" controls show, as last copied from (or typed into) the
  // models; each part is copied again only when its model moved away from it.
  struct MoreShown {
    bool known = false;
    std::string note;
    std::array<bool, 6> checked{};
    std::array<std::string, 6> checkCaptions;
    std::array<std::string, 4> editTexts;
    std::array<std::string, 2> captions, hints;
  };
  MoreShown moreShown_;
  bool settingEditText_ = false;  // an EN_CHANGE now is the window's own copy, not typing

  std::vector<ButtonState> buttonState_;
  std::vector<MenuState> menuState_;
  uint64_t statusRevision_ = ~0ull;
  int shownTab_ = -1;
  int shownSubTab_ = -1;
  LPARAM settleMark_ = 0;  // the end-to-end tests' last settle mark
  HWND lastFocus_ = nullptr;  // the control that had the focus when the window was left
};

}  // namespace scourly::gui
