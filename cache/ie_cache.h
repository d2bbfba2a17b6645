// TIECache: the program's access to the browser's URL cache. It enumerates
// the entries that match a search pattern and an entry-type filter, raising
// OnEntry for each, reads one entry by its URL, deletes one entry, and deletes
// every entry the current pattern and filter enumerate. What it read last is
// held in EntryInfo. Results are codes: 0 success, 2 the cache interface is
// not available, otherwise the system error WinInet left.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

#include "platform/date_format.h"
#include "platform/url_cache.h"

namespace scourly {

// The entry types, in the fixed order of the bits of the stored set.
enum TFilterOption : uint8_t {
  NORMAL_ENTRY,
  STABLE_ENTRY,
  STICKY_ENTRY,
  COOKIE_ENTRY,
  URLHISTORY_ENTRY,
  TRACK_OFFLINE_ENTRY,
  TRACK_ONLINE_ENTRY,
  SPARSE_ENTRY,
  OCX_ENTRY,
};
inline constexpr int kFilterOptionCount = 9;

// WinInet's cache-entry type flag of each member, by ordinal.
inline constexpr uint32_t kFilterOptionFlags[kFilterOptionCount] = {
    0x1, 0x2, 0x4, 0x100000, 0x200000, 0x10, 0x20, 0x10000, 0x20000};

// A set of entry types, stored as 16 bits: bit n is the member of ordinal n.
class TFilterOptions {
 public:
  constexpr TFilterOptions() = default;
  constexpr TFilterOptions(std::initializer_list<TFilterOption> members) {
    for (TFilterOption m : members) bits_ |= static_cast<uint16_t>(1u << m);
  }
  static constexpr TFilterOptions FromBits(uint16_t bits) {
    TFilterOptions set;
    set.bits_ = bits;
    return set;
  }
  constexpr bool Contains(TFilterOption m) const { return (bits_ >> m) & 1u; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr uint16_t Bits() const { return bits_; }
  constexpr bool operator==(const TFilterOptions&) const = default;

 private:
  uint16_t bits_ = 0;
};

// The set the component starts with (value 125).
inline constexpr TFilterOptions kDefaultFilterOptions{NORMAL_ENTRY,       STICKY_ENTRY,
                                                      COOKIE_ENTRY,       URLHISTORY_ENTRY,
                                                      TRACK_OFFLINE_ENTRY, TRACK_ONLINE_ENTRY};

// The numeric filter handed to WinInet: the sum of the members' flags.
uint32_t FilterOf(TFilterOptions options);

enum TSearchPattern : uint8_t { spAll, spCookies, spHistory, spUrl };

// The pattern WinInet gets: none for spAll, an empty text for spUrl.
std::optional<std::string> PatternOf(TSearchPattern pattern);

// One cache entry as the program keeps it. Times are date-time values (days
// since 30 December 1899, local time); 0 when a time cannot be converted.
struct TEntryInfo {
  std::string SourceUrlName;
  std::string LocalFileName;
  uint32_t EntryType = 0;
  uint32_t UseCount = 0;
  uint32_t HitRate = 0;
  uint64_t Size = 0;  // the whole size, also at 4 GiB and more
  double LastModifiedTime = 0;
  double ExpireTime = 0;
  double LastAccessTime = 0;
  double LastSyncTime = 0;
  std::string HeaderInfo;
  std::string FileExtension;
  uint32_t ExemptDelta = 0;

  bool operator==(const TEntryInfo&) const = default;
};

// The names whose presence in "wininet.dll" makes the cache interface count
// as available, in the order they are looked up.
inline constexpr const char* kWinInetEntryPoints[] = {
    "FindFirstUrlCacheGroup", "FindNextUrlCacheGroup", "GetUrlCacheGroupAttributeA",
    "SetUrlCacheGroupAttributeA", "FindFirstUrlCacheEntryExA"};

// The library check itself: loads the library and looks the names up; false
// at the first missing name, or when anything goes wrong on the way.
bool CheckWinInet(UrlCache& cache);

class TIECache {
 public:
  using TOnEntryEvent = std::function<void(TIECache& Sender, bool& Cancel)>;

  // Runs the library check once, as the unit does when the program starts.
  TIECache(UrlCache& cache, DateFormat& dates);

  TFilterOptions FilterOptions() const { return filterOptions_; }
  void SetFilterOptions(TFilterOptions options);
  uint32_t Filter() const { return filter_; }

  TSearchPattern SearchPattern = spAll;
  TOnEntryEvent OnEntry;
  // Told of every deletion DeleteEntry tried on an entry the cache held: its
  // URL, its size read just before (none when it could not be read) and the
  // result. An entry that was not there is no deletion.
  std::function<void(const std::string& url, std::optional<uint64_t> size, uint32_t result)>
      OnDeleteEntry;

  // The entry read last.
  const TEntryInfo& EntryInfo() const { return entryInfo_; }

  // LoadWinInet: true once the check has passed; while it has not, every
  // call checks again (without remembering the outcome).
  bool LoadWinInet();
  bool LibraryFound() { return LoadWinInet(); }

  void EnumerateEntries(int64_t GroupID);
  uint32_t FindFirstEntry(int64_t GroupID);
  uint32_t FindNextEntry();
  uint32_t GetEntryInfo(const std::string& Url);
  uint32_t DeleteEntry(const std::string& Url);
  void DeleteAllEntries();
  void ClearEntryInfo() { entryInfo_ = TEntryInfo{}; }

  // Whether an enumeration is open (FindHandle is not null).
  bool EnumerationOpen() const { return FindHandle != nullptr; }

 private:
  void CopyEntry(const UrlCacheEntry& entry);
  // Reads the entry of `url` into `entry` (a size query, then the read).
  uint32_t ReadEntry(const std::string& url, UrlCacheEntry& entry);
  double ConvertTime(uint64_t utcTicks);

  UrlCache& cache_;
  DateFormat& dates_;
  TFilterOptions filterOptions_;
  uint32_t filter_ = 0;
  TEntryInfo entryInfo_;
  std::unique_ptr<UrlCacheFind> FindHandle;
  bool CancelFlag = false;
  // The library-found flag: the program keeps one component, so the flag the
  // unit keeps for the whole run lives with it.
  bool libraryFound_ = false;
};

}  // namespace scourly
