// The cache component and the IE cache view against the real URL cache of
// the test prefix and the real TypedURLs key. Each test seeds entries of
// every type under a host name of its own and removes what it seeded.
#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cache/ie_cache.h"
#include "cache/ie_cache_view.h"
#include "platform/win32/win32_date_format.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_url_cache.h"

namespace scourly {
namespace {

using Texts = std::vector<std::string>;

constexpr uint64_t kNoonTicks = 133549776000000000ULL;  // 2024-03-15 12:00 UTC

// wininet as the tests use it to seed and inspect the cache.
struct Seeder {
  HMODULE module = LoadLibraryW(L"wininet.dll");
  template <class Fn>
  Fn Get(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }
  decltype(&CreateUrlCacheEntryA) create = Get<decltype(&CreateUrlCacheEntryA)>("CreateUrlCacheEntryA");
  decltype(&CommitUrlCacheEntryA) commit = Get<decltype(&CommitUrlCacheEntryA)>("CommitUrlCacheEntryA");
  decltype(&DeleteUrlCacheEntryA) remove = Get<decltype(&DeleteUrlCacheEntryA)>("DeleteUrlCacheEntryA");
  decltype(&GetUrlCacheEntryInfoA) info = Get<decltype(&GetUrlCacheEntryInfoA)>("GetUrlCacheEntryInfoA");
  ~Seeder() { FreeLibrary(module); }

  bool Has(const std::string& url) {
    DWORD size = 0;
    info(url.c_str(), nullptr, &size);
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
  }
};

FILETIME FileTimeOf(uint64_t ticks) {
  FILETIME t;
  t.dwLowDateTime = static_cast<DWORD>(ticks);
  t.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return t;
}

bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

class RealCache : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(seed.commit, nullptr);
    // Content with a file of its own, and one kept from scavenging.
    Content(page, "hello world", NORMAL_CACHE_ENTRY, "html");
    Content(sticky, "body{}", NORMAL_CACHE_ENTRY | STICKY_CACHE_ENTRY, "css");
    Record(stable, 0x2);     // STABLE_ENTRY
    Record(control, 0x20000);  // OCX_ENTRY
    Record(cookie, COOKIE_CACHE_ENTRY);
    Record(visited, URLHISTORY_CACHE_ENTRY);
  }
  void TearDown() override {
    for (const std::string& url : Seeded()) seed.remove(url.c_str());
  }

  void Content(const std::string& url, const std::string& body, DWORD type, const char* ext) {
    char file[MAX_PATH] = {};
    ASSERT_TRUE(seed.create(url.c_str(), 0, ext, file, 0)) << url;
    HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, body.data(), static_cast<DWORD>(body.size()), &written, nullptr);
    CloseHandle(h);
    const char header[] = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n";
    ASSERT_TRUE(seed.commit(url.c_str(), file, FileTimeOf(0), FileTimeOf(kNoonTicks), type,
                            reinterpret_cast<BYTE*>(const_cast<char*>(header)),
                            sizeof header - 1, ext, nullptr))
        << url;
  }
  void Record(const std::string& url, DWORD type) {
    ASSERT_TRUE(seed.commit(url.c_str(), nullptr, FileTimeOf(0), FileTimeOf(0), type, nullptr, 0,
                            nullptr, nullptr))
        << url;
  }
  Texts Seeded() const { return {page, sticky, stable, control, cookie, visited}; }
  // Our own entries among `urls`, sorted.
  Texts Ours(Texts urls) const {
    Texts mine;
    for (const std::string& url : urls) {
      if (url.find(host) != std::string::npos) mine.push_back(url);
    }
    std::sort(mine.begin(), mine.end());
    return mine;
  }
  static Texts Sorted(Texts t) {
    std::sort(t.begin(), t.end());
    return t;
  }

  Seeder seed;
  const std::string host = "scourly-" + std::to_string(GetCurrentProcessId()) + ".test";
  const std::string page = "http://" + host + "/page.html";
  const std::string sticky = "http://" + host + "/style.css";
  const std::string stable = "http://" + host + "/stable";
  const std::string control = "http://" + host + "/control.ocx";
  const std::string cookie = "Cookie:scourly@" + host + "/";
  const std::string visited = "Visited: scourly@http://" + host + "/";

  Win32UrlCache cache;
  Win32DateFormat dates;
};

TEST_F(RealCache, EachPatternAndFilterListsItsEntries) {
  struct Case {
    TSearchPattern pattern;
    TFilterOptions filter;
    Texts listed;
  };
  const Case cases[] = {
      {spAll, kDefaultFilterOptions, Seeded()},
      {spCookies, kDefaultFilterOptions, {cookie}},
      {spHistory, kDefaultFilterOptions, {visited}},
      {spUrl, kDefaultFilterOptions, {page, sticky, stable, control}},
      {spAll, {STABLE_ENTRY, OCX_ENTRY}, {stable, control}},
      {spAll, {STICKY_ENTRY}, {sticky}},
      {spAll, {COOKIE_ENTRY, URLHISTORY_ENTRY}, {cookie, visited}},
      {spUrl, {}, {}},
  };
  TIECache component(cache, dates);
  ASSERT_TRUE(component.LibraryFound());
  for (const Case& k : cases) {
    component.SearchPattern = k.pattern;
    component.SetFilterOptions(k.filter);
    Texts seen;
    component.OnEntry = [&](TIECache& c, bool&) { seen.push_back(c.EntryInfo().SourceUrlName); };
    component.EnumerateEntries(0);
    EXPECT_EQ(Ours(seen), Sorted(k.listed))
        << "pattern " << int(k.pattern) << ", filter 0x" << std::hex << component.Filter();
    EXPECT_FALSE(component.EnumerationOpen());
  }
  // Wine's extended enumeration is a stub: the plain calls stand in for it.
  EXPECT_EQ(cache.enumeration(), UnderWine() ? Win32UrlCache::Enumeration::kPlain
                                             : Win32UrlCache::Enumeration::kExtended);
}

TEST_F(RealCache, TheDetailsOfAnEntryAreRead) {
  TIECache component(cache, dates);
  ASSERT_EQ(component.GetEntryInfo(page), 0u);
  const TEntryInfo& info = component.EntryInfo();
  EXPECT_EQ(info.SourceUrlName, page);
  EXPECT_EQ(info.Size, 11u);
  EXPECT_EQ(info.EntryType & NORMAL_CACHE_ENTRY, NORMAL_CACHE_ENTRY);
  EXPECT_EQ(info.HeaderInfo, "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n");
  EXPECT_EQ(info.FileExtension, "html");
  EXPECT_NE(GetFileAttributesW(Widen(info.LocalFileName).c_str()), INVALID_FILE_ATTRIBUTES)
      << info.LocalFileName;
  FILETIME utc = FileTimeOf(kNoonTicks), local;
  ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
  const double bias = (double(local.dwHighDateTime - utc.dwHighDateTime) * 4294967296.0 +
                       (double(local.dwLowDateTime) - double(utc.dwLowDateTime))) /
                      864000000000.0;
  EXPECT_DOUBLE_EQ(info.LastModifiedTime, 45366.5 + bias);
  EXPECT_GT(info.LastAccessTime, 45366.0);  // set by the cache when committed: today

  EXPECT_NE(component.GetEntryInfo("http://" + host + "/never-cached"), 0u);
  EXPECT_EQ(component.EntryInfo().SourceUrlName, page);
  EXPECT_EQ(component.DeleteEntry(page), 0u);
  EXPECT_EQ(component.EntryInfo().SourceUrlName, "");
  EXPECT_FALSE(seed.Has(page));
}

TEST_F(RealCache, DeleteAllRemovesWhatItsPatternListsAndNothingElse) {
  TIECache component(cache, dates);
  component.SearchPattern = spCookies;
  component.DeleteAllEntries();
  EXPECT_FALSE(seed.Has(cookie));
  for (const std::string& url : {page, sticky, stable, control, visited})
    EXPECT_TRUE(seed.Has(url)) << url;
}

// The view over the real cache and the real TypedURLs key. What the key held
// before is put back afterwards.
class RealCacheView : public RealCache {
 protected:
  void SetUp() override {
    RealCache::SetUp();
    saved_ = ReadTypedUrls(existed_);
    RegDeleteTreeW(HKEY_CURRENT_USER, kTyped);
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTyped, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    for (const auto& [name, text] : std::vector<std::pair<std::wstring, std::wstring>>{
             {L"url1", L"http://first.typed/"}, {L"url2", L"http://second.typed/"}})
      RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kTyped);
    RegDeleteKeyW(HKEY_CURRENT_USER, kTyped);
    if (existed_) {
      HKEY key;
      RegCreateKeyExW(HKEY_CURRENT_USER, kTyped, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr);
      for (const auto& [name, text] : saved_)
        RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
      RegCloseKey(key);
    }
    RealCache::TearDown();
  }
  static std::vector<std::pair<std::wstring, std::wstring>> ReadTypedUrls(bool& existed) {
    std::vector<std::pair<std::wstring, std::wstring>> values;
    HKEY key;
    existed = RegOpenKeyExW(HKEY_CURRENT_USER, kTyped, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (!existed) return values;
    for (DWORD i = 0;; ++i) {
      wchar_t name[256], data[2048];
      DWORD nameLength = 256, bytes = sizeof data - sizeof(wchar_t), type = 0;
      if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data),
                        &bytes) != ERROR_SUCCESS)
        break;
      data[bytes / sizeof(wchar_t)] = 0;
      if (type == REG_SZ) values.push_back({name, data});
    }
    RegCloseKey(key);
    return values;
  }
  Texts TypedNames() {
    Texts names;
    for (const auto& [name, text] : ReadTypedUrls(existed_)) names.push_back(Narrow(name));
    return names;
  }
  int RowOf(const std::string& text) {
    const Texts& rows = ListBox4.Rows();
    auto it = std::find(rows.begin(), rows.end(), text);
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
  }

  static constexpr const wchar_t* kTyped = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
  std::vector<std::pair<std::wstring, std::wstring>> saved_;
  bool existed_ = false;

  Win32Ui ui;
  Win32Registry registry;
  TextList ListBox4;
  StatusBar StatusBar1;
  ToolButton FindFilesTB, DeleteAllTB, DeleteSelTB;
  PageControl PageControl2;
  bool StopFlag = false;
  std::string TotalSizeText;
  std::vector<std::string> TypedUrlNames;
  TIECacheView view{{ListBox4, StatusBar1, FindFilesTB, DeleteAllTB, DeleteSelTB, PageControl2,
                     StopFlag, TotalSizeText, TypedUrlNames},
                    {ui, cache, registry, dates}};
};

TEST_F(RealCacheView, HistoryListsTypedAddressesFirstAndDeletesExactlyTheSelection) {
  view.RadioGroup1.itemIndex = kFilterHistory;
  view.RadioGroup1Click();
  ASSERT_GE(ListBox4.Count(), 3);
  EXPECT_EQ(ListBox4[0], "Visited: http://first.typed/");
  EXPECT_EQ(ListBox4[1], "Visited: http://second.typed/");
  EXPECT_EQ(view.TypedUrlCount, 2);
  EXPECT_EQ(TypedUrlNames, (Texts{"url1", "url2"}));
  ASSERT_GE(RowOf(visited), 2);

  ListBox4.SetSelection({0, RowOf(visited)});
  ListBox4.itemIndex = RowOf(visited);
  view.ListBox4Click();
  EXPECT_EQ(view.Label2.caption, "File Size: 0 B");
  EXPECT_EQ(StatusBar1.Get(1), "Selected Files: 2");
  view.CDeleteSelClick();

  EXPECT_EQ(TypedNames(), (Texts{"url2"}));
  EXPECT_FALSE(seed.Has(visited));
  for (const std::string& url : {page, sticky, stable, control, cookie})
    EXPECT_TRUE(seed.Has(url)) << url;
  EXPECT_EQ(ListBox4[0], "Visited: http://second.typed/");
  EXPECT_EQ(RowOf(visited), -1);
}

TEST_F(RealCacheView, TemporaryFilesTotalTheirSizesAndDeleteAllTakesWhatIsListed) {
  view.SetFilterIndex(kFilterTemporary);
  EXPECT_EQ(Ours(ListBox4.Rows()), Sorted({page, sticky, stable, control}));
  // Cached after the scan: no row shows it, so Delete All leaves it.
  const std::string late = "http://" + host + "/late.png";
  Record(late, NORMAL_CACHE_ENTRY);
  ListBox4.SetSelection({RowOf(page), RowOf(sticky)});
  ListBox4.itemIndex = RowOf(page);
  view.ListBox4Click();
  EXPECT_EQ(StatusBar1.Get(0), "Selected Size: 17 B");
  EXPECT_EQ(view.Label2.caption, "File Size: 11 B");
  EXPECT_EQ(view.Label1.caption.rfind("Hit Rate: ", 0), 0u);
  // The moment in the user's formats, as the platform itself writes them.
  FILETIME utc = FileTimeOf(kNoonTicks), local;
  SYSTEMTIME st;
  ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local) && FileTimeToSystemTime(&local, &st));
  wchar_t date[100], time[100];
  ASSERT_GT(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 100), 0);
  ASSERT_GT(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, 100), 0);
  EXPECT_EQ(view.Label4.caption, "Last Modified: " + Narrow(date) + " " + Narrow(time));
  // Every listed content entry of the (throwaway) prefix goes, ours among
  // them.
  view.DeleteAllClick();
  EXPECT_EQ(ListBox4.Count(), 0);
  for (const std::string& url : {page, sticky, stable, control}) EXPECT_FALSE(seed.Has(url)) << url;
  EXPECT_TRUE(seed.Has(late));
  seed.remove(late.c_str());
  EXPECT_TRUE(seed.Has(cookie));
  EXPECT_TRUE(seed.Has(visited));
  EXPECT_EQ(TypedNames(), (Texts{"url1", "url2"}));
}

}  // namespace
}  // namespace scourly
