// The "IE Cache" sub-tab against the in-memory cache and registry: scans by
// filter, the figures of the status bar, the details, and the deletions of
// cache entries and typed addresses.
#include <gtest/gtest.h>

#include "cache/ie_cache_view.h"
#include "lists/app_error.h"
#include "lists/status_panels.h"
#include "platform/fake/fake_date_format.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_url_cache.h"
#include "platform/fake/fake_windows.h"

namespace scourly {
namespace {

using Texts = std::vector<std::string>;
constexpr uint32_t kNormal = 0x1, kCookie = 0x100000, kHistory = 0x200000, kSparse = 0x10000;
constexpr uint64_t kNoonTicks = 133549776000000000ULL;  // 2024-03-15 12:00 UTC
constexpr uint64_t kMidnightTicks = 133549344000000000ULL;  // 2024-03-15 00:00 UTC
constexpr RegistryRoot kHkcu = RegistryRoot::kCurrentUser;

struct View : ::testing::Test {
  fake::FakeUrlCache cache;
  fake::FakeRegistry registry;
  fake::FakeDateFormat dates;
  fake::FakeUi ui;

  // The main window's shared models.
  TextList ListBox4;
  StatusBar StatusBar1;
  ToolButton FindFilesTB, DeleteAllTB, DeleteSelTB;
  PageControl PageControl2;
  bool StopFlag = true;
  std::string TotalSizeText;
  std::vector<std::string> TypedUrlNames;

  TIECacheView view{{ListBox4, StatusBar1, FindFilesTB, DeleteAllTB, DeleteSelTB, PageControl2,
                     StopFlag, TotalSizeText, TypedUrlNames},
                    {ui, cache, registry, dates}};

  View() {
    cache.Add("Cookie:user@a.test/", kCookie, 100);
    UrlCacheEntry& page = cache.Add("http://a.test/index.html", kNormal, 1000);
    page.hitRate = 7;
    page.lastAccessTime = kNoonTicks;
    page.lastModifiedTime = kMidnightTicks;
    cache.Add("Visited: user@http://a.test/", kHistory);
    cache.Add("http://a.test/logo.png", kNormal, 536);
    cache.Add("http://a.test/partial", kSparse, 50);  // outside the form's filter
    cache.Add("Cookie:user@b.test/", kCookie, 200);
    registry.SetString(kHkcu, kTypedUrlsKey, "url1", "http://typed.one/");
    registry.SetString(kHkcu, kTypedUrlsKey, "url2", "http://typed.two/");
  }

  void Scan(int filter) {
    view.RadioGroup1.itemIndex = filter;
    view.RadioGroup1Click();
  }
  Texts Rows() { return ListBox4.Rows(); }
  Texts Panels() { return {StatusBar1.panels.begin(), StatusBar1.panels.end()}; }
  Texts Labels() {
    return {view.Label1.caption, view.Label2.caption, view.Label3.caption, view.Label4.caption};
  }
  void Click(std::vector<int> selected, int focus) {
    ListBox4.SetSelection(selected);
    ListBox4.itemIndex = focus;
    view.ListBox4Click();
  }
};

TEST_F(View, StartsWithTheFormsControls) {
  EXPECT_EQ(view.RadioGroup1.caption, "Filter");
  EXPECT_EQ(view.RadioGroup1.items, (Texts{"All", "Cookies", "URL History", "Temporary Files"}));
  EXPECT_EQ(view.RadioGroup1.itemIndex, -1);
  EXPECT_EQ(view.GroupBox1.caption, "File information");
  EXPECT_EQ(Labels(), (Texts{"Hit Rate:", "File Size:", "Last Accessed:", "Last Modified:"}));
  EXPECT_EQ(view.IECache1.Filter(), 0x300035u);
}

TEST_F(View, EachFilterListsItsEntriesAndTotals) {
  struct Case {
    int filter;
    Texts rows;
    int typed;
    const char* total;
  };
  const Case cases[] = {
      {kFilterAll,
       {"Cookie:user@a.test/", "http://a.test/index.html", "Visited: user@http://a.test/",
        "http://a.test/logo.png", "Cookie:user@b.test/"},
       0, "1 kB"},
      {kFilterCookies, {"Cookie:user@a.test/", "Cookie:user@b.test/"}, 0, "300 B"},
      {kFilterHistory,
       {"Visited: http://typed.one/", "Visited: http://typed.two/", "Visited: user@http://a.test/"},
       2, "0 B"},
      {kFilterTemporary, {"http://a.test/index.html", "http://a.test/logo.png"}, 0, "1 kB"},
      {-1, {}, 0, "0 B"},
  };
  for (const Case& k : cases) {
    StopFlag = true;
    DeleteSelTB.enabled = true;
    ui.hourglassChanges.clear();
    Scan(k.filter);
    EXPECT_EQ(Rows(), k.rows) << "filter " << k.filter;
    EXPECT_EQ(view.TypedUrlCount, k.typed) << "filter " << k.filter;
    EXPECT_EQ(Panels(), (Texts{"Selected Size: 0 B", "Selected Files: 0",
                               "Total Files: " + std::to_string(k.rows.size()), k.total}))
        << "filter " << k.filter;
    EXPECT_EQ(TotalSizeText, k.total);
    EXPECT_FALSE(StopFlag);
    EXPECT_TRUE(DeleteAllTB.enabled) << "also for an empty list";
    EXPECT_FALSE(DeleteSelTB.enabled);
    EXPECT_EQ(ui.hourglassChanges, (std::vector<bool>{true, false}));
  }
  EXPECT_EQ(TypedUrlNames, (Texts{"url1", "url2"}));
}

TEST_F(View, NoChosenFilterEnumeratesNothing) {
  cache.calls.clear();
  Scan(-1);
  for (const auto& call : cache.calls) EXPECT_NE(call.function, "FindFirst");
}

TEST_F(View, TotalsAreSixtyFourBit) {
  cache.Add("http://a.test/disk.img", kNormal, 5ULL << 30);  // 5 GiB
  cache.Add("http://a.test/disk2.img", kNormal, 3ULL << 30);
  Scan(kFilterTemporary);
  EXPECT_EQ(StatusBar1.Get(kPanelTotalSize), "8388609 kB");  // 8 GiB + 1536 B
  Click({2, 3}, 2);
  EXPECT_EQ(StatusBar1.Get(kPanelSelSize), "Selected Size: 8589934592 B");
  EXPECT_EQ(view.Label2.caption, "File Size: 5368709120 B");
}

TEST_F(View, SelectedBytesShowInBytesWhileTheTotalShowsInKilobytes) {
  Scan(kFilterTemporary);  // 1000 + 536 bytes
  EXPECT_EQ(StatusBar1.Get(kPanelTotalSize), "1 kB");
  Click({0, 1}, 1);
  EXPECT_EQ(Panels(), (Texts{"Selected Size: 1536 B", "Selected Files: 2", "Total Files: 2", "1 kB"}));
  EXPECT_TRUE(DeleteSelTB.enabled);
  EXPECT_TRUE(DeleteAllTB.enabled);
  // Select All and Invert keep the usual size text.
  view.SelectAll();
  EXPECT_EQ(StatusBar1.Get(kPanelSelSize), "Selected Size: 1 kB");
  ListBox4.SetSelection({0});
  ui.hourglassChanges.clear();
  view.Invert();
  EXPECT_EQ(Panels(), (Texts{"Selected Size: 536 B", "Selected Files: 1", "Total Files: 2", "1 kB"}));
  EXPECT_EQ(ui.hourglassChanges, (std::vector<bool>{true, false}));
  view.Invert();
  EXPECT_TRUE(ListBox4.Selected(0));
  EXPECT_FALSE(ListBox4.Selected(1));
}

TEST_F(View, TypedRowsAndVanishedEntriesCountNothingAndShowNoDetails) {
  Scan(kFilterHistory);
  cache.Add("Visited: http://typed.one/", kHistory, 999);  // a cache key like a typed row's text
  Click({2}, 2);  // the history entry: read
  EXPECT_EQ(Labels()[0], "Hit Rate: 0");
  Click({0, 1, 2}, 0);
  EXPECT_EQ(Labels(), (Texts{"Hit Rate: ", "File Size: ", "Last Access: ", "Last Modified: "}));
  EXPECT_EQ(Panels(), (Texts{"Selected Size: 0 B", "Selected Files: 3", "Total Files: 3", "0 B"}));
  view.SelectAll();
  EXPECT_EQ(StatusBar1.Get(kPanelSelFiles), "Selected Files: 3");
  EXPECT_EQ(StatusBar1.Get(kPanelSelSize), "Selected Size: 0 B");

  Scan(kFilterTemporary);
  Click({}, 0);
  EXPECT_EQ(Labels(), (Texts{"Hit Rate: 7", "File Size: 1000 B", "Last Access: 15.03.2024 12:00:00",
                             "Last Modified: 15.03.2024"}));
  cache.DeleteEntry("http://a.test/logo.png");  // leaves the cache after the scan
  Click({0, 1}, 1);
  EXPECT_EQ(Labels(), (Texts{"Hit Rate: ", "File Size: ", "Last Access: ", "Last Modified: "}));
  EXPECT_EQ(StatusBar1.Get(kPanelSelSize), "Selected Size: 1000 B");
}

TEST_F(View, ClickingAnEmptyListResetsThePanelsAndLeavesTheRest) {
  Scan(kFilterTemporary);
  Click({}, 0);
  ListBox4.Clear();
  DeleteSelTB.enabled = true;
  view.ListBox4Click();
  EXPECT_EQ(Panels(), (Texts{"Selected Size: 0 B", "Selected Files: 0", "Total Files: 0", "0 B"}));
  EXPECT_FALSE(DeleteAllTB.enabled);
  EXPECT_TRUE(DeleteSelTB.enabled);
  EXPECT_EQ(Labels()[0], "Hit Rate: 7");
}

TEST_F(View, DeletingTheFirstTypedAddressRemovesOnlyItsValue) {
  Scan(kFilterHistory);
  Click({0}, 0);
  view.CDeleteSelClick();
  EXPECT_EQ(registry.Names(kHkcu, kTypedUrlsKey), (Texts{"url2"}));
  EXPECT_TRUE(cache.Contains("Visited: user@http://a.test/"));
  EXPECT_EQ(Rows(), (Texts{"Visited: http://typed.two/", "Visited: user@http://a.test/"}));
  EXPECT_EQ(view.TypedUrlCount, 1);
  EXPECT_TRUE(view.ListBox4FocusRequested);
  EXPECT_EQ(registry.openKeys, 0);
}

TEST_F(View, CookiesAfterUrlHistoryDeleteTheCookieAndNoTypedAddress) {
  Scan(kFilterHistory);
  view.SetFilterIndex(kFilterCookies);  // choosing another filter scans
  EXPECT_EQ(view.TypedUrlCount, 0);
  Click({0}, 0);
  view.CDeleteSelClick();
  EXPECT_FALSE(cache.Contains("Cookie:user@a.test/"));
  EXPECT_EQ(registry.Names(kHkcu, kTypedUrlsKey), (Texts{"url1", "url2"}));
  EXPECT_EQ(Rows(), (Texts{"Cookie:user@b.test/"}));
}

TEST_F(View, DeleteSelectedRemovesExactlyTheSelectedEntries) {
  Scan(kFilterAll);
  Click({1, 3, 4}, 1);
  cache.undeletable.insert("http://a.test/logo.png");
  view.CDeleteSelClick();
  EXPECT_EQ(cache.Urls(), (Texts{"Cookie:user@a.test/", "Visited: user@http://a.test/",
                                 "http://a.test/logo.png", "http://a.test/partial"}));
  // What WinInet refused to delete is listed again.
  EXPECT_EQ(Rows(), (Texts{"Cookie:user@a.test/", "Visited: user@http://a.test/",
                           "http://a.test/logo.png"}));
  EXPECT_FALSE(DeleteSelTB.enabled);
}

TEST_F(View, ATypedAddressThatChangedSinceTheScanIsNotDeleted) {
  Scan(kFilterHistory);
  // The browser renumbers: the value listed as typed.one now holds another address.
  registry.SetString(kHkcu, kTypedUrlsKey, "url1", "http://newly.typed/");
  Click({0, 1}, 0);
  view.CDeleteSelClick();
  EXPECT_EQ(registry.Names(kHkcu, kTypedUrlsKey), (Texts{"url1"}));
  EXPECT_EQ(registry.Text(kHkcu, kTypedUrlsKey, "url1"), "http://newly.typed/");
}

TEST_F(View, AStaleStopDeletesNothingAndDoesNotRescan) {
  Scan(kFilterHistory);
  Click({0, 2}, 0);
  StopFlag = true;
  view.CDeleteSelClick();
  view.DeleteAllClick();
  EXPECT_EQ(cache.Urls().size(), 6u);
  EXPECT_EQ(registry.Names(kHkcu, kTypedUrlsKey).size(), 2u);
  EXPECT_EQ(Rows().size(), 3u);
  EXPECT_FALSE(view.ListBox4FocusRequested);
}

// Delete All takes exactly what the rows name: an entry or typed address
// that came after the scan was never shown, so it stays.
TEST_F(View, DeleteAllRemovesExactlyTheListedEntriesAndTypedAddresses) {
  Scan(kFilterHistory);
  cache.Add("Visited: user@http://b.test/", kHistory);  // not listed, but matching
  registry.SetString(kHkcu, kTypedUrlsKey, "url3", "http://typed.three/");  // not listed
  Click({1}, 1);
  const Texts panels = Panels();
  view.DeleteAllClick();
  EXPECT_EQ(cache.Urls(), (Texts{"Cookie:user@a.test/", "http://a.test/index.html",
                                 "http://a.test/logo.png", "http://a.test/partial",
                                 "Cookie:user@b.test/", "Visited: user@http://b.test/"}));
  EXPECT_EQ(registry.Names(kHkcu, kTypedUrlsKey), (Texts{"url3"}));
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(Panels(), panels);
  EXPECT_EQ(registry.openKeys, 0);
  EXPECT_EQ(cache.openFinds, 0);

  // With nothing listed, nothing goes.
  view.DeleteAllClick();
  EXPECT_EQ(cache.Urls().size(), 6u);
}

TEST_F(View, TypedAddressesNeedTheirKey) {
  TypedUrlNames = {"kept"};
  registry.FindKey(kHkcu, kTypedUrlsKey)->unopenable = true;
  Scan(kFilterHistory);
  EXPECT_EQ(Rows(), (Texts{"Visited: user@http://a.test/"}));
  EXPECT_EQ(view.TypedUrlCount, 0);
  EXPECT_EQ(TypedUrlNames, (Texts{"kept"}));
}

TEST_F(View, ATypedValueThatIsNotTextEndsTheScanWithTheRegistryError) {
  Scan(kFilterHistory);
  registry.SetBinary(kHkcu, kTypedUrlsKey, "url2", std::string("\x01\x02", 2));
  ui.hourglassChanges.clear();
  try {
    Scan(kFilterHistory);
    FAIL() << "no error";
  } catch (const AppError& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'url2'");
  }
  EXPECT_EQ(ui.hourglassChanges, (std::vector<bool>{true, false}));
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(view.TypedUrlCount, 0);
  view.DeleteAllClick();  // nothing typed is counted, so no value goes
  EXPECT_EQ(registry.Names(kHkcu, kTypedUrlsKey), (Texts{"url1", "url2"}));
}

TEST_F(View, WithoutTheCacheInterfaceOnlyTypedAddressesAreListed) {
  cache.exports.erase("FindFirstUrlCacheEntryExA");
  TIECacheView bare{{ListBox4, StatusBar1, FindFilesTB, DeleteAllTB, DeleteSelTB, PageControl2,
                     StopFlag, TotalSizeText, TypedUrlNames},
                    {ui, cache, registry, dates}};
  bare.RadioGroup1.itemIndex = kFilterHistory;
  bare.RadioGroup1Click();
  EXPECT_EQ(Rows(), (Texts{"Visited: http://typed.one/", "Visited: http://typed.two/"}));
  bare.SetFilterIndex(kFilterAll);
  EXPECT_TRUE(Rows().empty());
  bare.DeleteAllClick();
  EXPECT_EQ(cache.Urls().size(), 6u);
}

TEST_F(View, TheMoreSubTabEmptiesThePanelsAndComingBackRecomputesThem) {
  Scan(kFilterTemporary);
  ListBox4.SetSelection({0});
  PageControl2.activeIndex = 1;
  view.PageControl2Change();
  EXPECT_EQ(Panels(), (Texts{"", "", "", ""}));
  EXPECT_FALSE(FindFilesTB.enabled);
  EXPECT_FALSE(DeleteAllTB.enabled);
  EXPECT_FALSE(DeleteSelTB.enabled);
  PageControl2.activeIndex = 0;
  view.PageControl2Change();
  EXPECT_EQ(Panels(), (Texts{"Selected Size: 1000 B", "Selected Files: 1", "Total Files: 2", "1 kB"}));
  EXPECT_TRUE(FindFilesTB.enabled);
  EXPECT_TRUE(DeleteAllTB.enabled);
  EXPECT_TRUE(DeleteSelTB.enabled);
}

TEST_F(View, TheFileMenuScanListsEverythingOnce) {
  Scan(kFilterCookies);
  cache.calls.clear();
  view.ScanforIECahefiles1Click();
  EXPECT_EQ(view.RadioGroup1.itemIndex, kFilterAll);
  EXPECT_EQ(Rows().size(), 5u);
  int scans = 0;
  for (const auto& call : cache.calls) scans += call.function == "FindFirst" && call.size == 0;
  EXPECT_EQ(scans, 1);
}

TEST_F(View, TheDeleteKeyDeletesOnlyWithASelection) {
  Scan(kFilterCookies);
  view.ListBox4KeyDown(46);
  EXPECT_EQ(Rows().size(), 2u);
  ListBox4.SetSelection({1});
  view.ListBox4KeyDown(45);
  EXPECT_EQ(Rows().size(), 2u);
  view.ListBox4KeyDown(46);
  EXPECT_EQ(Rows(), (Texts{"Cookie:user@a.test/"}));
}

}  // namespace
}  // namespace scourly
