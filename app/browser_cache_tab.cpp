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
      WebBrowsers(form, form.ListBox6),
      form_(form) {
  MoreCleaner.keep = &form.options().keep;
  MoreCleaner.log = &form.deletionLog();
}

bool BrowserCacheTab::WebBrowsersActive() const {
  return form_.PageControl2.activeIndex == kSubTabWebBrowsers;
}

void BrowserCacheTab::SheetShow() {
  TabSheet4Show();
  // The delete buttons follow the list on view, never the tab left behind:
  // the IE Cache list's refresh step sets them from its rows, and the
  // "More" sub-tab has no rows at all.
  if (form_.PageControl2.activeIndex == kSubTabMore) {
    MoreCleaner.TabSheet7Show();
    form_.DeleteAllTB.enabled = false;
    form_.DeleteSelTB.enabled = false;
  } else if (WebBrowsersActive()) {
    WebBrowsers.SheetShow();
  } else {
    IECacheView.ListBox4Click();
  }
}

void BrowserCacheTab::TabSheet4Show() {
  form_.FindFilesTB.enabled = form_.PageControl2.activeIndex != kSubTabMore;
}

void BrowserCacheTab::PageControl2Change() {
  if (WebBrowsersActive()) {
    WebBrowsers.SubTabShow();
  } else {
    IECacheView.PageControl2Change();
  }
}

bool BrowserCacheTab::FindFiles() {
  if (WebBrowsersActive()) return WebBrowsers.FindFiles();
  // Choosing "All" when another filter was chosen lists at once, and a Stop
  // pressed meanwhile ends Find Files here.
  IECacheView.SetFilterIndex(kFilterAll);
  if (form_.StopFlag) return false;
  IECacheView.RadioGroup1Click();
  return true;
}

int BrowserCacheTab::RowCount() const {
  return WebBrowsersActive() ? WebBrowsers.RowCount() : form_.ListBox4.Count();
}

void BrowserCacheTab::ClearList() {
  if (WebBrowsersActive()) return WebBrowsers.ClearList();
  form_.ListBox4.Clear();
}

bool BrowserCacheTab::ListOnView() const { return form_.PageControl2.activeIndex != kSubTabMore; }

void BrowserCacheTab::DeleteSelected(bool toRecycleBin) {
  if (!ListOnView()) return;
  if (WebBrowsersActive()) return WebBrowsers.DeleteSelected(toRecycleBin);
  try {
    IECacheView.CDeleteSelClick();
  } catch (...) {
    // As with files, errors of the delete-selected commands are dropped.
  }
}

void BrowserCacheTab::DeleteAll() {
  if (!ListOnView()) return;
  if (WebBrowsersActive()) return WebBrowsers.DeleteAll();
  IECacheView.DeleteAllClick();
}

void BrowserCacheTab::SelectAll() {
  if (WebBrowsersActive()) return WebBrowsers.SelectAll();
  IECacheView.SelectAll();
}

void BrowserCacheTab::InvertSelection() {
  if (WebBrowsersActive()) return WebBrowsers.InvertSelection();
  IECacheView.Invert();
}

void BrowserCacheTab::Open() {
  if (WebBrowsersActive()) WebBrowsers.Open();
}

}  // namespace scourly
