// How Purgix.dll asks the shell to recycle one path; shared with the tests
// that check what the shell then does.
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace purgix {

// Undo (the Recycle Bin), no confirmation, progress or error dialogs; but a
// question before anything the Recycle Bin cannot take is deleted for good.
inline constexpr FILEOP_FLAGS kRecycleFlags =
    FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI | FOF_WANTNUKEWARNING;

}  // namespace purgix
