#include "cache/ie_cache_view.h"

#include "cache/date_time.h"
#include "delete/deletion.h"
#include "lists/app_error.h"
#include "lists/result_row.h"
#include "lists/status_panels.h"

namespace scourly {
namespace {

constexpr int kKeyDelete = 46;

}  // namespace

TIECacheView::TIECacheView(const IECacheViewModels& models, const IECacheViewServices& services)
    : IECache1(services.urlCache, services.dates), m_(models), s_(services) {
  IECache1.SetFilterOptions(kDefaultFilterOptions);
  IECache1.SearchPattern = spAll;
  IECache1.OnEntry = [this](TIECache& sender, bool& cancel) { IECache1Entry(sender, cancel); };
  RadioGroup1.caption = "Filter";
  RadioGroup1.columns = 2;
  RadioGroup1.items = {"All", "Cookies", "URL History", "Temporary Files"};
  RadioGroup1.itemIndex = -1;
  GroupBox1.caption = "File information";
  Label1.caption = "Hit Rate:";
  Label2.caption = "File Size:";
  Label3.caption = "Last Accessed:";
  Label4.caption = "Last Modified:";
  if (DeletionLog* log = services.log) {
    IECache1.OnDeleteEntry = [log](const std::string& url, std::optional<uint64_t> size,
                                   uint32_t result) {
      if (result == 0) {
        log->Deleted(DeletionWay::kCache, size, url);
      } else {
        log->Stayed(DeletionWay::kCache, size, url, ReasonText(StayReason::kNotDeleted));
      }
    };
  }
}

// ---- The scan ----

void TIECacheView::RadioGroup1Click() {
  m_.StopFlag = false;
  ScopedHourglass hourglass(s_.ui);
  m_.ListBox4.Clear();
  scanRows_.clear();
  // Set before anything can fail, so a scan that ends early never leaves
  // typed rows counted that the list no longer shows.
  TypedUrlCount = 0;
  bool enumerate = true;
  switch (RadioGroup1.itemIndex) {
    case kFilterAll: IECache1.SearchPattern = spAll; break;
    case kFilterCookies: IECache1.SearchPattern = spCookies; break;
    case kFilterHistory:
      TypedUrlCount = LoadTypedUrls();
      IECache1.SearchPattern = spHistory;
      break;
    case kFilterTemporary: IECache1.SearchPattern = spUrl; break;
    default: enumerate = false; break;
  }
  try {
    if (enumerate) IECache1.EnumerateEntries(0);
  } catch (...) {
    scanRows_.clear();
    TypedUrlCount = 0;
    throw;
  }
  m_.ListBox4.Assign(std::move(scanRows_));
  scanRows_.clear();

  m_.StatusBar1.Set(kPanelTotalFiles, TotalFilesText(m_.ListBox4.Count()));
  int64_t total = 0;
  for (int row = 0; row < m_.ListBox4.Count(); ++row)
    total += static_cast<int64_t>(CacheRowSize(row));
  const std::string totalText = SizeText(total);
  m_.StatusBar1.Set(kPanelTotalSize, totalText);
  ResetSelectionPanels(m_.StatusBar1);
  m_.TotalSizeText = totalText;
  m_.DeleteAllTB.enabled = true;
  m_.DeleteSelTB.enabled = false;
}

void TIECacheView::SetFilterIndex(int index) {
  if (index == RadioGroup1.itemIndex) return;
  RadioGroup1.itemIndex = index;
  // Checking another button is a click; clearing the choice is not.
  if (index >= 0) RadioGroup1Click();
}

void TIECacheView::IECache1Entry(TIECache& Sender, bool& /*Cancel*/) {
  scanRows_.push_back(Sender.EntryInfo().SourceUrlName);
}

std::unique_ptr<RegistryKey> TIECacheView::OpenTypedUrls(KeyAccess access) {
  return s_.registry.OpenKey(RegistryRoot::kCurrentUser, kTypedUrlsKey, access);
}

int TIECacheView::LoadTypedUrls() {
  std::unique_ptr<RegistryKey> key = OpenTypedUrls(KeyAccess::kRead);
  if (!key) return 0;
  m_.TypedUrlNames = key->ValueNames();
  typedAddresses_.clear();
  for (const std::string& name : m_.TypedUrlNames) {
    std::string address = key->ReadString(name).value_or(std::string());
    scanRows_.push_back(kTypedUrlPrefix + address);
    typedAddresses_.push_back(std::move(address));
  }
  return static_cast<int>(m_.TypedUrlNames.size());
}

uint64_t TIECacheView::CacheRowSize(int row) {
  if (row < TypedUrlCount || row < 0 || row >= m_.ListBox4.Count()) return 0;
  if (IECache1.GetEntryInfo(m_.ListBox4[row]) != 0) return 0;
  return IECache1.EntryInfo().Size;
}

// ---- Clicks ----

void TIECacheView::SetLabelsFrom(const TEntryInfo* info) {
  if (!info) {
    // The row has no readable entry: its details are unknown, and the entry
    // read before belongs to another row.
    Label1.caption = "Hit Rate: ";
    Label2.caption = "File Size: ";
    Label3.caption = "Last Access: ";
    Label4.caption = "Last Modified: ";
    return;
  }
  const DateTimeFormats formats = s_.dates.Formats();
  Label1.caption = "Hit Rate: " + std::to_string(info->HitRate);
  Label2.caption = "File Size: " + std::to_string(info->Size) + " B";
  Label3.caption = "Last Access: " + DateTimeText(info->LastAccessTime, formats);
  Label4.caption = "Last Modified: " + DateTimeText(info->LastModifiedTime, formats);
}

void TIECacheView::ListBox4Click() {
  TextList& list = m_.ListBox4;
  if (list.Count() == 0) {
    m_.DeleteAllTB.enabled = false;
    ResetPanels(m_.StatusBar1);
    return;
  }
  m_.DeleteAllTB.enabled = true;
  try {
    const int focus = list.itemIndex;
    const bool cacheRow = focus >= TypedUrlCount && focus < list.Count();
    if (cacheRow && IECache1.GetEntryInfo(list[focus]) == 0)
      SetLabelsFrom(&IECache1.EntryInfo());
    else
      SetLabelsFrom(nullptr);
  } catch (const std::exception&) {
    // The details are a courtesy: the figures below still follow the click.
  }

  int64_t selected = 0;
  for (int row = 0; row < list.Count(); ++row) {
    if (list.Selected(row)) selected += static_cast<int64_t>(CacheRowSize(row));
  }
  // This list shows its selected size in plain bytes.
  m_.StatusBar1.Set(kPanelSelSize, kSelectedSizePrefix + std::to_string(selected) + " B");
  m_.StatusBar1.Set(kPanelSelFiles, SelectedFilesText(list.SelCount()));
  m_.StatusBar1.Set(kPanelTotalFiles, TotalFilesText(list.Count()));
  m_.StatusBar1.Set(kPanelTotalSize, m_.TotalSizeText);
  m_.DeleteSelTB.enabled = list.SelCount() > 0;
}

void TIECacheView::ListBox4KeyDown(int key) {
  if (key == kKeyDelete && m_.ListBox4.SelCount() > 0) CDeleteSelClick();
}

// ---- Deletion ----

void TIECacheView::DeleteTypedUrl(RegistryKey* key, int index) {
  if (index < 0 || index >= static_cast<int>(m_.TypedUrlNames.size()) ||
      index >= static_cast<int>(typedAddresses_.size()))
    return;
  if (!key) return LogTypedUrl(index, StayReason::kNotDeleted);
  const std::string& name = m_.TypedUrlNames[index];
  try {
    std::optional<std::string> now = key->ReadString(name);
    if (!now) return;
    if (*now != typedAddresses_[index])
      return LogTypedUrl(index, StayReason::kChanged);
  } catch (const AppError&) {
    // No longer text: not the address that was listed.
    return LogTypedUrl(index, StayReason::kChanged);
  }
  // A value that stays is listed again by the next scan.
  LogTypedUrl(index, key->DeleteValue(name) ? std::nullopt
                                            : std::optional<StayReason>(StayReason::kNotDeleted));
}

void TIECacheView::LogTypedUrl(int index, std::optional<StayReason> stayed) {
  if (!s_.log) return;
  const std::string& address = typedAddresses_[index];
  if (stayed) {
    s_.log->Stayed(DeletionWay::kCache, std::nullopt, address, ReasonText(*stayed));
  } else {
    s_.log->Deleted(DeletionWay::kCache, std::nullopt, address);
  }
}

void TIECacheView::CDeleteSelClick() {
  m_.DeleteSelTB.enabled = false;
  TextList& list = m_.ListBox4;
  std::unique_ptr<RegistryKey> key;
  bool keyOpened = false;
  for (int row = list.Count() - 1; row >= 0; --row) {
    if (m_.StopFlag) return;
    if (!list.Selected(row)) continue;
    if (row >= TypedUrlCount) {
      IECache1.DeleteEntry(list[row]);  // an entry that stays is listed again by the rescan
    } else {
      if (!keyOpened) {
        key = OpenTypedUrls(KeyAccess::kReadWrite);
        keyOpened = true;
      }
      DeleteTypedUrl(key.get(), row);
    }
  }
  key.reset();
  RadioGroup1Click();
  ListBox4FocusRequested = true;
}

void TIECacheView::DeleteAllClick() {
  if (m_.StopFlag) return;
  TextList& list = m_.ListBox4;
  struct EmptyAtEnd {
    TextList& list;
    ~EmptyAtEnd() { list.Clear(); }
  } emptyAtEnd{list};
  // Exactly what the rows name, in their order: an entry that came into the
  // cache after the scan was never shown, so it stays.
  std::unique_ptr<RegistryKey> key;
  bool keyOpened = false;
  for (int row = 0; row < list.Count(); ++row) {
    if (row >= TypedUrlCount) {
      IECache1.DeleteEntry(list[row]);  // an entry WinInet keeps is simply passed
      continue;
    }
    if (!keyOpened) {
      key = OpenTypedUrls(KeyAccess::kReadWrite);
      keyOpened = true;
    }
    DeleteTypedUrl(key.get(), row);
  }
}

// ---- Sub-tabs and commands ----

void TIECacheView::PageControl2Change() {
  const int page = m_.PageControl2.activeIndex;
  const bool cachePage = page != 1;
  m_.FindFilesTB.enabled = cachePage;
  m_.DeleteAllTB.enabled = cachePage;
  m_.DeleteSelTB.enabled = cachePage;
  if (page == 0) ListBox4Click();
  if (page == 1) {
    for (int panel = 0; panel < 4; ++panel) m_.StatusBar1.Set(panel, "");
  }
}

void TIECacheView::ScanforIECahefiles1Click() {
  RadioGroup1.itemIndex = kFilterAll;
  RadioGroup1Click();
}

void TIECacheView::SelectAll() {
  TextList& list = m_.ListBox4;
  if (list.Count() == 0) return;
  int64_t sum = 0;
  for (int row = 0; row < list.Count(); ++row) {
    list.SetSelected(row, true);
    sum += static_cast<int64_t>(CacheRowSize(row));
  }
  m_.StatusBar1.Set(kPanelSelSize, SelectedSizeText(sum));
  m_.StatusBar1.Set(kPanelSelFiles, SelectedFilesText(list.SelCount()));
}

void TIECacheView::Invert() {
  ScopedHourglass hourglass(s_.ui);
  TextList& list = m_.ListBox4;
  int64_t sum = 0;
  int64_t count = 0;
  for (int row = 0; row < list.Count(); ++row) {
    if (list.Selected(row)) {
      list.SetSelected(row, false);
    } else {
      list.SetSelected(row, true);
      sum += static_cast<int64_t>(CacheRowSize(row));
      ++count;
    }
  }
  m_.StatusBar1.Set(kPanelSelSize, SelectedSizeText(sum));
  m_.StatusBar1.Set(kPanelSelFiles, SelectedFilesText(count));
}

}  // namespace scourly
