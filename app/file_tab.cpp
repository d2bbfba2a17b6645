#include "app/file_tab.h"

#include "app/main_form.h"
#include "delete/deletion.h"
#include "lists/status_panels.h"

namespace scourly {

FileTab::FileTab(TMainForm& form, int tab, ResultList& list)
    : form_(form), tab_(tab), list_(list) {}

std::string& FileTab::TotalSizeText() { return form_.TotalSizeText[tab_]; }

void FileTab::Refresh() {
  RefreshListStatus(list_, TotalSizeText(), form_.StatusBar1, form_.DeleteAllTB,
                    form_.DeleteSelTB);
}

void FileTab::DeleteSelected(bool toRecycleBin) {
  DeletionContext ctx{form_.platform(), form_.StatusBar1, form_.StopFlag, TotalSizeText(), {}};
  try {
    DeleteSel(ctx, list_, toRecycleBin);
  } catch (...) {
    // Errors of the delete-selected commands are dropped: the list shows
    // what stays.
  }
  form_.TellWhatStayed(ctx.stayed);
}

void FileTab::DeleteAll() {
  DeletionContext ctx{form_.platform(), form_.StatusBar1, form_.StopFlag, TotalSizeText(), {}};
  scourly::DeleteAll(ctx, list_);
  form_.TellWhatStayed(ctx.stayed);
}

}  // namespace scourly
