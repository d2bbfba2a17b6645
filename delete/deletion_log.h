// The deletion log "deleted.log" beside the program: one line for every item a
// deletion acted on, once its outcome is known. UTF-8 (a byte order mark
// opens a new file), lines ended by CR LF, five fields separated by tabs:
//   the UTC time, ISO 8601 to the second ("2024-03-15T12:00:00Z");
//   how the item went: "recycle", "permanent" or "cache";
//   its size in bytes, or "-" when it has none of its own (a folder, a typed
//   address);
//   its full path, or its URL;
//   "deleted", or "stayed: " and the reason the user was shown.
// A tab or line break inside a field is written as \t or \n (Windows names
// hold neither, so only URLs and typed addresses ever need it; a backslash is
// written as it stands, as paths are full of them). A file that has
// grown over 10 MB becomes "deleted.log.1" (replacing an older one) before
// the next line is written.
//
// A log that cannot be written never holds a deletion up: the first failure
// is remembered, and the command that deleted tells the user once, after it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/filesystem.h"

namespace scourly {

inline constexpr const char* kDeletionLogName = "deleted.log";
inline constexpr const char* kDeletionLogOldName = "deleted.log.1";
inline constexpr uint64_t kDeletionLogLimit = 10ull * 1024 * 1024;

enum class DeletionWay { kRecycle, kPermanent, kCache };

// One item a deletion acted on.
struct LoggedItem {
  DeletionWay way = DeletionWay::kRecycle;
  std::optional<uint64_t> size;  // none: "-"
  std::string path;              // or the URL
  std::optional<std::string> stayedReason;  // none: deleted
};

// The line of `item` at `unixSeconds` (seconds since 1970-01-01 UTC), CR LF
// included.
std::string DeletionLogLine(int64_t unixSeconds, const LoggedItem& item);

// `unixSeconds` as "YYYY-MM-DDThh:mm:ssZ".
std::string IsoUtcText(int64_t unixSeconds);

class DeletionLog {
 public:
  using Clock = std::function<int64_t()>;  // seconds since 1970-01-01 UTC

  // The log beside the program of `fs`; `clock` gives the time of each line
  // (the system's clock when empty).
  explicit DeletionLog(FileSystem& fs, Clock clock = {});
  DeletionLog(const DeletionLog&) = delete;
  DeletionLog& operator=(const DeletionLog&) = delete;

  std::string Path() const;

  // Writes the item's line. A failure is remembered, never thrown.
  void Write(const LoggedItem& item);
  void Deleted(DeletionWay way, std::optional<uint64_t> size, const std::string& path) {
    Write({way, size, path, std::nullopt});
  }
  void Stayed(DeletionWay way, std::optional<uint64_t> size, const std::string& path,
              const std::string& reason) {
    Write({way, size, path, reason});
  }

  // Ends a command's writing: closes the file and returns what to tell the
  // user when a line could not be written (empty when all went well).
  std::string Finish();

 private:
  // Opens the file for the next line, moving a full one aside first; false
  // when it cannot be opened.
  bool Ready();
  void Failed(uint32_t error);

  FileSystem& fs_;
  Clock clock_;
  std::unique_ptr<AppendingFile> file_;
  uint32_t firstError_ = 0;
  int lost_ = 0;  // lines not written since the last Finish
  bool rotationFailed_ = false;  // a full log could not be moved aside: append to it
  uint32_t rotationError_ = 0;
};

}  // namespace scourly
