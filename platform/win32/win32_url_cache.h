// The URL cache through wininet.dll, loaded at run time from the system
// folder (the program links no import library for it).
//
// Wine 8 implements FindFirstUrlCacheEntryExA as a stub that fails with
// error 2, while the plain FindFirstUrlCacheEntryA / FindNextUrlCacheEntryA
// enumerate the real cache. The first enumeration whose extended call fails
// with 2 while the plain call on the same pattern finds an entry settles it:
// from then on enumerations run on the plain calls, and the extended calls'
// type filter is applied here, so that the same entries are listed as the
// extended calls list on Windows. Any other answer of the extended call
// settles that they work.
#pragma once

#include <windows.h>

#include <string>

#include "platform/url_cache.h"

namespace scourly {

// Owns a loaded library; FreeLibrary when destroyed.
class UniqueModule {
 public:
  UniqueModule() = default;
  explicit UniqueModule(HMODULE m) : m_(m) {}
  UniqueModule(const UniqueModule&) = delete;
  UniqueModule& operator=(const UniqueModule&) = delete;
  UniqueModule& operator=(UniqueModule&& other) noexcept {
    if (this != &other) {
      reset();
      m_ = other.m_;
      other.m_ = nullptr;
    }
    return *this;
  }
  ~UniqueModule() { reset(); }
  void reset() {
    if (m_) FreeLibrary(m_);
    m_ = nullptr;
  }
  HMODULE get() const { return m_; }
  explicit operator bool() const { return m_ != nullptr; }

 private:
  HMODULE m_ = nullptr;
};

// The wininet functions the service calls, looked up once.
struct WinInetApi {
  using FindFirstExA = HANDLE(WINAPI*)(LPCSTR, DWORD, DWORD, LONGLONG, void*, LPDWORD, LPVOID,
                                       LPDWORD, LPVOID);
  using FindNextExA = BOOL(WINAPI*)(HANDLE, void*, LPDWORD, LPVOID, LPDWORD, LPVOID);
  using FindFirstA = HANDLE(WINAPI*)(LPCSTR, void*, LPDWORD);
  using FindNextA = BOOL(WINAPI*)(HANDLE, void*, LPDWORD);
  using CloseFn = BOOL(WINAPI*)(HANDLE);
  using GetInfoExA = BOOL(WINAPI*)(LPCSTR, void*, LPDWORD, LPSTR, LPDWORD, LPVOID, DWORD);
  using DeleteA = BOOL(WINAPI*)(LPCSTR);

  FindFirstExA findFirstEx = nullptr;
  FindNextExA findNextEx = nullptr;
  FindFirstA findFirst = nullptr;
  FindNextA findNext = nullptr;
  CloseFn findClose = nullptr;
  GetInfoExA getInfoEx = nullptr;
  DeleteA deleteEntry = nullptr;
};

class Win32UrlCache : public UrlCache {
 public:
  enum class Enumeration { kUnsettled, kExtended, kPlain };

  bool LoadCacheLibrary() override;
  bool HasEntryPoint(const std::string& name) override;
  uint32_t FindFirst(const std::optional<std::string>& pattern, uint32_t flags, uint32_t filter,
                     int64_t groupId, uint32_t& size, UrlCacheEntry& entry,
                     std::unique_ptr<UrlCacheFind>& find) override;
  uint32_t GetEntryInfo(const std::string& url, uint32_t& size, UrlCacheEntry& entry) override;
  uint32_t DeleteEntry(const std::string& url) override;

  // How enumerations are made, once settled.
  Enumeration enumeration() const { return enumeration_; }

 private:
  bool Api();  // loads the library and looks the functions up, once
  uint32_t ExtendedFindFirst(const std::optional<std::string>& pattern, uint32_t flags,
                             uint32_t filter, int64_t groupId, uint32_t& size,
                             UrlCacheEntry& entry, std::unique_ptr<UrlCacheFind>& find);
  uint32_t PlainFindFirst(const std::optional<std::string>& pattern, uint32_t filter,
                          uint32_t& size, UrlCacheEntry& entry,
                          std::unique_ptr<UrlCacheFind>& find);
  bool PlainFindsAnEntry(const std::optional<std::string>& pattern);

  UniqueModule module_;  // kept loaded while the service lives: enumerations call into it
  WinInetApi api_;
  bool apiResolved_ = false;
  Enumeration enumeration_ = Enumeration::kUnsettled;
};

}  // namespace scourly
