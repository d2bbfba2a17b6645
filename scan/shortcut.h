// Shortcut: what a shell link file records, read through the shell's own
// link object, and the target path alone for the dead-shortcut scan.
#pragma once

#include <cstdint>
#include <string>

#include "platform/shell.h"

namespace scourly {

struct TShortcutInfo {
  std::string Path;  // the target, with UNC priority
  std::string WorkingDirectory;
  std::string Arguments;
  std::string Description;
  std::string IconLocation;
  int32_t IconIndex = 0;
};

// True when the link at `path` was read whole and names a non-empty target;
// only then is `info` filled. A link to a shell object without a file-system
// path reads as false. An error of the shell itself (COM cannot be
// initialised) is raised as AppError.
bool GetShortcutInfo(Shell& shell, const std::string& path, TShortcutInfo& info);

// The target path of the link at `path`; on false `target` is left as it was.
bool GetShortcutTarget(Shell& shell, const std::string& path, std::string& target);

}  // namespace scourly
