// The "Browser Cache" tab: the "IE Cache" sub-tab (the URL cache view), the
// "    More    " sub-tab and the "Web Browsers" sub-tab, to whose page the
// tab's commands go while it is the one on view.
#pragma once

#include "app/tab_page.h"
#include "app/web_browsers_tab.h"
#include "cache/ie_cache_view.h"
#include "cache/more_cleaner.h"

namespace scourly {

class TMainForm;

class BrowserCacheTab : public TabPage {
 public:
  explicit BrowserCacheTab(TMainForm& form);

  TIECacheView IECacheView;
  TNetscapeOperaCleaner MoreCleaner;  // the "    More    " sub-tab
  WebBrowsersTab WebBrowsers;         // the "Web Browsers" sub-tab

  // The tab comes into view: Find Files only where there is something to
  // find.
  void TabSheet4Show();
  // The user switched sub-tabs.
  void PageControl2Change();

  // The tab, or its "More" or "Web Browsers" sub-tab, comes into view.
  void SheetShow() override;
  bool FindFiles() override;
  void MenuScan() override { IECacheView.ScanforIECahefiles1Click(); }
  int RowCount() const override;
  void ClearList() override;
  void DeleteSelected(bool toRecycleBin) override;
  // The delete commands act on the rows of the list on view; the "More"
  // sub-tab has none.
  void DeleteAll() override;
  void SelectAll() override;
  void InvertSelection() override;
  void Open() override;  // cache entries have no file to open; browser files do

 private:
  bool WebBrowsersActive() const;
  bool ListOnView() const;

  TMainForm& form_;
};

}  // namespace scourly
