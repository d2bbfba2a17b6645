// An in-memory URL cache that answers as WinInet's extended calls do on
// Windows: a pattern picks a container ("Cookie:", "Visited:", "" for the
// content, none for all three), the filter admits an entry when its type
// shares a bit with it, and every call that returns an entry keeps the
// size-query protocol. Every call is recorded for tests.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/url_cache.h"

namespace scourly::fake {

class FakeUrlCache : public UrlCache {
 public:
  FakeUrlCache();

  // ---- Building the cache ----
  // Adds (or replaces) an entry; entries enumerate in the order added.
  UrlCacheEntry& Add(const std::string& url, uint32_t type, uint64_t size = 0);
  UrlCacheEntry* Find(const std::string& url);
  bool Contains(const std::string& url) { return Find(url) != nullptr; }
  std::vector<std::string> Urls() const;

  // The size WinInet would need for `entry`.
  static uint32_t NeededSize(const UrlCacheEntry& entry);

  // ---- The library ----
  bool libraryLoads = true;
  std::set<std::string> exports;  // the five checked names and the cache calls
  int libraryLoadCalls = 0;
  int entryPointLookups = 0;

  // ---- What happened ----
  struct Call {
    std::string function;  // "FindFirst", "FindNext", "GetEntryInfo", "DeleteEntry"
    std::optional<std::string> pattern;
    uint32_t flags = 0;
    uint32_t filter = 0;
    int64_t groupId = 0;
    uint32_t size = 0;  // the buffer size the call got
    std::string url;
  };
  std::vector<Call> calls;
  int openFinds = 0;  // enumerations handed out and not yet closed
  std::set<std::string> undeletable;  // DeleteEntry fails with access denied
  // Runs after every size query (a call that got no buffer), e.g. to make an
  // entry grow before the real call.
  std::function<void()> afterSizeQuery;

  // ---- UrlCache ----
  bool LoadCacheLibrary() override;
  bool HasEntryPoint(const std::string& name) override;
  uint32_t FindFirst(const std::optional<std::string>& pattern, uint32_t flags, uint32_t filter,
                     int64_t groupId, uint32_t& size, UrlCacheEntry& entry,
                     std::unique_ptr<UrlCacheFind>& find) override;
  uint32_t GetEntryInfo(const std::string& url, uint32_t& size, UrlCacheEntry& entry) override;
  uint32_t DeleteEntry(const std::string& url) override;

 private:
  friend class FakeFind;
  struct Stored {
    uint64_t order;
    UrlCacheEntry entry;
  };
  // The first stored entry after `after` that the pattern and filter admit.
  const Stored* NextMatch(const std::optional<std::string>& pattern, uint32_t filter,
                          uint64_t after) const;
  // Hands `stored` over through a buffer of `size` bytes.
  uint32_t Deliver(const Stored* stored, uint32_t& size, UrlCacheEntry& entry);

  std::vector<Stored> entries_;
  uint64_t nextOrder_ = 1;
};

}  // namespace scourly::fake
