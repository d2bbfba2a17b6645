// The "Browser Cache" tab: the "IE Cache" sub-tab (the URL cache view) and
// the "    More    " sub-tab.
#pragma once

#include "app/tab_page.h"
#include "cache/ie_cache_view.h"
#include "cache/more_cleaner.h"

namespace scourly {

class TMainForm;

class BrowserCacheTab : public TabPage {
 public:
  explicit BrowserCacheTab(TMainForm& form);

  TIECacheView IECacheView;
  TNetscapeOperaCleaner MoreCleaner;  // the "    More    " sub-tab

  // The tab comes into view: Find Files only where there is something to
  // find.
  void TabSheet4Show();

  // The tab, or its "More" sub-tab, comes into view.
  void SheetShow() override;
  bool FindFiles() override;
  void MenuScan() override { IECacheView.ScanforIECahefiles1Click(); }
  int RowCount() const override;
  void ClearList() override;
  void DeleteSelected(bool toRecycleBin) override;
  // The delete commands act on the IE Cache list's rows, and only while
  // that list is on view.
  void DeleteAll() override;
  void SelectAll() override { IECacheView.SelectAll(); }
  void InvertSelection() override { IECacheView.Invert(); }
  void Open() override {}  // cache entries have no file to open

 private:
  bool ListOnView() const;

  TMainForm& form_;
};

}  // namespace scourly
