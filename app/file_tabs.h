// The four file tabs, each its list and its scan.
#pragma once

#include <optional>
#include <string>

#include "app/file_tab.h"

namespace scourly {

// "Unneeded Files": ListBox1.
class UnneededFilesTab : public FileTab {
 public:
  UnneededFilesTab(TMainForm& form, ResultList& list) : FileTab(form, 0, list) {}
  void UFindFilesClick();
  bool FindFiles() override {
    UFindFilesClick();
    return true;
  }
  void MenuScan() override { UFindFilesClick(); }
};

// "Recent Files": ListBox2, the entries of the Recent Documents folder.
class RecentFilesTab : public FileTab {
 public:
  RecentFilesTab(TMainForm& form, ResultList& list) : FileTab(form, 1, list) {}
  void RFindFilesClick();
  bool FindFiles() override {
    RFindFilesClick();
    return true;
  }
  void MenuScan() override { RFindFilesClick(); }
};

// "IE Favorites": ListBox3, the Favorites folder tree.
class FavoritesTab : public FileTab {
 public:
  FavoritesTab(TMainForm& form, ResultList& list) : FileTab(form, 2, list) {}
  void FFindFilesClick();
  bool FindFiles() override {
    FFindFilesClick();
    return true;
  }
  void MenuScan() override { FFindFilesClick(); }
};

// "Dead Shortcuts": ListBox5, the shortcuts of the checked drives whose
// targets are gone.
class DeadShortcutsTab : public FileTab {
 public:
  DeadShortcutsTab(TMainForm& form, ResultList& list) : FileTab(form, 4, list) {}
  void DFindFilesClick();
  bool FindFiles() override {
    DFindFilesClick();
    return true;
  }
  void MenuScan() override { DFindFilesClick(); }
};

}  // namespace scourly
