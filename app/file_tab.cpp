#include "app/file_tab.h"

#include "app/main_form.h"
#include "delete/deletion.h"
#include "lists/column_sort.h"
#include "lists/selection.h"
#include "lists/status_panels.h"

namespace scourly {

FileTab::FileTab(TMainForm& form, int tab, ResultList& list)
    : FileTab(form, form.TotalSizeText[tab], list) {}

FileTab::FileTab(TMainForm& form, std::string& totalSizeText, ResultList& list)
    : form_(form), totalSizeText_(totalSizeText), list_(list) {}

std::string& FileTab::TotalSizeText() { return totalSizeText_; }

void FileTab::Refresh() {
  RefreshListStatus(list_, TotalSizeText(), form_.StatusBar1, form_.DeleteAllTB,
                    form_.DeleteSelTB);
}

void FileTab::DeleteSelected(bool toRecycleBin) {
  const KeepFilter keep(form_.options().keep, form_.platform().fs);
  DeletionContext ctx{form_.platform(), form_.StatusBar1, form_.StopFlag, TotalSizeText(), {},
                      nullptr, &keep, &form_.deletionLog()};
  try {
    DeleteSel(ctx, list_, toRecycleBin);
  } catch (const HandOffError&) {
    throw;  // nothing was deleted: the user is told, as by Delete All
  } catch (...) {
    // Other errors of the delete-selected commands are dropped: the list
    // shows what stays.
  }
  form_.TellWhatStayed(ctx.stayed);
}

void FileTab::DeleteAll() {
  const KeepFilter keep(form_.options().keep, form_.platform().fs);
  DeletionContext ctx{form_.platform(), form_.StatusBar1, form_.StopFlag, TotalSizeText(), {},
                      nullptr, &keep, &form_.deletionLog()};
  scourly::DeleteAll(ctx, list_);
  form_.TellWhatStayed(ctx.stayed);
}

void FileTab::SelectAll() { scourly::SelectAll(list_, form_.StatusBar1); }

void FileTab::InvertSelection() { InvertSel(list_, form_.StatusBar1); }

void FileTab::OpenFile() {
  try {
    const int current = list_.itemIndex;
    if (current < 0 || current >= list_.Count()) return;
    // The row's own path: a name holding ";" opens the file that was listed.
    form_.platform().shell.Open(list_[current].FullPath(), ShowCommand::kShowNormal);
  } catch (...) {
    // Opening reports nothing; what the shell shows is all the user sees.
  }
}

void FileTab::KeyDown(int key) {
  if (key != kVkDelete || list_.SelCount() == 0) return;
  form_.LoggedDeletion([this] { DeleteSelected(true); });
}

void FileTab::HeaderSectionClick(int section) {
  scourly::HeaderSectionClick(list_, form_.StatusBar1, section, form_.platform().locale);
}

FileTabScan FileTab::ScanModels() {
  return FileTabScan{list_, TotalSizeText(), form_.StatusBar1, form_.FindFilesTB, form_.StopFlag,
                     form_.pumpBudgetMs, &form_.options().keep};
}

}  // namespace scourly
