#include "app/browser_cache_tab.h"

#include "app/main_form.h"

namespace scourly {

void BrowserCacheTab::TabSheet4Show() {
  form_.FindFilesTB.enabled = form_.PageControl2.activeIndex != kSubTabMore;
}

int BrowserCacheTab::RowCount() const { return form_.ListBox4.Count(); }

void BrowserCacheTab::ClearList() { form_.ListBox4.Clear(); }

}  // namespace scourly
