#include "scan/unneeded_scan.h"

#include "scan/folder_prefetch.h"

namespace scourly {

bool WalkCheckedDrives(WalkContext& ctx, const ScanOptions& options, ScanState& state,
                       WalkStrategy strategy, unsigned workers) {
  if (workers == 0) workers = ListingWorkers();
  // The number of file types is taken once; a list shortened by the options
  // dialog during the scan ends the loop early instead of reading past it.
  const int typeCount = options.OptionBox.Count();
  for (int d = 0; d < options.DrivesBox.Count(); ++d) {
    if (ctx.progress.Stopped()) return false;
    const CheckItem& drive = options.DrivesBox.items[d];
    if (!drive.checked || drive.text.size() < 2) continue;
    const std::string letter = drive.text.substr(0, drive.text.size() - 2) + ":";

    std::vector<FileMask> masks;
    for (int t = 0; t < typeCount && t < options.OptionBox.Count(); ++t) {
      const CheckItem& type = options.OptionBox.items[t];
      if (type.checked) masks.emplace_back(type.text);
    }
    if (strategy == WalkStrategy::kSinglePass) {
      SweepDrive(ctx, letter, masks, state, workers);
    } else {
      for (const FileMask& mask : masks) {
        if (ctx.progress.Stopped()) break;
        FindMaskedFiles(ctx, letter, mask, state, true);
      }
      FindEmptyFiles(ctx, letter + "\\*.*", state);
    }
  }
  return true;
}

void WalkTempFolder(WalkContext& ctx, ScanState& state) {
  FindFolderFiles(ctx, ctx.fs.GetTempPath() + "*.*", state, true);
}

}  // namespace scourly
