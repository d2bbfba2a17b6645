// The URL cache through wininet's ANSI functions: the cache keys its entries
// by byte strings, and the ANSI calls hand them over exactly as stored.
#include "platform/win32/win32_url_cache.h"

#include <wininet.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/win32/win32_platform.h"

namespace scourly {
namespace {

// Owns a URL cache enumeration handle; FindCloseUrlCache when destroyed.
class UniqueCacheFind {
 public:
  UniqueCacheFind() = default;
  UniqueCacheFind(HANDLE h, WinInetApi::CloseFn close) : h_(h), close_(close) {}
  UniqueCacheFind(UniqueCacheFind&& o) noexcept : h_(o.h_), close_(o.close_) { o.h_ = nullptr; }
  UniqueCacheFind& operator=(UniqueCacheFind&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = o.h_;
      close_ = o.close_;
      o.h_ = nullptr;
    }
    return *this;
  }
  UniqueCacheFind(const UniqueCacheFind&) = delete;
  UniqueCacheFind& operator=(const UniqueCacheFind&) = delete;
  ~UniqueCacheFind() { reset(); }
  void reset() {
    if (h_ && close_) close_(h_);
    h_ = nullptr;
  }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_ = nullptr;
  WinInetApi::CloseFn close_ = nullptr;
};

// A buffer of exactly `size` bytes for one entry (none when the size is 0),
// aligned for the entry structure WinInet writes at its start.
class EntryBuffer {
 public:
  explicit EntryBuffer(uint32_t size) : words_((size + 7) / 8), size_(size) {}
  void* get() { return size_ ? words_.data() : nullptr; }
  const BYTE* bytes() const { return reinterpret_cast<const BYTE*>(words_.data()); }
  uint32_t size() const { return size_; }

 private:
  std::vector<uint64_t> words_;
  uint32_t size_;
};

// The error a failed call left. A failure never reads as success, also if
// the call forgot to set one.
uint32_t LastError() {
  DWORD error = GetLastError();
  return error ? error : ERROR_GEN_FAILURE;
}

// A text WinInet placed in `buffer`: up to its zero byte, at most `limit`
// bytes, and never past the buffer's end.
std::string BufferText(const char* text, const EntryBuffer& buffer, size_t limit = SIZE_MAX) {
  if (!text) return {};
  const BYTE* p = reinterpret_cast<const BYTE*>(text);
  const BYTE* begin = buffer.bytes();
  const BYTE* end = begin + buffer.size();
  if (p >= begin && p < end) limit = std::min<size_t>(limit, static_cast<size_t>(end - p));
  else if (limit == SIZE_MAX) return text;  // WinInet's own memory, zero-terminated
  return std::string(text, strnlen(text, limit));
}

std::string AnsiToUtf8(const std::string& ansi) {
  if (ansi.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  return Narrow(wide);
}

uint64_t Ticks(const FILETIME& t) {
  return (uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime;
}

UrlCacheEntry Decode(const EntryBuffer& buffer) {
  INTERNET_CACHE_ENTRY_INFOA info{};
  std::memcpy(&info, buffer.bytes(), std::min<size_t>(sizeof info, buffer.size()));
  UrlCacheEntry e;
  e.sourceUrlName = BufferText(info.lpszSourceUrlName, buffer);
  e.localFileName = AnsiToUtf8(BufferText(info.lpszLocalFileName, buffer));
  e.cacheEntryType = info.CacheEntryType;
  e.useCount = info.dwUseCount;
  e.hitRate = info.dwHitRate;
  e.sizeLow = info.dwSizeLow;
  e.sizeHigh = info.dwSizeHigh;
  e.lastModifiedTime = Ticks(info.LastModifiedTime);
  e.expireTime = Ticks(info.ExpireTime);
  e.lastAccessTime = Ticks(info.LastAccessTime);
  e.lastSyncTime = Ticks(info.LastSyncTime);
  e.headerInfo = BufferText(info.lpHeaderInfo, buffer, info.dwHeaderInfoSize);
  e.fileExtension = AnsiToUtf8(BufferText(info.lpszFileExtension, buffer));
  e.exemptDelta = info.dwExemptDelta;
  return e;
}

// One step of the size-query protocol: `call(buffer, &size)` with a buffer
// of exactly `size` bytes (none for 0); on success the entry is decoded.
// `size` comes back as the call left it (the size needed after a failure).
template <class Call>
uint32_t ReadEntry(uint32_t& size, UrlCacheEntry& entry, Call call) {
  EntryBuffer buffer(size);
  DWORD got = size;
  const bool ok = call(buffer.get(), &got);
  const uint32_t error = ok ? 0 : LastError();
  size = got;
  if (ok) entry = Decode(buffer);
  return error;
}

// The extended calls' type filter.
bool Admits(uint32_t filter, const UrlCacheEntry& e) { return (e.cacheEntryType & filter) != 0; }

class ExtendedFind : public UrlCacheFind {
 public:
  ExtendedFind(UniqueCacheFind find, const WinInetApi& api) : find_(std::move(find)), api_(api) {}

  uint32_t FindNext(uint32_t& size, UrlCacheEntry& entry) override {
    if (!api_.findNextEx) return ERROR_PROC_NOT_FOUND;
    return ReadEntry(size, entry, [this](void* buffer, DWORD* got) {
      return api_.findNextEx(find_.get(), buffer, got, nullptr, nullptr, nullptr) != FALSE;
    });
  }

 private:
  UniqueCacheFind find_;
  const WinInetApi& api_;
};

// One entry of a plain enumeration, read whole, with the size it needs.
struct PlainEntry {
  UrlCacheEntry entry;
  uint32_t needed = 0;
};

// The plain calls read an entry into buffers of their own: a size query,
// then the call, again if the entry grew in between.
constexpr int kPlainAttempts = 8;

uint32_t PlainOpen(const WinInetApi& api, const char* pattern, UniqueCacheFind& find,
                   PlainEntry& first) {
  for (int attempt = 0; attempt < kPlainAttempts; ++attempt) {
    DWORD needed = 0;
    UniqueCacheFind query(api.findFirst(pattern, nullptr, &needed), api.findClose);
    if (query.get()) return ERROR_GEN_FAILURE;  // an entry in no bytes: not WinInet
    DWORD error = GetLastError();
    if (error != ERROR_INSUFFICIENT_BUFFER) return error ? error : ERROR_GEN_FAILURE;
    EntryBuffer buffer(needed);
    DWORD got = needed;
    UniqueCacheFind real(api.findFirst(pattern, buffer.get(), &got), api.findClose);
    if (real.get()) {
      find = std::move(real);
      first = {Decode(buffer), needed};
      return 0;
    }
    error = GetLastError();
    if (error != ERROR_INSUFFICIENT_BUFFER) return error ? error : ERROR_GEN_FAILURE;
  }
  return ERROR_INSUFFICIENT_BUFFER;
}

uint32_t PlainRead(const WinInetApi& api, HANDLE find, PlainEntry& next) {
  for (int attempt = 0; attempt < kPlainAttempts; ++attempt) {
    DWORD needed = 0;
    if (api.findNext(find, nullptr, &needed)) return ERROR_GEN_FAILURE;
    DWORD error = GetLastError();
    if (error != ERROR_INSUFFICIENT_BUFFER) return error ? error : ERROR_GEN_FAILURE;
    EntryBuffer buffer(needed);
    DWORD got = needed;
    if (api.findNext(find, buffer.get(), &got)) {
      next = {Decode(buffer), needed};
      return 0;
    }
    error = GetLastError();
    if (error != ERROR_INSUFFICIENT_BUFFER) return error ? error : ERROR_GEN_FAILURE;
  }
  return ERROR_INSUFFICIENT_BUFFER;
}

// An enumeration on the plain calls that answers as the extended calls do:
// it passes over the entries the filter does not admit, and keeps the entry
// a size query found until a call with a large enough buffer takes it.
class PlainFind : public UrlCacheFind {
 public:
  PlainFind(UniqueCacheFind find, const WinInetApi& api, uint32_t filter)
      : find_(std::move(find)), api_(api), filter_(filter) {}

  uint32_t FindNext(uint32_t& size, UrlCacheEntry& entry) override {
    if (!pending_) {
      PlainEntry next;
      do {
        const uint32_t error = PlainRead(api_, find_.get(), next);
        if (error) return error;
      } while (!Admits(filter_, next.entry));
      pending_ = std::move(next);
    }
    if (size < pending_->needed) {
      size = pending_->needed;
      return ERROR_INSUFFICIENT_BUFFER;
    }
    size = pending_->needed;
    entry = std::move(pending_->entry);
    pending_.reset();
    return 0;
  }

 private:
  UniqueCacheFind find_;
  const WinInetApi& api_;
  uint32_t filter_;
  std::optional<PlainEntry> pending_;
};

// Wine names its containers "Cookie:" and "Visited:" and compares patterns
// exactly; WinInet's documentation spells them in lower case.
std::optional<std::string> PlainPattern(const std::optional<std::string>& pattern) {
  if (!pattern) return pattern;
  if (lstrcmpiA(pattern->c_str(), "Cookie:") == 0) return std::string("Cookie:");
  if (lstrcmpiA(pattern->c_str(), "Visited:") == 0) return std::string("Visited:");
  return pattern;
}

template <class Fn>
Fn Lookup(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

bool Win32UrlCache::LoadCacheLibrary() {
  if (module_) return true;
  // From the system folder only: a "wininet.dll" beside the program or in
  // the current folder is never loaded.
  wchar_t folder[MAX_PATH];
  UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return false;
  std::wstring path(folder, n);
  path += L"\\wininet.dll";
  module_ = UniqueModule(LoadLibraryW(path.c_str()));
  return static_cast<bool>(module_);
}

bool Win32UrlCache::HasEntryPoint(const std::string& name) {
  return module_ && GetProcAddress(module_.get(), name.c_str()) != nullptr;
}

bool Win32UrlCache::Api() {
  if (apiResolved_) return true;
  if (!LoadCacheLibrary()) return false;
  HMODULE m = module_.get();
  api_.findFirstEx = Lookup<WinInetApi::FindFirstExA>(m, "FindFirstUrlCacheEntryExA");
  api_.findNextEx = Lookup<WinInetApi::FindNextExA>(m, "FindNextUrlCacheEntryExA");
  api_.findFirst = Lookup<WinInetApi::FindFirstA>(m, "FindFirstUrlCacheEntryA");
  api_.findNext = Lookup<WinInetApi::FindNextA>(m, "FindNextUrlCacheEntryA");
  api_.findClose = Lookup<WinInetApi::CloseFn>(m, "FindCloseUrlCache");
  api_.getInfoEx = Lookup<WinInetApi::GetInfoExA>(m, "GetUrlCacheEntryInfoExA");
  api_.deleteEntry = Lookup<WinInetApi::DeleteA>(m, "DeleteUrlCacheEntryA");
  apiResolved_ = true;
  return true;
}

uint32_t Win32UrlCache::ExtendedFindFirst(const std::optional<std::string>& pattern,
                                          uint32_t flags, uint32_t filter, int64_t groupId,
                                          uint32_t& size, UrlCacheEntry& entry,
                                          std::unique_ptr<UrlCacheFind>& find) {
  if (!api_.findFirstEx || !api_.findClose) return ERROR_PROC_NOT_FOUND;
  HANDLE h = nullptr;
  uint32_t error = ReadEntry(size, entry, [&](void* buffer, DWORD* got) {
    h = api_.findFirstEx(pattern ? pattern->c_str() : nullptr, flags, filter, groupId, buffer, got,
                         nullptr, nullptr, nullptr);
    return h != nullptr;
  });
  if (error == 0) find = std::make_unique<ExtendedFind>(UniqueCacheFind(h, api_.findClose), api_);
  return error;
}

uint32_t Win32UrlCache::PlainFindFirst(const std::optional<std::string>& pattern,
                                       uint32_t filter, uint32_t& size, UrlCacheEntry& entry,
                                       std::unique_ptr<UrlCacheFind>& find) {
  const std::optional<std::string> plain = PlainPattern(pattern);
  UniqueCacheFind handle;
  PlainEntry first;
  uint32_t error = PlainOpen(api_, plain ? plain->c_str() : nullptr, handle, first);
  while (error == 0 && !Admits(filter, first.entry)) error = PlainRead(api_, handle.get(), first);
  if (error) return error;
  if (size < first.needed) {
    size = first.needed;
    return ERROR_INSUFFICIENT_BUFFER;
  }
  size = first.needed;
  entry = std::move(first.entry);
  find = std::make_unique<PlainFind>(std::move(handle), api_, filter);
  return 0;
}

bool Win32UrlCache::PlainFindsAnEntry(const std::optional<std::string>& pattern) {
  const std::optional<std::string> plain = PlainPattern(pattern);
  UniqueCacheFind handle;
  PlainEntry first;
  return PlainOpen(api_, plain ? plain->c_str() : nullptr, handle, first) == 0;
}

uint32_t Win32UrlCache::FindFirst(const std::optional<std::string>& pattern, uint32_t flags,
                                  uint32_t filter, int64_t groupId, uint32_t& size,
                                  UrlCacheEntry& entry, std::unique_ptr<UrlCacheFind>& find) {
  find.reset();
  if (!Api()) return ERROR_PROC_NOT_FOUND;
  // The plain calls know no flags and no groups: they stand in only for the
  // calls the program makes (flags 0, group 0, which means every entry).
  const bool plainCanServe =
      flags == 0 && groupId == 0 && api_.findFirst && api_.findNext && api_.findClose;
  if (enumeration_ == Enumeration::kPlain && plainCanServe)
    return PlainFindFirst(pattern, filter, size, entry, find);
  const uint32_t error = ExtendedFindFirst(pattern, flags, filter, groupId, size, entry, find);
  if (enumeration_ != Enumeration::kUnsettled || !plainCanServe) return error;
  if (error != ERROR_FILE_NOT_FOUND) {
    // An entry, a size, the end of the list or any other answer of its own:
    // the extended call is implemented.
    enumeration_ = Enumeration::kExtended;
    return error;
  }
  // Error 2 says nothing by itself (a missing container would answer so).
  // The stub is known when the plain call finds an entry where the extended
  // one claimed there was nothing to search; until an enumeration shows
  // that, the extended call's answer stands.
  if (!PlainFindsAnEntry(pattern)) return error;
  enumeration_ = Enumeration::kPlain;
  return PlainFindFirst(pattern, filter, size, entry, find);
}

uint32_t Win32UrlCache::GetEntryInfo(const std::string& url, uint32_t& size,
                                     UrlCacheEntry& entry) {
  if (!Api() || !api_.getInfoEx) return ERROR_PROC_NOT_FOUND;
  return ReadEntry(size, entry, [&](void* buffer, DWORD* got) {
    return api_.getInfoEx(url.c_str(), buffer, got, nullptr, nullptr, nullptr, 0) != FALSE;
  });
}

uint32_t Win32UrlCache::DeleteEntry(const std::string& url) {
  if (!Api() || !api_.deleteEntry) return ERROR_PROC_NOT_FOUND;
  return api_.deleteEntry(url.c_str()) ? 0 : LastError();
}

}  // namespace scourly
