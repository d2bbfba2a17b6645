// The file tabs whose scans are still to come: their lists, refresh and
// deletions work; Find Files finds nothing yet.
#pragma once

#include "app/file_tab.h"

namespace scourly {

class RecentFilesTab : public FileTab {
 public:
  RecentFilesTab(TMainForm& form, ResultList& list) : FileTab(form, 1, list) {}
  bool FindFiles() override { return true; }
  void MenuScan() override {}
};

class FavoritesTab : public FileTab {
 public:
  FavoritesTab(TMainForm& form, ResultList& list) : FileTab(form, 2, list) {}
  bool FindFiles() override { return true; }
  void MenuScan() override {}
};

class DeadShortcutsTab : public FileTab {
 public:
  DeadShortcutsTab(TMainForm& form, ResultList& list) : FileTab(form, 4, list) {}
  bool FindFiles() override { return true; }
  void MenuScan() override {}
};

}  // namespace scourly
