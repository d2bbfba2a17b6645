#include "app/browser_cache_tab.h"

#include "app/main_form.h"

namespace scourly {

BrowserCacheTab::BrowserCacheTab(TMainForm& form)
    : IECacheView(
          IECacheViewModels{form.ListBox4, form.StatusBar1, form.FindFilesTB, form.DeleteAllTB,
                            form.DeleteSelTB, form.PageControl2, form.StopFlag,
                            form.TotalSizeText[kTabBrowserCache], form.TypedUrlNames},
          IECacheViewServices{form.platform().ui, form.platform().urlCache,
                              form.platform().registry, form.platform().dateFormat,
                              &form.deletionLog()}),
      MoreCleaner(form.platform(), form.StopFlag, form.FindFilesTB),
      form_(form) {
  MoreCleaner.keep = &form.options().keep;
  MoreCleaner.log = &form.deletionLog();
}

void BrowserCacheTab::SheetShow() {
  TabSheet4Show();
  if (form_.PageControl2.activeIndex == kSubTabMore) MoreCleaner.TabSheet7Show();
}

void BrowserCacheTab::TabSheet4Show() {
  form_.FindFilesTB.enabled = form_.PageControl2.activeIndex != kSubTabMore;
}

bool BrowserCacheTab::FindFiles() {
  // Choosing "All" when another filter was chosen lists at once, and a Stop
  // pressed meanwhile ends Find Files here.
  IECacheView.SetFilterIndex(kFilterAll);
  if (form_.StopFlag) return false;
  IECacheView.RadioGroup1Click();
  return true;
}

int BrowserCacheTab::RowCount() const { return form_.ListBox4.Count(); }

void BrowserCacheTab::ClearList() { form_.ListBox4.Clear(); }

void BrowserCacheTab::DeleteSelected(bool) {
  try {
    IECacheView.CDeleteSelClick();
  } catch (...) {
    // As with files, errors of the delete-selected commands are dropped.
  }
}

}  // namespace scourly
