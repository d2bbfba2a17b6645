#include "platform/fake/fake_url_cache.h"

#include <cctype>

namespace scourly::fake {
namespace {

constexpr uint32_t kErrorAccessDenied = 5;
// sizeof(INTERNET_CACHE_ENTRY_INFOA) on x64.
constexpr uint32_t kEntryHeaderSize = 80;

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  }
  return true;
}

bool SameNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && StartsWithNoCase(a, b);
}

// The container an entry lives in, by its URL's prefix.
enum class Container { kContent, kCookies, kHistory };

Container ContainerOf(const std::string& url) {
  if (StartsWithNoCase(url, "Cookie:")) return Container::kCookies;
  if (StartsWithNoCase(url, "Visited:")) return Container::kHistory;
  return Container::kContent;
}

bool PatternAdmits(const std::optional<std::string>& pattern, const std::string& url) {
  if (!pattern) return true;
  if (pattern->empty()) return ContainerOf(url) == Container::kContent;
  if (SameNoCase(*pattern, "Cookie:")) return ContainerOf(url) == Container::kCookies;
  if (SameNoCase(*pattern, "Visited:")) return ContainerOf(url) == Container::kHistory;
  return false;  // no container has that name
}

}  // namespace

class FakeFind : public UrlCacheFind {
 public:
  FakeFind(FakeUrlCache& cache, std::optional<std::string> pattern, uint32_t filter,
           uint64_t position)
      : cache_(cache), pattern_(std::move(pattern)), filter_(filter), position_(position) {
    ++cache_.openFinds;
  }
  ~FakeFind() override { --cache_.openFinds; }

  uint32_t FindNext(uint32_t& size, UrlCacheEntry& entry) override {
    cache_.calls.push_back({"FindNext", pattern_, 0, filter_, 0, size, {}});
    const FakeUrlCache::Stored* next = cache_.NextMatch(pattern_, filter_, position_);
    const uint32_t result = cache_.Deliver(next, size, entry);
    if (result == 0) position_ = next->order;
    return result;
  }

 private:
  FakeUrlCache& cache_;
  std::optional<std::string> pattern_;
  uint32_t filter_;
  uint64_t position_;  // the order of the entry delivered last
};

FakeUrlCache::FakeUrlCache()
    : exports{"FindFirstUrlCacheGroup",    "FindNextUrlCacheGroup",
              "GetUrlCacheGroupAttributeA", "SetUrlCacheGroupAttributeA",
              "FindFirstUrlCacheEntryExA", "FindNextUrlCacheEntryExA",
              "FindCloseUrlCache",          "GetUrlCacheEntryInfoExA",
              "DeleteUrlCacheEntryA"} {}

UrlCacheEntry& FakeUrlCache::Add(const std::string& url, uint32_t type, uint64_t size) {
  UrlCacheEntry entry;
  entry.sourceUrlName = url;
  entry.cacheEntryType = type;
  entry.sizeLow = static_cast<uint32_t>(size);
  entry.sizeHigh = static_cast<uint32_t>(size >> 32);
  if (UrlCacheEntry* old = Find(url)) {
    *old = entry;
    return *old;
  }
  entries_.push_back({nextOrder_++, entry});
  return entries_.back().entry;
}

UrlCacheEntry* FakeUrlCache::Find(const std::string& url) {
  for (Stored& s : entries_) {
    if (s.entry.sourceUrlName == url) return &s.entry;
  }
  return nullptr;
}

std::vector<std::string> FakeUrlCache::Urls() const {
  std::vector<std::string> urls;
  for (const Stored& s : entries_) urls.push_back(s.entry.sourceUrlName);
  return urls;
}

uint32_t FakeUrlCache::NeededSize(const UrlCacheEntry& e) {
  auto text = [](const std::string& s) { return static_cast<uint32_t>(s.size() + 1); };
  return kEntryHeaderSize + text(e.sourceUrlName) + text(e.localFileName) + text(e.headerInfo) +
         text(e.fileExtension);
}

bool FakeUrlCache::LoadCacheLibrary() {
  ++libraryLoadCalls;
  return libraryLoads;
}

bool FakeUrlCache::HasEntryPoint(const std::string& name) {
  ++entryPointLookups;
  return exports.count(name) != 0;
}

const FakeUrlCache::Stored* FakeUrlCache::NextMatch(const std::optional<std::string>& pattern,
                                                    uint32_t filter, uint64_t after) const {
  for (const Stored& s : entries_) {
    if (s.order <= after) continue;
    if ((s.entry.cacheEntryType & filter) == 0) continue;
    if (!PatternAdmits(pattern, s.entry.sourceUrlName)) continue;
    return &s;
  }
  return nullptr;
}

uint32_t FakeUrlCache::Deliver(const Stored* stored, uint32_t& size, UrlCacheEntry& entry) {
  if (!stored) return kErrorNoMoreItems;
  const uint32_t needed = NeededSize(stored->entry);
  if (size < needed) {
    const bool sizeQuery = size == 0;
    size = needed;
    if (sizeQuery && afterSizeQuery) afterSizeQuery();
    return kErrorInsufficientBuffer;
  }
  size = needed;
  entry = stored->entry;
  return 0;
}

uint32_t FakeUrlCache::FindFirst(const std::optional<std::string>& pattern, uint32_t flags,
                                 uint32_t filter, int64_t groupId, uint32_t& size,
                                 UrlCacheEntry& entry, std::unique_ptr<UrlCacheFind>& find) {
  calls.push_back({"FindFirst", pattern, flags, filter, groupId, size, {}});
  find.reset();
  // Entries belong to no group: any other group has none.
  const Stored* first = groupId == 0 ? NextMatch(pattern, filter, 0) : nullptr;
  const uint32_t result = Deliver(first, size, entry);
  if (result == 0) find = std::make_unique<FakeFind>(*this, pattern, filter, first->order);
  return result;
}

uint32_t FakeUrlCache::GetEntryInfo(const std::string& url, uint32_t& size,
                                    UrlCacheEntry& entry) {
  calls.push_back({"GetEntryInfo", {}, 0, 0, 0, size, url});
  for (const Stored& s : entries_) {
    if (s.entry.sourceUrlName == url) return Deliver(&s, size, entry);
  }
  return kErrorFileNotFound;
}

uint32_t FakeUrlCache::DeleteEntry(const std::string& url) {
  calls.push_back({"DeleteEntry", {}, 0, 0, 0, 0, url});
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->entry.sourceUrlName != url) continue;
    if (undeletable.count(url)) return kErrorAccessDenied;
    entries_.erase(it);
    return 0;
  }
  return kErrorFileNotFound;
}

}  // namespace scourly::fake
