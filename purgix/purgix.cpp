// Purgix.dll: moves the paths named in "FList.txt" (in the folder of the
// running executable) to the Recycle Bin.
//
// The hand-off file is UTF-8, one full path per line (CR LF, LF alone and a
// leading byte order mark are accepted). The lines go to the shell many per
// call (purgix/batches.h: a failing batch is tried again without what may no
// longer go, then in halves, so one bad line cannot stop the others), and a
// line is only handed over when it names exactly one existing file or folder
// by a fully qualified path:
//  - '*' and '?' are never passed on: the shell would expand them, with the
//    8.3 aliases, and the line would name files nobody listed;
//  - a relative path is refused: the shell ignores FOF_ALLOWUNDO for it and
//    deletes for good;
//  - "." and ".." parts, streams, device and "\\?\" forms, bare roots,
//    names ending in a space or a dot or naming a device ("zero " would
//    reach "zero", "nul.txt" the device), text that is not valid UTF-8 and
//    paths too long for the shell's classic limit are refused as well, so
//    the shell never resolves a line to something other than what it
//    literally says (delete/shell_path.h, which the program applies too).
// Each item is checked by its exact path, and handed over once: a second
// line of an item already handed over is left out.
// A line is never handed over when its path leads through a link (the shell
// would move or delete what the link points to): the same test the program
// applies before it writes the file.
// Names are WTF-8, so a name holding an unpaired surrogate arrives whole.
// Where the Recycle Bin cannot take a path (a network or removable drive, a
// file too large for it) FOF_WANTNUKEWARNING makes the shell ask before it
// deletes for good; no other dialog is shown. Wine's shell asks this
// question whenever its trash refuses an item (such as one in use), and
// deletes for good only on "Yes"; the question comes once per batch, and
// after a "No" nothing more of that batch is tried.
// A file in use is therefore left alone before the shell is asked.
#include <windows.h>

#include <string>

#include "platform/win32/win32_util.h"
#include "purgix/recycle_listed.h"

namespace {

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
  scourly::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  char chunk[16 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return false;
    if (got == 0) return true;
    bytes.append(chunk, got);
  }
}

void RecycleListed(bool unattended) {
  std::wstring folder = scourly::ModuleFolder();
  if (folder.empty()) return;
  std::string bytes;
  if (!ReadWholeFile(folder + L"FList.txt", bytes)) return;
  purgix::RecycleListed(std::move(bytes), purgix::kBatchChars, unattended);
}

}  // namespace

// The export the program calls; no arguments, no result. The outcome of each
// path is left on disk: a path that could not be recycled simply stays.
// Nothing may unwind into the caller, which is another module: an error
// (out of memory) ends the run and leaves the remaining lines alone.
extern "C" void doDELETE() noexcept {
  try {
    RecycleListed(false);
  } catch (...) {
  }
}

// The same for a run nobody watches (the command line): nothing is ever
// shown, and nothing is deleted for good. A path the Recycle Bin cannot take
// (on a drive without one, or refused by it) stays where it is.
extern "C" void doDELETEQuiet() noexcept {
  try {
    RecycleListed(true);
  } catch (...) {
  }
}
