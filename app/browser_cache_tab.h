// The "Browser Cache" tab: the "IE Cache" sub-tab's list ListBox4 and the
// "    More    " sub-tab.
#pragma once

#include "app/tab_page.h"

namespace scourly {

class TMainForm;

class BrowserCacheTab : public TabPage {
 public:
  explicit BrowserCacheTab(TMainForm& form) : form_(form) {}

  // The tab comes into view: Find Files only where there is something to
  // find.
  void TabSheet4Show();

  void SheetShow() override { TabSheet4Show(); }
  bool FindFiles() override { return true; }
  void MenuScan() override {}
  int RowCount() const override;
  void ClearList() override;
  void DeleteSelected(bool) override {}
  void DeleteAll() override {}

 private:
  TMainForm& form_;
};

}  // namespace scourly
