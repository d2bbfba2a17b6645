#include "app/main_form.h"

#include "lists/status_panels.h"
#include "scan/folder_scans.h"
#include "scan/shortcut.h"

namespace scourly {
namespace {

constexpr const char* kFindUnneededHintAtStart =
    "Click to find Unneeded Files.This action will not delete files.\r\n"
    "You can specify the file types of your choice through the \"Options...\" button.";

// The Find Files hint the tab change sets, by tab.
constexpr const char* kFindFilesHints[kTabCount] = {
    "Click to find Unneeded Files.This action will not delete files.\r\n"
    "You can specify the file types of your choice through the \"Options\" button.",
    "Click to find the Recent Documents. This action will not delete files.",
    "Click to find the Favorites and Bookmarks. This action will not delete files.",
    "Click to find all files in the IE Cache. You can Filter the files to see a particular "
    "type.\r\nThis action will not delete files.",
    "Click to find the Dead Shortcuts. This action will not delete files.",
};
constexpr const char* kFindWebBrowsersHint =
    "Click to find the cache, cookie and history files of your web browsers.\r\n"
    "This action will not delete files.";

constexpr const char* kInUseNotice = "Some files may not be deleted if in use";
constexpr const char* kInUseNoticeAll = "Some files may not be deleted if in use!";

}  // namespace

TMainForm::TMainForm(Platform& platform, TUOptionsDialog& options)
    : HelpLinks(platform.shell, platform.version), platform_(platform), options_(options) {
  FindFilesTB.hint = kFindUnneededHintAtStart;
  StopTB.hint = "Stop";
  ClearTB.hint = "Clear";
  DeleteAllTB.hint = "Delete All files to the Reycle Bin";
  DeleteSelTB.hint = "Delete Selected files to the Recycle Bin";
  DeletePerTB.hint = "Delete Selected Files Permanently";
  OpenTB.hint = "Open Selected File";
  SelectAllTB.hint = "Select All";
  InvertSelTB.hint = "Invert Selection";
  ToolButton1.hint = "Description of File Types";
  OptionsTB.hint =
      "Click to add/remove Unneeded File types or to change the Drives to be scanned.";

  ScanUnneededFiles1.caption = "Scan for Unneeded Files";
  ScanforRecentDocuments1.caption = "Scan for Recent Documents";
  ScanforFavorites1.caption = "Scan for IE Favorites";
  ScanforIECahefiles1.caption = "Scan for IE Cahe Files";
  ScanforDeadShortcuts1.caption = "Scan for Dead Shortcuts";
  Options1.caption = "Options...";
  Exit1.caption = "Exit";
  NScourlyHelp1.caption = "Scourly Online &Help";
  HomePage1.caption = "&Scourly Home Page";
  FrequentlyAskedQuestions1.caption = "&Frequently Asked Questions";
  ProductUpdate1.caption = "Product &Update";
  CommentsandSuggestions1.caption = "&Comments and Suggestions";
  ReportBug1.caption = "Report a &Bug";
  VelmoraProducts1.caption = "Other &Velmora Products";
  DevelopmentServices1.caption = "&Development Services";
  AdvertisewithUs1.caption = "Ad&vertise with Us";
  AboutDlg.caption = "&About Scourly";

  FindFiles1.caption = "Find Files";
  Open1.caption = "Open Selected file";
  Delete1.caption = "Delete Selected files to Recycle Bin";
  DeletePermanently1.caption = "Delete Selected files Permanently";
  SelectAll1.caption = "Select All";
  InvertSelection1.caption = "Invert Selection";
  DeletionLog1.caption = "Deletion Log";
  NeverListFile1.caption = "Never list this file";
  NeverListFolder1.caption = "Never list this folder";

  // The "More" sheet as designed, before any resize moves it.
  GroupBox2 = {0, 277};
  GroupBox3 = {276, 277};
  for (Bounds* field : {&NProfile, &NCacheDir, &OProgramDir, &OCacheDir}) *field = {8, 235};
  for (Bounds* button : {&SpeedButton1, &SpeedButton2, &SpeedButton3, &SpeedButton4})
    *button = {245, 23};
}

// ---- Window events ----

void TMainForm::FormCreate() {
  DeleteAllTB.enabled = false;
  DeleteSelTB.enabled = false;
  TypedUrlNames.clear();
  WebBrowsers().LoadCategories();
}

void TMainForm::FormShow() {
  StopFlag = false;
  // The active sheet comes into view with the window.
  RefreshTab(ActiveTab());
}

bool TMainForm::FormCloseQuery() {
  // A scan in progress would go on walking every drive with no window left:
  // it is stopped, and the window closes once it has ended.
  if (scanRunning_) {
    StopFlag = true;
    closeAfterScan_ = true;
    return false;
  }
  TypedUrlNames.clear();
  return true;
}

void TMainForm::FormResize() {
  if (Minimized || ActiveTab() != kTabBrowserCache || PageControl2.activeIndex != kSubTabMore)
    return;
  int h = MoreSheetWidth / 2;
  GroupBox2.width = h + 1;
  GroupBox3.width = h + 1;
  GroupBox3.left = h;
  for (Bounds* field : {&NProfile, &NCacheDir, &OProgramDir, &OCacheDir}) field->width = h - 41;
  for (Bounds* button : {&SpeedButton1, &SpeedButton2, &SpeedButton3, &SpeedButton4})
    button->left = NProfile.width + 10;
}

// ---- Tabs ----

void TMainForm::RefreshTab(int tab) { Page(tab).SheetShow(); }

void TMainForm::ShowTab(int index) {
  PageControl1.activeIndex = index;
  if (index == kTabBrowserCache) PageControl2.activeIndex = kSubTabIECache;
  RefreshTab(index);
}

void TMainForm::UserSelectsTab(int index) {
  if (index == ActiveTab()) return;
  PageControl1.activeIndex = index;
  RefreshTab(index);
  PageControl1Change();
}

void TMainForm::UserSelectsSubTab(int index) {
  if (index == PageControl2.activeIndex) return;
  const int previous = PageControl2.activeIndex;
  PageControl2.activeIndex = index;
  if (index == kSubTabMore) TabSheet7Show();
  PageControl2Change();
  // The "Web Browsers" sub-tab lists files: its toolbar texts and popup menu
  // are a file tab's, and leaving it gives the cache tab's back.
  if (index == kSubTabWebBrowsers || previous == kSubTabWebBrowsers) PageControl1Change();
}

void TMainForm::PageControl1Change() {
  // The delete texts of the file tabs and of the IE cache, whose deletions
  // are permanent; the "More" sub-tab keeps whatever stood before.
  struct DeleteTexts {
    const char* permanentCaption;
    const char* selectedHint;
    const char* allHint;
  };
  static constexpr DeleteTexts kFileTabs{"Delete Selected file Permanently",
                                         "Delete Selected Files to the Recycle Bin",
                                         "Delete All files to the Recycle Bin"};
  static constexpr DeleteTexts kCacheTab{"Delete Selected files Permanently",
                                         "Delete Selected Files Permanently",
                                         "Delete All files Permanently"};
  const int tab = ActiveTab();
  const bool cacheTab = tab == kTabBrowserCache;
  const bool webBrowsers = cacheTab && PageControl2.activeIndex == kSubTabWebBrowsers;
  if (!cacheTab || PageControl2.activeIndex != kSubTabMore) {
    const DeleteTexts& texts = cacheTab && !webBrowsers ? kCacheTab : kFileTabs;
    // A scan that pumps keeps Find Files off until it ends.
    FindFilesTB.enabled = !scanRunning_;
    DeletePermanently1.caption = texts.permanentCaption;
    DeleteSelTB.hint = texts.selectedHint;
    DeleteAllTB.hint = texts.allHint;
  }
  Open1.enabled = !cacheTab || webBrowsers;
  Delete1.enabled = !cacheTab || webBrowsers;
  NeverListFile1.enabled = !cacheTab || webBrowsers;
  NeverListFolder1.enabled = !cacheTab || webBrowsers;
  FindFilesTB.hint = webBrowsers ? kFindWebBrowsersHint : kFindFilesHints[tab];
}

void TMainForm::TabSheet4Show() { browserCacheTab_.TabSheet4Show(); }

// ---- Commands ----

void TMainForm::WithHourglass(const std::function<void()>& step) {
  if (hourglassDepth_++ == 0) platform_.ui.SetHourglass(true);
  struct Restore {
    TMainForm& form;
    ~Restore() {
      if (--form.hourglassDepth_ == 0) form.platform_.ui.SetHourglass(false);
    }
  } restore{*this};
  step();
}

void TMainForm::RunScan(const std::function<void()>& scan) {
  if (scanRunning_) return;
  scanRunning_ = true;
  struct End {
    TMainForm& form;
    ~End() {
      form.scanRunning_ = false;
      if (form.closeAfterScan_) {
        form.closeAfterScan_ = false;
        if (form.view) form.view->Close();
      }
    }
  } end{*this};
  scan();
}

void TMainForm::FindFilesTBClick() {
  // The popup menu's Find Files stays enabled while a scan pumps messages;
  // a second scan inside the first would interleave two walks over one list.
  if (scanRunning_) return;
  StopFlag = false;
  WithHourglass([this] {
    if (!ActivePage().FindFiles()) return;
    DeleteAllTB.enabled = true;
    FindFilesTB.enabled = true;
    DeleteSelTB.enabled = false;
  });
}

void TMainForm::FindFiles1Click() { FindFilesTBClick(); }

void TMainForm::StopTBClick() {
  StopFlag = true;
  if (ActivePage().RowCount() == 0) ClearTBClick();
}

void TMainForm::ClearTBClick() {
  WithHourglass([this] {
    ActivePage().ClearList();
    ResetPanels(StatusBar1);
    DeleteAllTB.enabled = false;
    // Find Files stays off while a scan runs: the scan enables it when done.
    FindFilesTB.enabled = !scanRunning_;
    DeleteSelTB.enabled = false;
  });
}

void TMainForm::ScanUnneededFiles1Click() {
  ShowTab(kTabUnneeded);
  Page(kTabUnneeded).MenuScan();
}

void TMainForm::ScanforRecentDocuments1Click() {
  ShowTab(kTabRecent);
  Page(kTabRecent).MenuScan();
}

void TMainForm::ScanforFavorites1Click() {
  ShowTab(kTabFavorites);
  Page(kTabFavorites).MenuScan();
}

void TMainForm::ScanforIECahefiles1Click() {
  ShowTab(kTabBrowserCache);
  Page(kTabBrowserCache).MenuScan();
}

void TMainForm::ScanforDeadShortcuts1Click() {
  ShowTab(kTabDeadShortcuts);
  Page(kTabDeadShortcuts).MenuScan();
}

void TMainForm::Options1Click() { options_.Show(); }
void TMainForm::OptionsTBClick() { options_.Show(); }

void TMainForm::Exit1Click() {
  if (view) view->Close();
}

void TMainForm::TrayIconDblClick() {
  if (view) view->Show();
}

// ---- Deletion ----

void TMainForm::Delete1Click() { DeleteSelectedCommand(true); }

void TMainForm::DeletePermanently1Click() { DeleteSelectedCommand(false); }

void TMainForm::DeleteSelectedCommand(bool toRecycleBin) {
  platform_.ui.ShowMessage(kInUseNotice, kAppTitle, MsgButtons::kOk, MsgIcon::kNone);
  DeleteSelTB.enabled = false;
  LoggedDeletion([&] { ActivePage().DeleteSelected(toRecycleBin); });
}

void TMainForm::TellWhatStayed(const std::vector<StayedItem>& stayed) {
  std::string text = StayedMessage(stayed);
  if (!text.empty())
    platform_.ui.ShowMessage(text, kAppTitle, MsgButtons::kOk, MsgIcon::kInformation);
}

void TMainForm::DeletePerTBClick() {
  if (DeletePermanently1.enabled) DeletePermanently1Click();
}

void TMainForm::DeleteAllTBClick() {
  platform_.ui.ShowMessage(kInUseNoticeAll, kAppTitle, MsgButtons::kOk, MsgIcon::kNone);
  DeleteAllTB.enabled = false;
  DeleteSelTB.enabled = false;
  LoggedDeletion([&] { ActivePage().DeleteAll(); });
}

// ---- Lists ----

ResultList* TMainForm::ResultListOfTab(int tab) {
  switch (tab) {
    case kTabUnneeded: return &ListBox1;
    case kTabRecent: return &ListBox2;
    case kTabFavorites: return &ListBox3;
    case kTabDeadShortcuts: return &ListBox5;
    default: return nullptr;
  }
}

// ---- Selection and opening ----

void TMainForm::SelectAll1Click() {
  WithHourglass([this] { ActivePage().SelectAll(); });
}

void TMainForm::SelectAllTBClick() {
  if (SelectAll1.enabled) SelectAll1Click();
}

void TMainForm::InvertSelection1Click() {
  WithHourglass([this] { ActivePage().InvertSelection(); });
}

void TMainForm::InvertSelTBClick() {
  if (InvertSelection1.enabled) InvertSelection1Click();
}

void TMainForm::Open1Click() { ActivePage().Open(); }

void TMainForm::OpenTBClick() {
  if (Open1.enabled) Open1Click();
}

// ---- Scans ----

std::optional<std::string> TMainForm::GetSpecialFolderPath(int csidl) {
  return scourly::GetSpecialFolderPath(platform_.shell, csidl);
}

bool TMainForm::GetShortcutTarget(const std::string& path, std::string& target) {
  return scourly::GetShortcutTarget(platform_.shell, path, target);
}

void TMainForm::ListBox1Click() { unneededTab_.Refresh(); }
void TMainForm::ListBox2Click() { recentTab_.Refresh(); }
void TMainForm::ListBox3Click() { favoritesTab_.Refresh(); }
void TMainForm::ListBox5Click() { deadShortcutsTab_.Refresh(); }

}  // namespace scourly
