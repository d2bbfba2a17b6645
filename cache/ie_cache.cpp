#include "cache/ie_cache.h"

#include "cache/date_time.h"

namespace scourly {

uint32_t FilterOf(TFilterOptions options) {
  uint32_t filter = 0;
  if (options.Empty()) return filter;
  for (int ordinal = 0; ordinal < kFilterOptionCount; ++ordinal) {
    if (options.Contains(static_cast<TFilterOption>(ordinal))) filter += kFilterOptionFlags[ordinal];
  }
  return filter;
}

std::optional<std::string> PatternOf(TSearchPattern pattern) {
  switch (pattern) {
    case spCookies: return std::string("Cookie:");
    case spHistory: return std::string("Visited:");
    case spUrl: return std::string();
    case spAll: break;
  }
  return std::nullopt;
}

bool CheckWinInet(UrlCache& cache) {
  try {
    if (!cache.LoadCacheLibrary()) return false;
    for (const char* name : kWinInetEntryPoints) {
      if (!cache.HasEntryPoint(name)) return false;
    }
    return true;
  } catch (...) {
    return false;  // a fault during the lookups counts as a missing library
  }
}

TIECache::TIECache(UrlCache& cache, DateFormat& dates) : cache_(cache), dates_(dates) {
  libraryFound_ = CheckWinInet(cache_);
  SetFilterOptions(kDefaultFilterOptions);
}

void TIECache::SetFilterOptions(TFilterOptions options) {
  filterOptions_ = options;
  filter_ = FilterOf(options);
}

bool TIECache::LoadWinInet() {
  if (libraryFound_) return true;
  return CheckWinInet(cache_);
}

double TIECache::ConvertTime(uint64_t utcTicks) {
  std::optional<uint64_t> local = dates_.LocalFileTime(utcTicks);
  if (!local) return 0;
  std::optional<CalendarTime> calendar = FileTimeToCalendar(*local);
  if (!calendar) return 0;
  return CalendarToDateTime(*calendar).value_or(0);
}

void TIECache::CopyEntry(const UrlCacheEntry& e) {
  TEntryInfo info;
  info.SourceUrlName = e.sourceUrlName;
  info.LocalFileName = e.localFileName;
  info.EntryType = e.cacheEntryType;
  info.UseCount = e.useCount;
  info.HitRate = e.hitRate;
  info.LastModifiedTime = ConvertTime(e.lastModifiedTime);
  info.ExpireTime = ConvertTime(e.expireTime);
  info.LastAccessTime = ConvertTime(e.lastAccessTime);
  info.LastSyncTime = ConvertTime(e.lastSyncTime);
  info.FileExtension = e.fileExtension;
  info.Size = (uint64_t{e.sizeHigh} << 32) | e.sizeLow;
  info.HeaderInfo = e.headerInfo;
  info.ExemptDelta = e.exemptDelta;
  entryInfo_ = std::move(info);
}

uint32_t TIECache::FindFirstEntry(int64_t GroupID) {
  if (!LoadWinInet()) return kErrorFileNotFound;
  FindHandle.reset();
  const std::optional<std::string> pattern = PatternOf(SearchPattern);
  UrlCacheEntry entry;
  // One size query, then one call with a buffer of exactly that size: an
  // entry that grew in between fails with the insufficient-buffer code.
  uint32_t size = 0;
  std::unique_ptr<UrlCacheFind> sizeQueryFind;
  cache_.FindFirst(pattern, 0, filter_, GroupID, size, entry, sizeQueryFind);
  sizeQueryFind.reset();
  const uint32_t result = cache_.FindFirst(pattern, 0, filter_, GroupID, size, entry, FindHandle);
  if (result != 0) return result;
  if (!FindHandle) return kErrorGenFailure;  // never report an enumeration that is not there
  CopyEntry(entry);
  return 0;
}

uint32_t TIECache::FindNextEntry() {
  if (!LoadWinInet()) return kErrorFileNotFound;
  if (!FindHandle) return kErrorInvalidHandle;  // as WinInet answers a null handle
  UrlCacheEntry entry;
  uint32_t size = 0;
  FindHandle->FindNext(size, entry);
  const uint32_t result = FindHandle->FindNext(size, entry);
  if (result == 0) CopyEntry(entry);
  return result;
}

void TIECache::EnumerateEntries(int64_t GroupID) {
  if (!LoadWinInet()) return;
  // No enumeration outlives the call, also when a handler raises.
  struct CloseAtEnd {
    std::unique_ptr<UrlCacheFind>& find;
    ~CloseAtEnd() { find.reset(); }
  } closeAtEnd{FindHandle};
  CancelFlag = false;
  uint32_t c = FindFirstEntry(GroupID);
  if (c == 0) {
    if (OnEntry) OnEntry(*this, CancelFlag);
    while (c == 0 && !CancelFlag) {
      c = FindNextEntry();
      if (c == 0 && OnEntry) OnEntry(*this, CancelFlag);
    }
  }
}

uint32_t TIECache::ReadEntry(const std::string& url, UrlCacheEntry& entry) {
  uint32_t size = 0;
  cache_.GetEntryInfo(url, size, entry);
  return cache_.GetEntryInfo(url, size, entry);
}

uint32_t TIECache::GetEntryInfo(const std::string& Url) {
  if (!LoadWinInet()) return kErrorFileNotFound;
  UrlCacheEntry entry;
  const uint32_t result = ReadEntry(Url, entry);
  if (result == 0) CopyEntry(entry);
  return result;
}

uint32_t TIECache::DeleteEntry(const std::string& Url) {
  if (!LoadWinInet()) return kErrorFileNotFound;
  std::optional<uint64_t> size;
  if (OnDeleteEntry) {
    UrlCacheEntry entry;
    if (ReadEntry(Url, entry) == 0) size = (uint64_t{entry.sizeHigh} << 32) | entry.sizeLow;
  }
  const uint32_t result = cache_.DeleteEntry(Url);
  if (result == 0) ClearEntryInfo();
  if (OnDeleteEntry && result != kErrorFileNotFound) OnDeleteEntry(Url, size, result);
  return result;
}

void TIECache::DeleteAllEntries() {
  if (!LoadWinInet()) return;
  struct CloseAtEnd {
    std::unique_ptr<UrlCacheFind>& find;
    ~CloseAtEnd() { find.reset(); }
  } closeAtEnd{FindHandle};
  if (FindFirstEntry(0) != 0) return;
  uint32_t r;
  do {
    const std::string url = entryInfo_.SourceUrlName;
    DeleteEntry(url);  // an entry that stays is simply passed
    r = FindNextEntry();
  } while (r == 0);  // any failure ends it, so a step that keeps failing cannot loop
}

}  // namespace scourly
