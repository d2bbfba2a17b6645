#include "scan/folder_scans.h"

#include <cctype>
#include <utility>

#include "lists/column_sort.h"
#include "lists/status_panels.h"
#include "scan/scan_progress.h"
#include "scan/walkers.h"

namespace scourly {
namespace {

// "X:" or "X:\..." or "\\server\share...": a path that names the same place
// whatever the current folder is.
bool FullyQualified(const std::string& path) {
  if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':')
    return path.size() == 2 || path[2] == '\\';
  if (path.size() < 5 || path.compare(0, 2, "\\\\") != 0) return false;
  size_t serverEnd = path.find('\\', 2);
  return serverEnd != std::string::npos && serverEnd > 2 && serverEnd + 1 < path.size() &&
         path[serverEnd + 1] != '\\';
}

// The scan of one special folder's tree into a tab. A folder the shell
// cannot name is scanned as an empty one: a missing path must never turn
// into the current folder, a drive root or a bare "\*.*".
void SpecialFolderScan(FileTabScan& tab, Platform& platform, int csidl, bool recurse) {
  if (tab.stopFlag) return;
  tab.findFilesTB.enabled = false;
  tab.list.Clear();
  tab.bar.Set(kPanelSelFiles, "");

  ScanState state;
  ScanProgress progress(tab.bar, platform.ui, tab.stopFlag, tab.pumpBudgetMs);
  if (std::optional<std::string> folder = GetSpecialFolderPath(platform.shell, csidl)) {
    DateTexts dates(platform.locale);
    const KeepFilter keep = MakeKeepFilter(tab.keep, platform.fs);
    WalkContext ctx{platform.fs, dates, progress, keep};
    FindFolderFiles(ctx, *folder + "\\*.*", state, recurse);
  }
  // The figures the walk reached, also when a Stop discards its rows.
  progress.Finish();
  if (tab.stopFlag) return;

  AssignRows(tab.list, std::move(state.rows), platform.locale);
  tab.totalSizeText = SizeText(state.bytes);
  ResetSelectionPanels(tab.bar);
  // An empty folder shows its own zero figures rather than the previous
  // scan's, which would describe a list that is no longer there.
  tab.bar.Set(kPanelTotalFiles, TotalFilesText(state.count));
  tab.bar.Set(kPanelTotalSize, SizeText(state.bytes));
}

}  // namespace

std::optional<std::string> GetSpecialFolderPath(Shell& shell, int csidl) {
  std::optional<std::string> path = shell.SpecialFolderPath(csidl);
  if (!path) return std::nullopt;
  while (path->size() > 2 && path->back() == '\\') path->pop_back();
  if (!FullyQualified(*path)) return std::nullopt;
  return path;
}

void RFindFilesClick(FileTabScan& tab, Platform& platform) {
  SpecialFolderScan(tab, platform, kCsidlRecent, false);
}

void FFindFilesClick(FileTabScan& tab, Platform& platform) {
  SpecialFolderScan(tab, platform, kCsidlFavorites, true);
}

}  // namespace scourly
