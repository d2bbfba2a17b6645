#include "app/file_tabs.h"

#include "app/main_form.h"
#include "scan/dead_shortcuts.h"
#include "scan/folder_scans.h"
#include "scan/unneeded_scan.h"

namespace scourly {

// Each scan runs unless a Stop is still in force or another scan runs (its
// message pump lets the popup and File menus ask for one).

void UnneededFilesTab::UFindFilesClick() {
  FileTabScan tab = ScanModels();
  form_.RunScan([&] { scourly::UFindFilesClick(tab, form_.platform(), form_.options()); });
}

void RecentFilesTab::RFindFilesClick() {
  FileTabScan tab = ScanModels();
  form_.RunScan([&] { scourly::RFindFilesClick(tab, form_.platform()); });
}

void FavoritesTab::FFindFilesClick() {
  FileTabScan tab = ScanModels();
  form_.RunScan([&] { scourly::FFindFilesClick(tab, form_.platform()); });
}

void DeadShortcutsTab::DFindFilesClick() {
  FileTabScan tab = ScanModels();
  form_.RunScan([&] {
    scourly::DFindFilesClick(tab, form_.platform(), form_.options().options.DrivesBox);
  });
}

}  // namespace scourly
