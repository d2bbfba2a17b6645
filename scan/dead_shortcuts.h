// The scan of the "Dead Shortcuts" tab: the shortcut files of the checked
// drives whose targets no longer exist.
#pragma once

#include <string>

#include "lists/controls.h"
#include "platform/platform.h"
#include "scan/file_tab_scan.h"

namespace scourly {

// Whether the target of a shortcut is there. A drive or share root is asked
// for by its attributes (a find-first search never reports a root itself);
// any other path by a find-first search for exactly that path.
bool ShortcutTargetExists(FileSystem& fs, const std::string& target);

// Collects every "*.lnk" file of the drives checked in `drivesBox`, then
// lists those whose link reads, names a target, and whose target is gone.
void DFindFilesClick(FileTabScan& tab, Platform& platform, const CheckList& drivesBox);

}  // namespace scourly
