// The "Web Browsers" sub-tab of "Browser Cache": today's browsers' cache,
// cookie and history files in a result list (ListBox6), which behaves as a
// file tab's list in everything, deletion included.
#pragma once

#include <string>

#include "app/file_tab.h"
#include "cache/web_browsers.h"
#include "options/browser_settings.h"

namespace scourly {

// The list's total-size text, made before the FileTab that refers to it.
struct WebBrowsersTotal {
  std::string totalSizeText;
};

class WebBrowsersTab : private WebBrowsersTotal, public FileTab {
 public:
  WebBrowsersTab(TMainForm& form, ResultList& list);

  // "Cache", "Cookies" and "History": what Find Files lists.
  CheckBox WCache, WCookies, WHistory;

  // The boxes as settings.ini has them (program start).
  void LoadCategories();
  // The user turned a box on or off (its model already shows the new
  // state): settings.ini keeps it.
  void CheckBoxClick(BrowserCategory category);

  // Find Files: the scan, then one message naming the browsers that were
  // running and so were left out.
  void WFindFilesClick();
  bool FindFiles() override {
    WFindFilesClick();
    return true;
  }
  void MenuScan() override { WFindFilesClick(); }

  // The user switched to this sub-tab: Find Files as on a file tab, the
  // list's refresh step.
  void SubTabShow();

 private:
  BrowserCategories Categories() const;
};

}  // namespace scourly
