// The main window's logic: its control models, its state and its handlers.
// The Win32 window (ui/main) draws these models and calls these handlers; it
// takes no decision of its own. TMainForm routes each command to the page of
// the tab it concerns (app/*_tab.*), where the scans, refresh steps and
// deletions live.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "about/about.h"
#include "about/help_links.h"
#include "app/browser_cache_tab.h"
#include "app/file_tabs.h"
#include "delete/deletion.h"
#include "lists/app_title.h"
#include "lists/controls.h"
#include "options/uoptions.h"
#include "platform/platform.h"
#include "platform/views.h"

namespace scourly {

inline constexpr int kTabCount = 5;
inline constexpr int kTabUnneeded = 0;
inline constexpr int kTabRecent = 1;
inline constexpr int kTabFavorites = 2;
inline constexpr int kTabBrowserCache = 3;
inline constexpr int kTabDeadShortcuts = 4;
inline constexpr int kSubTabIECache = 0;
inline constexpr int kSubTabMore = 1;
inline constexpr int kSubTabWebBrowsers = 2;

class TMainForm {
 public:
  TMainForm(Platform& platform, TUOptionsDialog& options);

  // ---- State ----
  THelpLinks HelpLinks;
  TAboutDialog* aboutDialog = nullptr;  // set at program start
  bool StopFlag = false;
  std::array<std::string, kTabCount> TotalSizeText;
  std::vector<std::string> TypedUrlNames;

  // ---- Controls ----
  ToolButton FindFilesTB, StopTB, ClearTB, DeleteAllTB, DeleteSelTB, DeletePerTB, OpenTB,
      SelectAllTB, InvertSelTB, ToolButton1, OptionsTB;

  // "&File" and "&Help" menus.
  MenuItem ScanUnneededFiles1, ScanforRecentDocuments1, ScanforFavorites1, ScanforIECahefiles1,
      ScanforDeadShortcuts1, Options1, Exit1;
  MenuItem NScourlyHelp1, HomePage1, FrequentlyAskedQuestions1, ProductUpdate1,
      CommentsandSuggestions1, ReportBug1, VelmoraProducts1, DevelopmentServices1,
      AdvertisewithUs1, AboutDlg;

  // PopupMenu1, the context menu of every list.
  MenuItem FindFiles1, Open1, Delete1, DeletePermanently1, SelectAll1, InvertSelection1;
  // Beyond the form as first designed: the File menu's "Deletion Log" and the
  // popup menu's two keep items.
  MenuItem DeletionLog1, NeverListFile1, NeverListFolder1;

  PageControl PageControl1;  // the five tabs
  PageControl PageControl2;  // "IE Cache", "    More    " and "Web Browsers" on Browser Cache
  StatusBar StatusBar1;

  ResultList ListBox1, ListBox2, ListBox3, ListBox5;
  TextList ListBox4;
  ResultList ListBox6;  // the "Web Browsers" sub-tab's files

  // Controls of the "More" sub-tab that the resize rule moves.
  int MoreSheetWidth = 0;  // client width of the "More" sheet, set by the window
  bool Minimized = false;  // set by the window
  Bounds GroupBox2, GroupBox3, NProfile, NCacheDir, OProgramDir, OCacheDir, SpeedButton1,
      SpeedButton2, SpeedButton3, SpeedButton4;

  // ---- Window events ----
  void FormCreate();
  void FormShow();
  bool FormCloseQuery();
  void FormResize();

  // ---- Tabs ----
  // The user picked another main tab: the sheet shows, then the change step.
  void UserSelectsTab(int index);
  // The user picked another sub-tab of "Browser Cache".
  void UserSelectsSubTab(int index);
  // Makes a tab active without the change step (File menu scans); its sheet
  // shows, which runs the sheet's show handler.
  void ShowTab(int index);
  void PageControl1Change();
  void TabSheet4Show();

  // ---- Toolbar, popup and File menu commands ----
  void FindFilesTBClick();
  void FindFiles1Click();
  void StopTBClick();
  void ClearTBClick();
  void ScanUnneededFiles1Click();
  void ScanforRecentDocuments1Click();
  void ScanforFavorites1Click();
  void ScanforIECahefiles1Click();
  void ScanforDeadShortcuts1Click();
  void Options1Click();
  void OptionsTBClick();
  void Exit1Click();
  void TrayIconDblClick();

  // ---- Help ----
  void NScourlyHelp1Click(int tag) { HelpLinks.NScourlyHelp1Click(tag); }
  void ServicesLinkClick(int tag) { HelpLinks.ServicesLinkClick(tag); }
  void ToolButton1Click() { HelpLinks.ToolButton1Click(); }
  void AboutDlgClick() {
    if (aboutDialog) aboutDialog->Show();
  }

  // Deletion.
  void Delete1Click();            // DeleteSelTB and the popup item
  void DeletePermanently1Click();
  void DeletePerTBClick();        // clicks DeletePermanently1
  void DeleteAllTBClick();

  // ---- Lists: click (and the showing of the list's tab sheet) ----
  void ListBox1Click();
  void ListBox2Click();
  void ListBox3Click();
  void ListBox4Click() { browserCacheTab_.IECacheView.ListBox4Click(); }
  void ListBox5Click();

  // Keys pressed in a list (the Delete key deletes the selected rows).
  void ListBox1KeyDown(int key) { unneededTab_.KeyDown(key); }
  void ListBox2KeyDown(int key) { recentTab_.KeyDown(key); }
  void ListBox3KeyDown(int key) { favoritesTab_.KeyDown(key); }
  void ListBox4KeyDown(int key);
  void ListBox5KeyDown(int key) { deadShortcutsTab_.KeyDown(key); }

  // Column header clicks of the result lists.
  void ListBox1HeaderSectionClick(int section) { unneededTab_.HeaderSectionClick(section); }
  void ListBox2HeaderSectionClick(int section) { recentTab_.HeaderSectionClick(section); }
  void ListBox3HeaderSectionClick(int section) { favoritesTab_.HeaderSectionClick(section); }
  void ListBox5HeaderSectionClick(int section) { deadShortcutsTab_.HeaderSectionClick(section); }

  // Double clicks on the result lists: the click of Open1.
  void ListBox1DblClick() { OpenTBClick(); }
  void ListBox2DblClick() { OpenTBClick(); }
  void ListBox3DblClick() { OpenTBClick(); }
  void ListBox5DblClick() { OpenTBClick(); }

  // ---- The keep list and the deletion log (app/keep_and_log.cpp) ----
  // "Never list this file" and "Never list this folder": the focused row's
  // file (a folder row: that folder), or the folder that holds it, joins the
  // keep list; every row it covers leaves the lists at once.
  void NeverListFile1Click();
  void NeverListFolder1Click();
  // "Deletion Log": the log opened with the shell's "open" verb.
  void DeletionLog1Click();
  DeletionLog& deletionLog() { return deletionLog_; }
  // Runs a deletion command, then tells the user once if its log could not
  // be written (also when the command ends with an error).
  void LoggedDeletion(const std::function<void()>& deletion);

  // ---- Selection and opening ----
  void SelectAll1Click();
  void SelectAllTBClick();  // clicks SelectAll1
  void InvertSelection1Click();
  void InvertSelTBClick();  // clicks InvertSelection1
  void Open1Click();
  void OpenTBClick();  // clicks Open1

  // ---- The "IE Cache" sub-tab ----
  // The user chose another filter item (RadioGroup1's itemIndex is set).
  void RadioGroup1Click() { browserCacheTab_.IECacheView.RadioGroup1Click(); }
  void PageControl2Change() { browserCacheTab_.PageControl2Change(); }
  TIECacheView& IECacheView() { return browserCacheTab_.IECacheView; }

  // ---- The "    More    " sub-tab ----
  TNetscapeOperaCleaner& MoreCleaner() { return browserCacheTab_.MoreCleaner; }
  void TabSheet7Show() { MoreCleaner().TabSheet7Show(); }
  void ClearBtnClick();
  void SaveBtnClick() { MoreCleaner().SaveBtnClick(); }
  void SpeedButton1Click() { MoreCleaner().SpeedButton1Click(); }
  void SpeedButton2Click() { MoreCleaner().SpeedButton2Click(); }
  void SpeedButton3Click() { MoreCleaner().SpeedButton3Click(); }
  void SpeedButton4Click() { MoreCleaner().SpeedButton4Click(); }

  // ---- The "Web Browsers" sub-tab ----
  WebBrowsersTab& WebBrowsers() { return browserCacheTab_.WebBrowsers; }
  void ListBox6Click() { WebBrowsers().Refresh(); }
  void ListBox6KeyDown(int key) { WebBrowsers().KeyDown(key); }
  void ListBox6HeaderSectionClick(int section) { WebBrowsers().HeaderSectionClick(section); }
  void ListBox6DblClick() { OpenTBClick(); }
  // A box was turned on or off (its model shows the new state).
  void WCacheClick() { WebBrowsers().CheckBoxClick(BrowserCategory::kCache); }
  void WCookiesClick() { WebBrowsers().CheckBoxClick(BrowserCategory::kCookies); }
  void WHistoryClick() { WebBrowsers().CheckBoxClick(BrowserCategory::kHistory); }

  // ---- Scans ----
  void UFindFilesClick() { unneededTab_.UFindFilesClick(); }
  void RFindFilesClick() { recentTab_.RFindFilesClick(); }
  void FFindFilesClick() { favoritesTab_.FFindFilesClick(); }
  void DFindFilesClick() { deadShortcutsTab_.DFindFilesClick(); }
  std::optional<std::string> GetSpecialFolderPath(int csidl);
  bool GetShortcutTarget(const std::string& path, std::string& target);

  // The list of a tab (tab 3: ListBox4 is not a result list, so null).
  ResultList* ResultListOfTab(int tab);
  int ActiveTab() const { return PageControl1.activeIndex; }

  FormView* view = nullptr;  // set by the window

  // Budget between two message pumps of a running scan, in milliseconds.
  // Tests set 0 to pump at every point the walkers offer.
  int pumpBudgetMs = 30;

  // ---- For the tab pages ----
  Platform& platform() { return platform_; }
  TUOptionsDialog& options() { return options_; }
  // Runs a scan, unless one runs already (a scan's message pump lets the
  // popup menu and the File menu ask for another). A close asked for while
  // it ran happens once it has ended.
  void RunScan(const std::function<void()>& scan);
  bool ScanRunning() const { return scanRunning_; }
  // Runs `step` under the hourglass cursor, restored also when it throws;
  // nested runs leave the cursor to the outermost one.
  void WithHourglass(const std::function<void()>& step);
  // One message naming the items a deletion left on disk, if any.
  void TellWhatStayed(const std::vector<StayedItem>& stayed);

 private:
  // Both delete-selected commands: notice, button, then the deletion.
  void DeleteSelectedCommand(bool toRecycleBin);
  void RefreshTab(int tab);
  TabPage& Page(int tab) { return *pages_[tab]; }
  TabPage& ActivePage() { return Page(ActiveTab()); }

  // The keep items: the entry for the focused row of the active file list.
  void NeverList(bool folder);

  Platform& platform_;
  TUOptionsDialog& options_;
  DeletionLog deletionLog_{platform_.fs};
  bool scanRunning_ = false;
  bool closeAfterScan_ = false;
  int hourglassDepth_ = 0;

  UnneededFilesTab unneededTab_{*this, ListBox1};
  RecentFilesTab recentTab_{*this, ListBox2};
  FavoritesTab favoritesTab_{*this, ListBox3};
  BrowserCacheTab browserCacheTab_{*this};
  DeadShortcutsTab deadShortcutsTab_{*this, ListBox5};
  std::array<TabPage*, kTabCount> pages_{&unneededTab_, &recentTab_, &favoritesTab_,
                                         &browserCacheTab_, &deadShortcutsTab_};
};

}  // namespace scourly
