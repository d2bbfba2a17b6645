// The "Unneeded Files" tab: ListBox1 and the unneeded-file scan.
#pragma once

#include "app/file_tab.h"

namespace scourly {

class UnneededFilesTab : public FileTab {
 public:
  UnneededFilesTab(TMainForm& form, ResultList& list) : FileTab(form, 0, list) {}

  // The scan: the checked masks and the empty files on every checked drive,
  // then the Windows temporary folder when its flag is on.
  void UFindFilesClick();

  bool FindFiles() override {
    UFindFilesClick();
    return true;
  }
  void MenuScan() override { UFindFilesClick(); }
};

}  // namespace scourly
