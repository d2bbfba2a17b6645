// The "IE Cache" sub-tab: the cache's entry URLs as a plain list, narrowed by
// a filter, the details of the focused entry, and the deletions. Deleting
// here removes cache entries for good, whichever delete command runs it; the
// typed addresses shown under "URL History" are values of the browser's
// TypedURLs key and are deleted there.
//
// The view holds references to the main window's shared models and owns the
// controls that are only its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cache/ie_cache.h"
#include "delete/deletion_log.h"
#include "delete/deletion_run.h"
#include "lists/controls.h"
#include "platform/date_format.h"
#include "platform/registry.h"
#include "platform/ui.h"
#include "platform/url_cache.h"

namespace scourly {

// A group of radio buttons; no item is chosen while itemIndex is -1.
// The filter items, in order.
inline constexpr int kFilterAll = 0;
inline constexpr int kFilterCookies = 1;
inline constexpr int kFilterHistory = 2;
inline constexpr int kFilterTemporary = 3;

inline constexpr const char* kTypedUrlsKey = "\\Software\\Microsoft\\Internet Explorer\\TypedURLs";
inline constexpr const char* kTypedUrlPrefix = "Visited: ";

// The main window's models the view works on.
struct IECacheViewModels {
  TextList& ListBox4;
  StatusBar& StatusBar1;
  ToolButton& FindFilesTB;
  ToolButton& DeleteAllTB;
  ToolButton& DeleteSelTB;
  PageControl& PageControl2;
  bool& StopFlag;
  std::string& TotalSizeText;  // the IE Cache tab's (tab 3)
  std::vector<std::string>& TypedUrlNames;
};

struct IECacheViewServices {
  Ui& ui;
  UrlCache& urlCache;
  Registry& registry;
  DateFormat& dates;
  DeletionLog* log = nullptr;  // where each deleted entry and address is written down
};

class TIECacheView {
 public:
  TIECacheView(const IECacheViewModels& models, const IECacheViewServices& services);
  TIECacheView(const TIECacheView&) = delete;
  TIECacheView& operator=(const TIECacheView&) = delete;

  // ---- Own controls and state ----
  TIECache IECache1;
  RadioGroup RadioGroup1;
  GroupBox GroupBox1;
  Label Label1, Label2, Label3, Label4;
  int TypedUrlCount = 0;
  // Set when ListBox4 should get the keyboard focus (after a delete-selected);
  // the window gives it the focus and clears the flag.
  bool ListBox4FocusRequested = false;

  // ---- Handlers ----
  // The IE cache scan: rebuilds the list under the current filter.
  void RadioGroup1Click();
  // A programmatic choice of the filter: a different item counts as a click.
  void SetFilterIndex(int index);
  // IECache1's OnEntry: one row per enumerated entry.
  void IECache1Entry(TIECache& Sender, bool& Cancel);
  // Adds the typed-address rows of the browser's TypedURLs key to the scan's
  // rows; returns how many.
  int LoadTypedUrls();
  void ListBox4Click();
  void ListBox4KeyDown(int key);
  // Deletes the selected rows' entries and typed addresses, then rescans.
  void CDeleteSelClick();
  // The "Browser Cache" branch of Delete All: the entries and typed
  // addresses the rows name, then the list is emptied.
  void DeleteAllClick();
  void PageControl2Change();
  // The view's part of the File menu's "Scan for IE Cahe Files" (the window
  // shows the tab and the sub-tab first).
  void ScanforIECahefiles1Click();
  // Select All and Invert Selection on ListBox4.
  void SelectAll();
  void Invert();

  // The bytes a row stands for: its cache entry's size, 0 when the entry
  // cannot be read; typed-address rows have no cache entry.
  uint64_t CacheRowSize(int row);

 private:
  // Deletes typed address `index` if its value still holds the address that
  // was listed: the browser renumbers its values as addresses are typed, and
  // a name alone could then name an address the user never saw.
  void DeleteTypedUrl(RegistryKey* key, int index);
  // Typed address `index` in the deletion log: deleted, or why it stayed.
  void LogTypedUrl(int index, std::optional<StayReason> stayed);
  std::unique_ptr<RegistryKey> OpenTypedUrls(KeyAccess access);
  void SetLabelsFrom(const TEntryInfo* info);

  IECacheViewModels m_;
  IECacheViewServices s_;
  std::vector<std::string> scanRows_;        // the rows of the scan in progress
  std::vector<std::string> typedAddresses_;  // what each TypedUrlNames value held when listed
};

}  // namespace scourly
