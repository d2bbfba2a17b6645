// The main window's share of the keep list and the deletion log: the two
// popup items that keep a listed item, the File menu's "Deletion Log", and
// the one message after a deletion whose log could not be written.
#include "app/main_form.h"
#include "lists/status_panels.h"

namespace scourly {
namespace {

constexpr const char* kNoLogYet =
    "There is no deletion log yet. Scourly writes one, beside itself, with the first file it "
    "deletes.";

constexpr int kFileTabs[] = {kTabUnneeded, kTabRecent, kTabFavorites, kTabDeadShortcuts};

}  // namespace

void TMainForm::NeverListFile1Click() { NeverList(false); }
void TMainForm::NeverListFolder1Click() { NeverList(true); }

void TMainForm::NeverList(bool folder) {
  ResultList* list = ResultListOfTab(ActiveTab());
  if (!list || list->itemIndex < 0 || list->itemIndex >= list->Count()) return;
  const ResultRow& row = (*list)[list->itemIndex];
  // A folder entry ends in "\"; a row that is itself a folder is kept as one.
  const std::string entry =
      folder ? row.Location() : row.FullPath() + (row.IsFolder() ? "\\" : "");
  const bool added = options_.AddKeep(entry);

  // Every list drops what the list now keeps, with its totals; the active
  // one's panels and buttons follow at once.
  const KeepFilter keep(options_.keep, platform_.fs);
  for (int tab : kFileTabs) {
    ResultList& rows = *ResultListOfTab(tab);
    if (DropKeptRows(rows, keep)) TotalSizeText[tab] = SizeText(rows.TotalBytes());
  }
  RefreshTab(ActiveTab());
  if (added) options_.SaveKeep();
}

void TMainForm::DeletionLog1Click() {
  const std::string path = deletionLog_.Path();
  if (!platform_.fs.FileExists(path)) {
    platform_.ui.ShowMessage(kNoLogYet, kAppTitle, MsgButtons::kOk, MsgIcon::kInformation);
    return;
  }
  platform_.shell.Open(path, ShowCommand::kShowNormal);
}

void TMainForm::LoggedDeletion(const std::function<void()>& deletion) {
  auto tell = [this] {
    const std::string trouble = deletionLog_.Finish();
    if (!trouble.empty())
      platform_.ui.ShowMessage(trouble, kAppTitle, MsgButtons::kOk, MsgIcon::kError);
  };
  try {
    deletion();
  } catch (...) {
    tell();
    throw;
  }
  tell();
}

void TMainForm::ListBox4KeyDown(int key) {
  LoggedDeletion([&] { browserCacheTab_.IECacheView.ListBox4KeyDown(key); });
}

void TMainForm::ClearBtnClick() {
  LoggedDeletion([this] { MoreCleaner().ClearBtnClick(); });
}

}  // namespace scourly
