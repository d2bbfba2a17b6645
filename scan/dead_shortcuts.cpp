#include "scan/dead_shortcuts.h"

#include <cctype>
#include <utility>

#include "lists/column_sort.h"
#include "lists/status_panels.h"
#include "scan/mask_match.h"
#include "scan/scan_progress.h"
#include "scan/shortcut.h"
#include "scan/walkers.h"

namespace scourly {
namespace {

// "C:" or "C:\", "\\server\share" or "\\server\share\".
bool IsRootPath(const std::string& path) {
  if (path.size() >= 2 && path.size() <= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
      path[1] == ':')
    return path.size() == 2 || path[2] == '\\';
  if (path.compare(0, 2, "\\\\") != 0) return false;
  size_t serverEnd = path.find('\\', 2);
  if (serverEnd == std::string::npos || serverEnd == 2 || serverEnd + 1 >= path.size())
    return false;
  size_t shareEnd = path.find('\\', serverEnd + 1);
  if (shareEnd == serverEnd + 1) return false;
  return shareEnd == std::string::npos || shareEnd + 1 == path.size();
}

// A shortcut is dead when its link reads, names a file-system target, and
// that target is not there.
bool IsDead(Platform& platform, const ResultRow& candidate) {
  try {
    std::string target;
    // The exact path that was listed: a name or folder holding ";" is read
    // like any other.
    if (!GetShortcutTarget(platform.shell, candidate.FullPath(), target)) return false;
    return !ShortcutTargetExists(platform.fs, target);
  } catch (...) {
    // One shortcut that cannot be judged is left out; the scan goes on.
    return false;
  }
}

}  // namespace

bool ShortcutTargetExists(FileSystem& fs, const std::string& target) {
  return IsRootPath(target) ? fs.FileExists(target) : fs.FindFirstFinds(target);
}

void DFindFilesClick(FileTabScan& tab, Platform& platform, const CheckList& drivesBox) {
  if (tab.stopFlag) return;
  tab.list.Clear();
  tab.findFilesTB.enabled = false;
  tab.bar.Set(kPanelSelFiles, "");
  tab.bar.Set(kPanelTotalFiles, TotalFilesText(0));
  tab.bar.Set(kPanelTotalSize, SizeText(0));

  ScanProgress progress(tab.bar, platform.ui, tab.stopFlag, tab.pumpBudgetMs);
  DateTexts dates(platform.locale);
  const KeepFilter keep = MakeKeepFilter(tab.keep, platform.fs);
  WalkContext ctx{platform.fs, dates, progress, keep};

  // Phase 1: every shortcut file of the checked drives, in walk order. The
  // walk adds nothing to panels 2 and 3.
  ScanState candidates;
  const FileMask linkMask("*.lnk");
  // The number of drives is taken once; a list shortened by the options
  // dialog while the scan pumps ends the loop instead of reading past it.
  const int driveCount = drivesBox.Count();
  for (int d = 0; d < driveCount && d < drivesBox.Count(); ++d) {
    if (progress.Stopped()) return;
    const CheckItem& drive = drivesBox.items[d];
    if (!drive.checked || drive.text.size() < 2) continue;
    const std::string folder = drive.text.substr(0, drive.text.size() - 2) + ":";
    FindMaskedFiles(ctx, folder, linkMask, candidates, false);
  }
  // A Stop during the last drive's walk ends the scan too, also when that
  // walk found no shortcut to judge.
  if (progress.Stopped()) return;

  // Phase 2: the candidates whose targets are gone, counted afresh. Panel 0
  // keeps the last folder walked; messages are pumped on the time budget.
  ScanState dead;
  for (ResultRow& candidate : candidates.rows) {
    if (progress.Stopped()) return;
    progress.Pump(tab.bar.Get(kPanelSelSize));
    if (!IsDead(platform, candidate)) continue;
    dead.bytes += static_cast<int64_t>(candidate.Size());
    ++dead.count;
    dead.rows.push_back(std::move(candidate));
    progress.Found(dead.count, dead.bytes, true);
  }
  progress.Finish();

  AssignRows(tab.list, std::move(dead.rows), platform.locale);
  tab.totalSizeText = SizeText(dead.bytes);
  ResetSelectionPanels(tab.bar);
  tab.bar.Set(kPanelTotalFiles, TotalFilesText(dead.count));
  tab.bar.Set(kPanelTotalSize, SizeText(dead.bytes));
}

}  // namespace scourly
