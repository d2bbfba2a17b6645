// The walks of the unneeded-file scan: for each checked drive the checked
// masks and the empty files, then the Windows temporary folder.
#pragma once

#include "options/settings_file.h"
#include "options/uoptions.h"
#include "platform/platform.h"
#include "scan/file_tab_scan.h"
#include "scan/walkers.h"

namespace scourly {

enum class WalkStrategy {
  kSinglePass,  // one traversal per drive (what the program uses)
  kPerMask,     // one walk per mask and one for empty files, as the rows are defined
};

// Walks every checked drive for the checked masks, then for empty files.
// False when a Stop seen before a drive item ends the scan with nothing to
// publish. `workers`: the threads that list folders for the single pass, the
// calling thread among them (0: WaitingWorkers).
bool WalkCheckedDrives(WalkContext& ctx, const ScanOptions& options, ScanState& state,
                       WalkStrategy strategy = WalkStrategy::kSinglePass, unsigned workers = 0);

// Everything in the Windows temporary folder and its subfolders.
void WalkTempFolder(WalkContext& ctx, ScanState& state);

// The "Unneeded Files" tab's scan: the checked masks and the empty files on
// every checked drive, then the Windows temporary folder when its flag is
// on. Asks for file types first when the settings file counts none checked.
void UFindFilesClick(FileTabScan& tab, Platform& platform, TUOptionsDialog& options);

// The scan itself, after UFindFilesClick's question: walks, fills the list,
// sets the total-size text and the panels. It asks nothing, so a run without
// a window lists exactly the rows the window would.
void ListUnneededFiles(FileTabScan& tab, Platform& platform, TUOptionsDialog& options);

}  // namespace scourly
