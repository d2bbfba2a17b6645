// The main window: draws TMainForm's control models with real Win32 controls
// and turns what the user does into calls of TMainForm's handlers. It takes
// no decision of its own: after every handler (and whenever a running scan
// pumps messages) it copies what changed in the models onto the controls.
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
#include "ui/controls/image_strip.h"
#include "ui/controls/sheet.h"
#include "ui/controls/virtual_list.h"
#include "ui/controls/window.h"
#include "platform/win32/win32_platform.h"

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
    std::wstring hint;
    bool known = false;
  };
  struct MenuState {
    bool enabled = true;
    std::string caption;
    bool known = false;
  };

  void CreateControls();
  void CreateToolBar();
  void CreateMenus();
  void CreateTabs();
  void CreateLists();
  void CreateMoreSheet();
  void AddTrayIcon();
  void RemoveTrayIcon();
  // Fonts, pictures and sizes for the window's DPI.
  void ApplyDpi(int dpi);
  void Layout();
  RECT PageRect() const;      // PageControl1's sheet area, in client coordinates
  RECT SubPageRect() const;   // PageControl2's sheet area
  void ResizeFromModel();

  void SyncToolBar();
  void SyncMenus();
  void SyncStatusBar();
  void SyncTabs();
  void SyncLists();
  void SyncMoreSheet();
  void ShowSheets();

  void OnCommand(int id, HWND from);
  void OnNotify(const NMHDR& hdr, LRESULT& result, bool& handled);
  void OnListSelection(int listIndex, std::vector<int> rows, int caret);
  void ShowPopup(POINT screen);
  void DrawMenuPicture(const DRAWITEMSTRUCT& item) const;
  LRESULT CopyMenuText(int id, wchar_t* out) const;
  int MenuEnabled(int id) const;

  TMainForm& form_;
  Win32Ui& ui_;
  Dpi dpi_;
  ImageStrip images_;
  Font mainFont_;   // MS Sans Serif 8 pt: the form's font
  Font arialFont_;  // Arial 8 pt: the page control, its lists and sheets
  bool created_ = false;
  bool shownOnce_ = false;

  HWND toolBar_ = nullptr;
  HWND toolTip_ = nullptr;
  HWND statusBar_ = nullptr;
  HWND pageControl1_ = nullptr;
  HWND pageControl2_ = nullptr;
  Sheet moreSheet_;  // the "More" page
  HMENU menuBar_ = nullptr;
  HMENU popup_ = nullptr;
  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;
  bool trayAdded_ = false;
  UINT taskbarCreated_ = 0;

  std::array<VirtualList, 5> lists_;  // ListBox1 to ListBox5
  std::array<ListSync, 5> listSync_;
  HWND groupBox2_ = nullptr, groupBox3_ = nullptr;
  std::array<HWND, 4> pathEdits_{};      // NProfile, NCacheDir, OProgramDir, OCacheDir
  std::array<HWND, 4> pathLabels_{};
  std::array<HWND, 4> browseButtons_{};  // SpeedButton1 to SpeedButton4

  std::vector<ButtonState> buttonState_;
  std::vector<MenuState> menuState_;
  uint64_t statusRevision_ = ~0ull;
  int shownTab_ = -1;
  int shownSubTab_ = -1;
  std::vector<int> moreApplied_;  // the bounds last applied to the "More" controls
};

}  // namespace scourly::gui
