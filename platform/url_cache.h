// The browser's URL cache kept by WinInet: the library check, enumeration with
// a search pattern and an entry-type filter, reading one entry, deleting one.
//
// The calls keep WinInet's own protocol, so the logic decides how it asks:
// every call that returns an entry takes `size`, on input the size of the
// buffer the call gets (0: no buffer at all, which makes the call a size
// query), on output the size the entry needs. A call returns 0 on success or
// the system error code WinInet left. Texts are the cache's own bytes (the
// ANSI functions): a URL is the entry's key and is handed back exactly.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/errors.h"

namespace scourly {

// One cache entry as WinInet describes it (INTERNET_CACHE_ENTRY_INFOA), its
// texts copied out of WinInet's buffer.
struct UrlCacheEntry {
  std::string sourceUrlName;  // the key, exactly as the cache spells it
  std::string localFileName;  // UTF-8
  uint32_t cacheEntryType = 0;
  uint32_t useCount = 0;
  uint32_t hitRate = 0;
  uint32_t sizeLow = 0;
  uint32_t sizeHigh = 0;
  uint64_t lastModifiedTime = 0;  // FILETIME ticks, UTC
  uint64_t expireTime = 0;
  uint64_t lastAccessTime = 0;
  uint64_t lastSyncTime = 0;
  std::string headerInfo;     // up to its first zero byte; empty when absent
  std::string fileExtension;  // empty when absent
  uint32_t exemptDelta = 0;   // the last member (dwReserved / dwExemptDelta)

  bool operator==(const UrlCacheEntry&) const = default;
};

// An enumeration in progress. Destroying it closes it (FindCloseUrlCache).
class UrlCacheFind {
 public:
  virtual ~UrlCacheFind() = default;

  // FindNextUrlCacheEntryEx. 259 (ERROR_NO_MORE_ITEMS) after the last entry.
  virtual uint32_t FindNext(uint32_t& size, UrlCacheEntry& entry) = 0;
};

class UrlCache {
 public:
  virtual ~UrlCache() = default;

  // Loads "wininet.dll" once and keeps it loaded while the service lives;
  // false when it cannot be loaded.
  virtual bool LoadCacheLibrary() = 0;
  // Whether the loaded library exports `name` (GetProcAddress).
  virtual bool HasEntryPoint(const std::string& name) = 0;

  // FindFirstUrlCacheEntryEx(pattern, flags, filter, groupId, ...): no
  // pattern is a null pointer, an empty one a pointer to a zero byte. On
  // success `find` receives the enumeration, positioned after `entry`.
  virtual uint32_t FindFirst(const std::optional<std::string>& pattern, uint32_t flags,
                             uint32_t filter, int64_t groupId, uint32_t& size,
                             UrlCacheEntry& entry, std::unique_ptr<UrlCacheFind>& find) = 0;

  // GetUrlCacheEntryInfoEx(url, ..., flags 0).
  virtual uint32_t GetEntryInfo(const std::string& url, uint32_t& size, UrlCacheEntry& entry) = 0;

  // DeleteUrlCacheEntry(url).
  virtual uint32_t DeleteEntry(const std::string& url) = 0;
};

}  // namespace scourly
