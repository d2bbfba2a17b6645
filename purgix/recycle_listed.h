// What Purgix.dll does with the text of "FList.txt": each line checked, the
// lines that pass handed to the shell in batches (purgix/batches.h). A header,
// so the benchmark runs the library's own code with one path per call beside
// the batched one.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>
#include <string>
#include <utility>
#include <vector>

#include "delete/shell_path.h"
#include "platform/win32/win32_paths.h"
#include "platform/win32/win32_util.h"
#include "platform/wtf8.h"
#include "purgix/batches.h"
#include "purgix/recycle_flags.h"

namespace purgix {

// The shell's list holds at most this many characters (128 KB): a few
// hundred paths per call, and never one giant buffer.
inline constexpr size_t kBatchChars = 64 * 1024;

namespace detail {

// Strict WTF-8 to UTF-16; false for bytes that are not WTF-8.
inline bool FromWtf8(const std::string& line, std::wstring& wide) {
  std::u16string units;
  if (line.empty() || !scourly::wtf8::ToUtf16(line, units)) return false;
  wide.assign(units.begin(), units.end());
  return true;
}

// True when `path` names one file or folder by a fully qualified path below a
// drive root ("C:\x") or a share ("\\server\share\x") that the shell's parse
// leaves as it is: no wildcard, stream, "." or ".." part, no name ending in a
// space or a dot, no device name, and short of the classic limit.
inline bool IsSafePath(const std::wstring& path) {
  return scourly::shellpath::Judge(path) == scourly::shellpath::Verdict::kTakes;
}

// Whether `path` may go to the shell now: it names something, leads through
// no link, and no other program holds it open without letting it be deleted
// (the shell could not move it, and Wine's shell would then offer to delete
// it for good instead, a question with no good answer; it stays, as the
// program's warning told the user). One opening answers all three, and tells
// who the item is (`facts`: identity and number, no size or time).
inline bool MayGo(scourly::win32::LinkCheck& links, const std::wstring& path,
                  scourly::win32::ItemFacts& facts) {
  scourly::UniqueHandle item(scourly::win32::OpenExact(path, true));
  if (!item.valid()) return false;
  return links.Leads(item.get(), path, facts) && !facts.link;
}

inline bool MayGo(scourly::win32::LinkCheck& links, const std::wstring& path) {
  scourly::win32::ItemFacts facts;
  return MayGo(links, path, facts);
}

// Windows this thread creates while the shell runs: a question it asks.
// Counted by a hook on the thread, since the shell reports a "No" only as an
// aborted operation, like other aborts.
inline thread_local unsigned windowsCreated = 0;
// Nobody is there to answer (the command line): the hook refuses to let the
// window be made, and the shell takes the question it could not ask as "No".
inline thread_local bool refuseWindows = false;

inline LRESULT CALLBACK CountCreatedWindows(int code, WPARAM w, LPARAM l) {
  if (code == HCBT_CREATEWND) {
    ++windowsCreated;
    if (refuseWindows) return 1;
  }
  return CallNextHookEx(nullptr, code, w, l);
}

// Whether the Recycle Bin of `path`'s drive can take it at all. Only fixed
// drives have one: from a removable or network drive the shell deletes for
// good (after its question), so unattended such a path is not handed over.
inline bool OnFixedDrive(const std::wstring& path) {
  if (path.size() < 3 || path[1] != L':' || path[2] != L'\\') return false;
  const wchar_t root[] = {path[0], L':', L'\\', L'\0'};
  return GetDriveTypeW(root) == DRIVE_FIXED;
}

class WindowCounter {
 public:
  WindowCounter()
      : hook_(SetWindowsHookExW(WH_CBT, CountCreatedWindows, nullptr, GetCurrentThreadId())) {}
  ~WindowCounter() {
    if (hook_) UnhookWindowsHookEx(hook_);
  }
  WindowCounter(const WindowCounter&) = delete;
  WindowCounter& operator=(const WindowCounter&) = delete;

 private:
  HHOOK hook_;
};

// One call of the shell on `paths`.
inline BatchOutcome Recycle(const std::vector<const std::wstring*>& paths) {
  std::wstring from;
  size_t chars = 1;
  for (const std::wstring* path : paths) chars += path->size() + 1;
  from.reserve(chars);
  for (const std::wstring* path : paths) from.append(*path).push_back(L'\0');
  from.push_back(L'\0');  // the list ends in a double null
  SHFILEOPSTRUCTW op = {};
  // So a question from the shell is the program's (none when unattended).
  op.hwnd = refuseWindows ? nullptr : GetActiveWindow();
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = kRecycleFlags;
  const unsigned before = windowsCreated;
  int result = SHFileOperationW(&op);
  // A "no" to the shell's question is reported through the aborted flag
  // with a result of 0.
  return BatchOutcome{result == 0 && !op.fAnyOperationsAborted, windowsCreated != before};
}

// The lines of the hand-off that may go (see RecycleListed), in order, each
// checked on a thread of its own at most `ahead` characters of paths (one
// batch) before it is taken. `unattended`: only paths on fixed drives.
class CheckedLines {
 public:
  CheckedLines(std::string text, size_t ahead, bool unattended)
      : text_(std::move(text)), ahead_(ahead), unattended_(unattended) {
    try {
      checker_ = std::thread([this] { Check(); });
    } catch (const std::system_error&) {
      alone_ = true;  // no thread to be had: each line is checked when taken
    }
  }
  ~CheckedLines() {
    {
      std::lock_guard<std::mutex> hold(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    if (checker_.joinable()) checker_.join();
  }
  CheckedLines(const CheckedLines&) = delete;
  CheckedLines& operator=(const CheckedLines&) = delete;

  // The next line that may go; false when there are no more. What the
  // checks threw is thrown here.
  bool Next(std::wstring& path) {
    if (alone_) {
      while (start_ < text_.size()) {
        if (CheckLine(path)) return true;
      }
      return false;
    }
    std::unique_lock<std::mutex> hold(mutex_);
    changed_.wait(hold, [this] { return !ready_.empty() || done_; });
    if (error_) std::rethrow_exception(error_);
    if (ready_.empty()) return false;
    path = std::move(ready_.front());
    ready_.pop_front();
    readyChars_ -= path.size() + 1;
    changed_.notify_all();
    return true;
  }

 private:
  void Check() {
    try {
      std::wstring path;
      while (start_ < text_.size()) {
        if (!CheckLine(path)) continue;
        std::unique_lock<std::mutex> hold(mutex_);
        changed_.wait(hold, [this] { return readyChars_ < ahead_ || stopping_; });
        if (stopping_) break;
        readyChars_ += path.size() + 1;
        ready_.push_back(std::move(path));
        changed_.notify_all();
      }
    } catch (...) {
      std::lock_guard<std::mutex> hold(mutex_);
      error_ = std::current_exception();
    }
    std::lock_guard<std::mutex> hold(mutex_);
    done_ = true;
    changed_.notify_all();
  }

  // Reads the next line; true when it may go (its path in `path`).
  bool CheckLine(std::wstring& path) {
    size_t nl = text_.find('\n', start_);
    size_t end = nl == std::string::npos ? text_.size() : nl;
    std::string line = text_.substr(start_, end - start_);
    start_ = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!FromWtf8(line, path)) return false;
    if (path.size() > 1 && path.back() == L'\\') path.pop_back();  // a folder written as "x\"
    scourly::win32::ItemFacts facts;
    if (!IsSafePath(path) || !MayGo(links_, path, facts)) return false;
    if (unattended_ && !OnFixedDrive(path)) return false;
    return facts.identity.empty() || handed_.insert({facts.identity, facts.fileId}).second;
  }

  const std::string text_;
  const size_t ahead_;
  const bool unattended_;
  size_t start_ = 0;
  scourly::win32::LinkCheck links_;
  std::set<std::pair<std::wstring, uint64_t>> handed_;  // who each handed item is (Leads)
  bool alone_ = false;
  std::thread checker_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::wstring> ready_;
  size_t readyChars_ = 0;
  bool done_ = false;
  bool stopping_ = false;
  std::exception_ptr error_;
};

}  // namespace detail

// Moves what the lines of `text` (the hand-off file, UTF-8/WTF-8, CR LF or
// LF, an optional byte order mark) name to the Recycle Bin, at most
// `maxChars` characters of paths per call of the shell. A line is handed over
// only when it names exactly one existing file or folder by a fully
// qualified path, through no link, held by nobody, and once: a second line
// for an item already handed over (the same path, another case, a short 8.3
// form) is left out, or the shell, finding it gone, would ask the user in
// the middle of the batch. Each is checked at most one batch before it goes
// (CheckedLines). `unattended`: nothing is ever shown; a path the Recycle Bin cannot take
// stays (only paths on fixed drives are handed over, and the shell's
// question is refused, which it takes as "No").
// Returns the number of shell calls.
inline size_t RecycleListed(std::string text, size_t maxChars, bool unattended = false) {
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  detail::WindowCounter counter;
  detail::refuseWindows = unattended;
  struct Reset {
    ~Reset() { detail::refuseWindows = false; }
  } reset;
  // The checks of the next batch run on a thread of their own while the
  // shell moves this one: each path is still checked right before its batch
  // goes, at most one batch ahead. Retries of a failed batch check again
  // here, with links of their own (a LinkCheck is one thread's).
  scourly::win32::LinkCheck retryLinks;
  BatchShell shell{[&retryLinks](const std::wstring& path) { return detail::MayGo(retryLinks, path); },
                   &detail::Recycle};
  Batches batches(shell, maxChars, unattended);
  detail::CheckedLines checked(std::move(text), maxChars, unattended);
  for (std::wstring path; checked.Next(path);) batches.Add(std::move(path));
  batches.Flush();
  return batches.calls();
}

}  // namespace purgix
