#include "app/main_form.h"

#include "delete/deletion.h"
#include "lists/result_row.h"
#include "lists/status_panels.h"
#include "scan/unneeded_scan.h"

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

constexpr const char* kNoTypesQuestion =
    "No unneeded file types are specified. Do u want to specify now?";
constexpr const char* kProceedNotice = "Scourly will now proceed to search for files";
constexpr const char* kInUseNotice = "Some files may not be deleted if in use";
constexpr const char* kInUseNoticeAll = "Some files may not be deleted if in use!";

}  // namespace

TMainForm::TMainForm(Platform& platform, TUOptionsDialog& options)
    : platform_(platform), options_(options) {
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
}

void TMainForm::FormShow() {
  StopFlag = false;
  // The active sheet comes into view with the window.
  RefreshTab(ActiveTab());
}

bool TMainForm::FormCloseQuery() {
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

void TMainForm::RefreshTab(int tab) {
  switch (tab) {
    case kTabUnneeded: ListBox1Click(); break;
    case kTabRecent: ListBox2Click(); break;
    case kTabFavorites: ListBox3Click(); break;
    case kTabBrowserCache: TabSheet4Show(); break;
    case kTabDeadShortcuts: ListBox5Click(); break;
  }
}

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

void TMainForm::UserSelectsSubTab(int index) { PageControl2.activeIndex = index; }

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
  if (!cacheTab || PageControl2.activeIndex == kSubTabIECache) {
    const DeleteTexts& texts = cacheTab ? kCacheTab : kFileTabs;
    FindFilesTB.enabled = true;
    DeletePermanently1.caption = texts.permanentCaption;
    DeleteSelTB.hint = texts.selectedHint;
    DeleteAllTB.hint = texts.allHint;
  }
  Open1.enabled = !cacheTab;
  Delete1.enabled = !cacheTab;
  FindFilesTB.hint = kFindFilesHints[tab];
}

void TMainForm::TabSheet4Show() { FindFilesTB.enabled = PageControl2.activeIndex != kSubTabMore; }

// ---- Commands ----

void TMainForm::WithHourglass(const std::function<void()>& step) {
  platform_.ui.SetHourglass(true);
  try {
    step();
  } catch (...) {
    platform_.ui.SetHourglass(false);
    throw;
  }
  platform_.ui.SetHourglass(false);
}

void TMainForm::FindFilesTBClick() {
  // The popup menu's Find Files stays enabled while a scan pumps messages;
  // a second scan inside the first would interleave two walks over one list.
  if (scanRunning_) return;
  StopFlag = false;
  WithHourglass([this] {
    switch (ActiveTab()) {
      case kTabUnneeded:
        UFindFilesClick();
        break;
      default:
        // The scans of the other tabs are not part of the program yet.
        break;
    }
    DeleteAllTB.enabled = true;
    FindFilesTB.enabled = true;
    DeleteSelTB.enabled = false;
  });
}

void TMainForm::FindFiles1Click() { FindFilesTBClick(); }

void TMainForm::StopTBClick() {
  StopFlag = true;
  ResultList* list = ResultListOfTab(ActiveTab());
  int rows = list ? list->Count() : ListBox4.Count();
  if (rows == 0) ClearTBClick();
}

void TMainForm::ClearTBClick() {
  WithHourglass([this] {
    if (ResultList* list = ResultListOfTab(ActiveTab()))
      list->Clear();
    else
      ListBox4.Clear();
    ResetPanels(StatusBar1);
    DeleteAllTB.enabled = false;
    FindFilesTB.enabled = true;
    DeleteSelTB.enabled = false;
  });
}

void TMainForm::ScanUnneededFiles1Click() {
  ShowTab(kTabUnneeded);
  UFindFilesClick();
}

void TMainForm::ScanforRecentDocuments1Click() { ShowTab(kTabRecent); }
void TMainForm::ScanforFavorites1Click() { ShowTab(kTabFavorites); }
void TMainForm::ScanforIECahefiles1Click() { ShowTab(kTabBrowserCache); }
void TMainForm::ScanforDeadShortcuts1Click() { ShowTab(kTabDeadShortcuts); }

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
  platform_.ui.MessageBox(kInUseNotice, kAppTitle, MsgButtons::kOk, MsgIcon::kNone);
  DeleteSelTB.enabled = false;
  ResultList* list = ResultListOfTab(ActiveTab());
  if (!list) return;  // the cache's own deletion is not part of the program yet
  DeletionContext ctx{platform_, StatusBar1, StopFlag, TotalSizeText[ActiveTab()], {}};
  try {
    DeleteSel(ctx, *list, toRecycleBin);
  } catch (...) {
    // Errors of the delete-selected commands are dropped: the list shows
    // what stays.
  }
  TellWhatStayed(ctx.stayed);
}

void TMainForm::TellWhatStayed(const std::vector<StayedItem>& stayed) {
  std::string text = StayedMessage(stayed);
  if (!text.empty()) platform_.ui.MessageBox(text, kAppTitle, MsgButtons::kOk, MsgIcon::kInformation);
}

void TMainForm::DeletePerTBClick() {
  if (DeletePermanently1.enabled) DeletePermanently1Click();
}

void TMainForm::DeleteAllTBClick() {
  platform_.ui.MessageBox(kInUseNoticeAll, kAppTitle, MsgButtons::kOk, MsgIcon::kNone);
  DeleteAllTB.enabled = false;
  DeleteSelTB.enabled = false;
  ResultList* list = ResultListOfTab(ActiveTab());
  if (!list) return;
  DeletionContext ctx{platform_, StatusBar1, StopFlag, TotalSizeText[ActiveTab()], {}};
  DeleteAll(ctx, *list);
  TellWhatStayed(ctx.stayed);
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

void TMainForm::ListBox1Click() {
  RefreshListStatus(ListBox1, TotalSizeText[kTabUnneeded], StatusBar1, DeleteAllTB, DeleteSelTB);
}
void TMainForm::ListBox2Click() {
  RefreshListStatus(ListBox2, TotalSizeText[kTabRecent], StatusBar1, DeleteAllTB, DeleteSelTB);
}
void TMainForm::ListBox3Click() {
  RefreshListStatus(ListBox3, TotalSizeText[kTabFavorites], StatusBar1, DeleteAllTB, DeleteSelTB);
}
void TMainForm::ListBox5Click() {
  RefreshListStatus(ListBox5, TotalSizeText[kTabDeadShortcuts], StatusBar1, DeleteAllTB,
                    DeleteSelTB);
}

// ---- The unneeded-file scan ----

void TMainForm::UFindFilesClick() {
  if (StopFlag || scanRunning_) return;
  scanRunning_ = true;
  struct Running {
    bool& flag;
    ~Running() { flag = false; }
  } running{scanRunning_};
  ListBox1.Clear();
  FindFilesTB.enabled = false;
  Ui& ui = platform_.ui;
  if (options_.settings().ReadScanSettings().totalChecked <= 0) {
    if (ui.MessageBox(kNoTypesQuestion, kAppTitle, MsgButtons::kYesNo, MsgIcon::kInformation) ==
        MsgResult::kYes)
      options_.ShowModal();
    ui.MessageBox(kProceedNotice, kAppTitle, MsgButtons::kOk, MsgIcon::kNone);
  }

  ScanState state;
  StatusBar1.Set(kPanelSelFiles, "");
  ScanProgress progress(StatusBar1, ui, StopFlag, pumpBudgetMs);
  DateTexts dates(platform_.locale);
  WalkContext ctx{platform_.fs, dates, progress};
  if (!WalkCheckedDrives(ctx, options_.options, state)) return;
  if (options_.settings().ReadScanSettings().tempFiles) WalkTempFolder(ctx, state);

  TotalSizeText[kTabUnneeded] = SizeText(state.bytes);
  ListBox1.Assign(std::move(state.rows));
  ResetSelectionPanels(StatusBar1);
  // The final figures, also when nothing was found: a scan that found no
  // row must not leave the previous scan's count and size on show, since
  // deletion reads its totals back from these panels.
  StatusBar1.Set(kPanelTotalFiles, TotalFilesText(state.count));
  StatusBar1.Set(kPanelTotalSize, SizeText(state.bytes));
}

}  // namespace scourly
