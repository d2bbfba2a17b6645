#include "app/web_browsers_tab.h"

#include "app/main_form.h"
#include "lists/app_title.h"

namespace scourly {

WebBrowsersTab::WebBrowsersTab(TMainForm& form, ResultList& list)
    : FileTab(form, WebBrowsersTotal::totalSizeText, list) {
  WCache.caption = "Cache";
  WCookies.caption = "Cookies";
  WHistory.caption = "History";
}

BrowserCategories WebBrowsersTab::Categories() const {
  return {WCache.checked, WCookies.checked, WHistory.checked};
}

void WebBrowsersTab::LoadCategories() {
  const BrowserCategories categories = ReadBrowserCategories(form_.platform().fs);
  WCache.checked = categories.cache;
  WCookies.checked = categories.cookies;
  WHistory.checked = categories.history;
}

void WebBrowsersTab::CheckBoxClick(BrowserCategory category) {
  const CheckBox& box = category == BrowserCategory::kCache     ? WCache
                        : category == BrowserCategory::kCookies ? WCookies
                                                                : WHistory;
  WriteBrowserCategory(form_.platform().fs, category, box.checked);
}

void WebBrowsersTab::WFindFilesClick() {
  FileTabScan tab = ScanModels();
  std::vector<std::string> running;
  form_.RunScan([&] { running = WebBrowsersFindFiles(tab, form_.platform(), Categories()); });
  const std::string text = RunningBrowsersMessage(running);
  if (!text.empty())
    form_.platform().ui.ShowMessage(text, kAppTitle, MsgButtons::kOk, MsgIcon::kInformation);
}

void WebBrowsersTab::SubTabShow() {
  form_.FindFilesTB.enabled = !form_.ScanRunning();
  // What the other sub-tab's list had selected says nothing of this one.
  form_.DeleteSelTB.enabled = false;
  Refresh();
}

}  // namespace scourly
