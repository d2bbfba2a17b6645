// The cache component against the in-memory URL cache: filters, patterns,
// the size-query protocol, events, the entry record and the library check.
#include <gtest/gtest.h>

#include "cache/date_time.h"
#include "cache/ie_cache.h"
#include "platform/fake/fake_date_format.h"
#include "platform/fake/fake_url_cache.h"

namespace scourly {
namespace {

using fake::FakeDateFormat;
using fake::FakeUrlCache;
using Texts = std::vector<std::string>;

constexpr uint32_t kNormal = 0x1, kCookie = 0x100000, kHistory = 0x200000, kSparse = 0x10000;
// 2024-03-15 12:00 UTC, and the date-time value of that moment.
constexpr uint64_t kNoonTicks = 133549776000000000ULL;
constexpr double kNoonValue = 45366.5;
constexpr uint64_t kTicksPerHour = 36000000000ULL;

struct Component : ::testing::Test {
  FakeUrlCache cache;
  FakeDateFormat dates;

  // Enumerates with a fresh component and returns the URLs delivered.
  Texts Enumerate(TIECache& c) {
    Texts seen;
    c.OnEntry = [&](TIECache& sender, bool&) { seen.push_back(sender.EntryInfo().SourceUrlName); };
    c.EnumerateEntries(0);
    return seen;
  }
  void FillCache() {
    cache.Add("Cookie:user@a.test/", kCookie, 10);
    cache.Add("http://a.test/page.html", kNormal, 20);
    cache.Add("Visited: user@http://a.test/", kHistory);
    cache.Add("http://a.test/part", kSparse, 30);  // not in the default set
  }
};

TEST_F(Component, FilterIsTheSumOfTheMembersFlags) {
  struct Case {
    TFilterOptions set;
    uint32_t filter;
  };
  const Case cases[] = {
      {kDefaultFilterOptions, 0x300035},
      {{STABLE_ENTRY, OCX_ENTRY}, 0x20002},
      {{}, 0},
      {{SPARSE_ENTRY, TRACK_ONLINE_ENTRY, COOKIE_ENTRY}, 0x110020},
  };
  TIECache c(cache, dates);
  EXPECT_EQ(c.FilterOptions().Bits(), 125);
  EXPECT_EQ(c.Filter(), 0x300035u);
  for (const Case& k : cases) {
    c.SetFilterOptions(k.set);
    EXPECT_EQ(c.Filter(), k.filter) << "set bits " << k.set.Bits();
    EXPECT_EQ(c.FilterOptions(), k.set);
  }
}

TEST_F(Component, EachSearchPatternReachesWinInetAsItsOwnCall) {
  FillCache();
  struct Case {
    TSearchPattern pattern;
    std::optional<std::string> passed;
    Texts listed;
  };
  const Case cases[] = {
      {spAll, std::nullopt,
       {"Cookie:user@a.test/", "http://a.test/page.html", "Visited: user@http://a.test/"}},
      {spCookies, "Cookie:", {"Cookie:user@a.test/"}},
      {spHistory, "Visited:", {"Visited: user@http://a.test/"}},
      {spUrl, "", {"http://a.test/page.html"}},
  };
  for (const Case& k : cases) {
    TIECache c(cache, dates);
    c.SearchPattern = k.pattern;
    cache.calls.clear();
    EXPECT_EQ(Enumerate(c), k.listed) << "pattern " << int(k.pattern);
    ASSERT_FALSE(cache.calls.empty());
    EXPECT_EQ(cache.calls[0].pattern, k.passed);
    EXPECT_EQ(cache.calls[0].filter, 0x300035u);
    EXPECT_EQ(cache.calls[0].flags, 0u);
  }
}

TEST_F(Component, EachStepIsOneSizeQueryAndOneCallWithExactlyThatSize) {
  FillCache();
  TIECache c(cache, dates);
  cache.calls.clear();
  ASSERT_EQ(c.FindFirstEntry(0), 0u);
  ASSERT_EQ(c.FindNextEntry(), 0u);
  ASSERT_EQ(c.GetEntryInfo("http://a.test/page.html"), 0u);
  const uint32_t cookie = FakeUrlCache::NeededSize(*cache.Find("Cookie:user@a.test/"));
  const uint32_t page = FakeUrlCache::NeededSize(*cache.Find("http://a.test/page.html"));
  ASSERT_EQ(cache.calls.size(), 6u);
  const std::pair<std::string, uint32_t> expected[] = {
      {"FindFirst", 0}, {"FindFirst", cookie}, {"FindNext", 0},
      {"FindNext", page}, {"GetEntryInfo", 0}, {"GetEntryInfo", page}};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(cache.calls[i].function, expected[i].first) << i;
    EXPECT_EQ(cache.calls[i].size, expected[i].second) << i;
  }
}

TEST_F(Component, AnEntryThatGrowsBetweenTheTwoCallsFailsTheStepAndKeepsTheRecord) {
  FillCache();
  TIECache c(cache, dates);
  ASSERT_EQ(c.GetEntryInfo("http://a.test/page.html"), 0u);
  cache.afterSizeQuery = [&] { cache.Find("http://a.test/page.html")->headerInfo = "grown"; };
  EXPECT_EQ(c.GetEntryInfo("http://a.test/page.html"), kErrorInsufficientBuffer);
  EXPECT_EQ(c.EntryInfo().SourceUrlName, "http://a.test/page.html");
  EXPECT_EQ(c.EntryInfo().HeaderInfo, "");
}

TEST_F(Component, AnEmptyCacheRaisesNoEventAndLeavesNothingOpen) {
  TIECache c(cache, dates);
  int events = 0;
  c.OnEntry = [&](TIECache&, bool&) { ++events; };
  c.EnumerateEntries(0);
  EXPECT_EQ(events, 0);
  EXPECT_EQ(cache.openFinds, 0);
  EXPECT_FALSE(c.EnumerationOpen());
  EXPECT_EQ(c.FindFirstEntry(0), kErrorNoMoreItems);
}

TEST_F(Component, CancelOnTheFirstEntryDeliversExactlyOneEvent) {
  FillCache();
  TIECache c(cache, dates);
  int events = 0;
  c.OnEntry = [&](TIECache&, bool& cancel) {
    ++events;
    cancel = true;
  };
  c.EnumerateEntries(0);
  EXPECT_EQ(events, 1);
  EXPECT_EQ(cache.openFinds, 0);
  // A later enumeration starts uncancelled.
  c.OnEntry = [&](TIECache&, bool&) { ++events; };
  c.EnumerateEntries(0);
  EXPECT_EQ(events, 4);
}

TEST_F(Component, AHandlerThatRaisesStillClosesTheEnumeration) {
  FillCache();
  TIECache c(cache, dates);
  c.OnEntry = [](TIECache&, bool&) { throw std::runtime_error("handler"); };
  EXPECT_THROW(c.EnumerateEntries(0), std::runtime_error);
  EXPECT_EQ(cache.openFinds, 0);
}

TEST_F(Component, TheRecordHoldsEveryFieldOfTheEntryReadLast) {
  UrlCacheEntry& e = cache.Add("http://a.test/big.iso", kNormal, 5368709120ULL);  // 5 GiB
  e.localFileName = "C:\\cache\\big[1].iso";
  e.useCount = 3;
  e.hitRate = 7;
  e.lastModifiedTime = kNoonTicks;
  e.expireTime = kNoonTicks + 24 * kTicksPerHour;
  e.lastAccessTime = kNoonTicks + 6 * kTicksPerHour;
  e.lastSyncTime = 0;  // 1601-01-01: before the epoch, so a negative value
  e.headerInfo = "HTTP/1.1 200 OK\r\n\r\n";
  e.fileExtension = "iso";
  e.exemptDelta = 86400;
  dates.biasTicks = 2 * kTicksPerHour;
  TIECache c(cache, dates);
  ASSERT_EQ(c.GetEntryInfo("http://a.test/big.iso"), 0u);
  const TEntryInfo& i = c.EntryInfo();
  EXPECT_EQ(i.SourceUrlName, "http://a.test/big.iso");
  EXPECT_EQ(i.LocalFileName, "C:\\cache\\big[1].iso");
  EXPECT_EQ(i.EntryType, kNormal);
  EXPECT_EQ(i.UseCount, 3u);
  EXPECT_EQ(i.HitRate, 7u);
  EXPECT_EQ(i.Size, 5368709120ULL);
  EXPECT_DOUBLE_EQ(i.LastModifiedTime, kNoonValue + 2.0 / 24);
  EXPECT_DOUBLE_EQ(i.ExpireTime, kNoonValue + 1 + 2.0 / 24);
  EXPECT_DOUBLE_EQ(i.LastAccessTime, kNoonValue + 8.0 / 24);
  EXPECT_DOUBLE_EQ(i.LastSyncTime, -109205 - 2.0 / 24);
  EXPECT_EQ(i.HeaderInfo, "HTTP/1.1 200 OK\r\n\r\n");
  EXPECT_EQ(i.FileExtension, "iso");
  EXPECT_EQ(i.ExemptDelta, 86400u);
}

TEST_F(Component, ATimeThatCannotBeConvertedReadsAsZero) {
  struct Case {
    const char* why;
    uint64_t ticks;
    bool localRefused;
  };
  const Case cases[] = {
      {"the local conversion is refused", kNoonTicks, true},
      {"beyond what FileTimeToSystemTime takes", 0x8000000000000000ULL, false},
      {"after the year 9999", 2650467743990000000ULL + 864000000000ULL, false},
  };
  for (const Case& k : cases) {
    FakeUrlCache one;
    one.Add("http://a.test/", kNormal).lastAccessTime = k.ticks;
    one.Find("http://a.test/")->lastModifiedTime = kNoonTicks + kTicksPerHour;
    FakeDateFormat d;
    if (k.localRefused) d.refused.insert(k.ticks);
    TIECache c(one, d);
    ASSERT_EQ(c.GetEntryInfo("http://a.test/"), 0u) << k.why;
    EXPECT_EQ(c.EntryInfo().LastAccessTime, 0.0) << k.why;
    EXPECT_DOUBLE_EQ(c.EntryInfo().LastModifiedTime, kNoonValue + 1.0 / 24) << k.why;
  }
}

TEST_F(Component, AMissingUrlLeavesTheRecordAndADeletionClearsIt) {
  FillCache();
  TIECache c(cache, dates);
  ASSERT_EQ(c.GetEntryInfo("http://a.test/page.html"), 0u);
  EXPECT_EQ(c.GetEntryInfo("http://a.test/gone"), kErrorFileNotFound);
  EXPECT_EQ(c.EntryInfo().SourceUrlName, "http://a.test/page.html");
  EXPECT_EQ(c.DeleteEntry("http://a.test/gone"), kErrorFileNotFound);
  EXPECT_EQ(c.EntryInfo().SourceUrlName, "http://a.test/page.html");
  EXPECT_EQ(c.DeleteEntry("Cookie:user@a.test/"), 0u);
  EXPECT_EQ(c.EntryInfo(), TEntryInfo{});
  EXPECT_FALSE(cache.Contains("Cookie:user@a.test/"));
}

TEST_F(Component, DeleteAllRemovesWhatThePatternAndFilterEnumerate) {
  FillCache();
  cache.Add("Cookie:user@b.test/", kCookie);
  cache.Add("Cookie:user@c.test/", kCookie);
  cache.undeletable.insert("Cookie:user@b.test/");
  TIECache c(cache, dates);
  c.SearchPattern = spCookies;
  c.DeleteAllEntries();
  EXPECT_EQ(cache.Urls(), (Texts{"http://a.test/page.html", "Visited: user@http://a.test/",
                                 "http://a.test/part", "Cookie:user@b.test/"}));
  EXPECT_EQ(cache.openFinds, 0);
}

TEST_F(Component, DeleteAllEndsWhenAStepKeepsFailing) {
  FillCache();
  TIECache c(cache, dates);
  int queries = 0;
  // Every entry grows between its size query and its reading, for ever.
  cache.afterSizeQuery = [&] {
    if (++queries == 1) return;  // the first entry reads
    if (queries > 100) throw std::runtime_error("still looping");
    for (const std::string& url : cache.Urls()) cache.Find(url)->headerInfo += "x";
  };
  EXPECT_NO_THROW(c.DeleteAllEntries());
  EXPECT_EQ(cache.openFinds, 0);
}

TEST_F(Component, AnyMissingEntryPointMakesTheCacheUnavailable) {
  for (const char* missing : kWinInetEntryPoints) {
    FakeUrlCache one;
    one.Add("http://a.test/", kNormal);
    one.exports.erase(missing);
    TIECache c(one, dates);
    EXPECT_FALSE(c.LibraryFound()) << missing;
    EXPECT_TRUE(Enumerate(c).empty()) << missing;
    EXPECT_EQ(c.FindFirstEntry(0), kErrorFileNotFound);
    EXPECT_EQ(c.FindNextEntry(), kErrorFileNotFound);
    EXPECT_EQ(c.GetEntryInfo("http://a.test/"), kErrorFileNotFound);
    EXPECT_EQ(c.DeleteEntry("http://a.test/"), kErrorFileNotFound);
    c.DeleteAllEntries();
    EXPECT_TRUE(one.calls.empty()) << missing;
    EXPECT_TRUE(one.Contains("http://a.test/"));
  }
}

TEST_F(Component, TheLibraryIsCheckedOnceWhenFoundAndAgainOnEveryCallWhileNot) {
  TIECache found(cache, dates);
  const int loadsAfterStart = cache.libraryLoadCalls;
  EXPECT_EQ(loadsAfterStart, 1);
  found.LibraryFound();
  found.EnumerateEntries(0);
  EXPECT_EQ(cache.libraryLoadCalls, loadsAfterStart);

  FakeUrlCache later;
  later.libraryLoads = false;
  TIECache missing(later, dates);
  EXPECT_FALSE(missing.LibraryFound());
  EXPECT_FALSE(missing.LibraryFound());
  EXPECT_EQ(later.libraryLoadCalls, 3);
  later.libraryLoads = true;  // the library turns up
  EXPECT_TRUE(missing.LibraryFound());
  EXPECT_TRUE(missing.LibraryFound());
  EXPECT_EQ(later.libraryLoadCalls, 5);  // the outcome is not remembered
}

TEST(DateTimeText, FollowsTheUsersFormats) {
  fake::FakeDateFormat d;
  DateTimeFormats f = d.formats;
  struct Case {
    double value;
    const char* date;
    const char* time;
    const char* text;
  };
  const Case cases[] = {
      {-0.5, "dd.MM.yyyy", "HH:mm:ss", ""},
      {0, "dd.MM.yyyy", "HH:mm:ss", "30.12.1899"},
      {kNoonValue, "dd.MM.yyyy", "HH:mm:ss", "15.03.2024 12:00:00"},
      {45366, "dd.MM.yyyy", "HH:mm:ss", "15.03.2024"},
      {45366 + (15 * 3600 + 5 * 60 + 9) / 86400.0, "M/d/yyyy", "h:mm:ss tt", "3/15/2024 3:05:09 PM"},
      {45366 + 0.4 / 86400, "d/M/yy", "H:mm", "15/3/24"},  // under a second: no time
      {45366 + 3600 / 86400.0, "dddd, MMMM d, yyyy", "hh 'o''clock' t", "Friday, March 15, 2024 01 o'clock A"},
      {2, "ddd d MMM yyyy", "HH:mm:ss", "Mon 1 Jan 1900"},
  };
  for (const Case& k : cases) {
    f.shortDate = k.date;
    f.longTime = k.time;
    EXPECT_EQ(DateTimeText(k.value, f), k.text) << k.value;
  }
}

}  // namespace
}  // namespace scourly
