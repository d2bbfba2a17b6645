// Purgix.dll: moves the paths named in "FList.txt" (in the folder of the
// running executable) to the Recycle Bin.
//
// The hand-off file is UTF-8, one full path per line (CR LF, LF alone and a
// leading byte order mark are accepted). Each line goes to the shell on its
// own, so one bad line cannot stop the others (the shell checks a whole batch
// before it starts), and a line is only handed over when it names exactly
// one existing file or folder by a fully qualified path:
//  - '*' and '?' are never passed on: the shell would expand them, with the
//    8.3 aliases, and the line would name files nobody listed;
//  - a relative path is refused: the shell ignores FOF_ALLOWUNDO for it and
//    deletes for good;
//  - "." and ".." parts, streams, device and "\\?\" forms, bare roots,
//    text that is not valid UTF-8 and paths too long for the shell's
//    classic limit are refused as well, so the shell never resolves a line
//    to something other than what it literally says.
// A line is never handed over when its path leads through a link (the shell
// would move or delete what the link points to): the same test the program
// applies before it writes the file.
// Names are WTF-8, so a name holding an unpaired surrogate arrives whole.
// Where the Recycle Bin cannot take a path (a network or removable drive, a
// file too large for it) FOF_WANTNUKEWARNING makes the shell ask before it
// deletes for good; no other dialog is shown. Wine's shell asks this
// question whenever its trash refuses an item (such as one in use), and
// deletes for good only on "Yes".
// A file in use is therefore left alone before the shell is asked.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/win32/win32_paths.h"
#include "platform/wtf8.h"
#include "purgix/recycle_flags.h"

namespace {

// Owns a file handle.
struct File {
  HANDLE h;
  explicit File(HANDLE handle) : h(handle) {}
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

std::wstring ProgramFolder() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      buffer.resize(n);
      break;
    }
    buffer.resize(buffer.size() * 2);
  }
  size_t slash = buffer.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : buffer.substr(0, slash + 1);
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
  File file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.h == INVALID_HANDLE_VALUE) return false;
  char chunk[16 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.h, chunk, sizeof chunk, &got, nullptr)) return false;
    if (got == 0) return true;
    bytes.append(chunk, got);
  }
}

// Strict WTF-8 to UTF-16; false for bytes that are not WTF-8.
bool FromWtf8(const std::string& line, std::wstring& wide) {
  std::u16string units;
  if (line.empty() || !scourly::wtf8::ToUtf16(line, units)) return false;
  wide.assign(units.begin(), units.end());
  return true;
}

// True when `path` leads through a link, or cannot be looked at.
bool ThroughLink(scourly::win32::LinkCheck& links, const std::wstring& path) {
  File item(scourly::win32::OpenExact(path, false));
  if (item.h == INVALID_HANDLE_VALUE) return true;
  scourly::win32::ItemFacts facts;
  return !links.Facts(item.h, path, facts) || facts.link;
}

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// True when `path` names one file or folder by a fully qualified path below a
// drive root ("C:\x") or a share ("\\server\share\x") and holds nothing the
// shell would reinterpret.
bool IsSafePath(const std::wstring& path) {
  if (path.size() >= MAX_PATH) return false;
  if (path.find_first_of(L"*?") != std::wstring::npos) return false;
  // No other separator, no stream (":stream", "::$DATA") and nothing a name
  // cannot hold.
  if (path.find_first_of(L"/<>\"|") != std::wstring::npos) return false;
  if (path.find(L':', 2) != std::wstring::npos) return false;
  for (wchar_t c : path) {
    if (c < 0x20) return false;
  }
  size_t rest;  // where the part below the root begins
  if (path.size() > 3 && IsLetter(path[0]) && path[1] == L':' && path[2] == L'\\') {
    rest = 3;
  } else if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\') {
    size_t server = path.find(L'\\', 2);
    if (server == std::wstring::npos || server == 2) return false;
    if (path.compare(2, server - 2, L".") == 0) return false;  // device namespace
    size_t share = path.find(L'\\', server + 1);
    if (share == std::wstring::npos || share == server + 1) return false;
    rest = share + 1;
  } else {
    return false;
  }
  // Every part below the root is a plain name: no empty, "." or ".." part.
  size_t start = rest;
  for (;;) {
    size_t end = path.find(L'\\', start);
    std::wstring part = path.substr(start, end == std::wstring::npos ? end : end - start);
    if (part.empty() || part == L"." || part == L"..") return false;
    if (end == std::wstring::npos) return true;
    start = end + 1;
  }
}

// True when another program holds the file or folder open without letting
// it be deleted: the shell could not move it, and Wine's shell would then
// offer to delete it for good instead (a question with no good answer).
bool InUse(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), DELETE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
  CloseHandle(h);
  return false;
}

// Hands one path to the shell; true when it went to the Recycle Bin (or, after
// the user agreed, was deleted for good).
bool Recycle(const std::wstring& path) {
  std::wstring from = path;
  from.push_back(L'\0');  // the list ends in a double null
  SHFILEOPSTRUCTW op = {};
  op.hwnd = GetActiveWindow();  // so a question from the shell is the program's
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = purgix::kRecycleFlags;
  int result = SHFileOperationW(&op);
  // A "no" to the shell's question is reported through the aborted flag
  // with a result of 0.
  return result == 0 && !op.fAnyOperationsAborted;
}

void RecycleListed() {
  std::wstring folder = ProgramFolder();
  if (folder.empty()) return;
  std::string bytes;
  if (!ReadWholeFile(folder + L"FList.txt", bytes)) return;
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
  scourly::win32::LinkCheck links;

  size_t start = 0;
  while (start < bytes.size()) {
    size_t nl = bytes.find('\n', start);
    size_t end = nl == std::string::npos ? bytes.size() : nl;
    std::string line = bytes.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();

    std::wstring path;
    if (!FromWtf8(line, path)) continue;
    if (path.size() > 1 && path.back() == L'\\') path.pop_back();  // a folder written as "x\"
    if (!IsSafePath(path)) continue;
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;  // names nothing
    if (ThroughLink(links, path)) continue;
    if (InUse(path)) continue;  // stays, as the program's warning told the user
    // Whatever the outcome, the next line goes on: a path that stays is what
    // the program's warning told the user of.
    Recycle(path);
  }
}

}  // namespace

// The export the program calls; no arguments, no result. The outcome of each
// path is left on disk: a path that could not be recycled simply stays.
// Nothing may unwind into the caller, which is another module: an error
// (out of memory) ends the run and leaves the remaining lines alone.
extern "C" void doDELETE() noexcept {
  try {
    RecycleListed();
  } catch (...) {
  }
}
