// File system services the scanners, the settings file and deletion need.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/errors.h"

namespace scourly {

// Attribute bits as a folder listing reports them.
enum FileAttribute : uint32_t {
  kAttrReadOnly = 0x1,
  kAttrHidden = 0x2,
  kAttrSystem = 0x4,
  kAttrVolumeLabel = 0x8,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrNormal = 0x80,
  kAttrTemporary = 0x100,
  kAttrSparse = 0x200,
  kAttrReparsePoint = 0x400,
  kAttrCompressed = 0x800,
  kAttrOffline = 0x1000,
  kAttrNotIndexed = 0x2000,
  kAttrEncrypted = 0x4000,
};

// One entry of a folder listing. Names are UTF-8 long names.
struct FindEntry {
  std::string name;
  uint32_t attributes = 0;
  uint64_t size = 0;       // full 64-bit size
  uint64_t lastWrite = 0;  // FILETIME ticks (100 ns since 1601), UTC
};

// An open folder listing; closes itself when destroyed.
class FolderListing {
 public:
  virtual ~FolderListing() = default;
  // Fills `entry` with the next entry in the platform's listing order;
  // false when the listing is exhausted.
  virtual bool Next(FindEntry& entry) = 0;
};

// What a path names now, as an opened item reports it.
struct ItemStat {
  uint32_t attributes = 0;
  uint64_t size = 0;
  uint64_t lastWrite = 0;  // FILETIME ticks, UTC
  // The path does not lead straight to the item: the item is a reparse point
  // (junction, symbolic link, mount point), a folder on its way is one, or
  // the item turns out to live somewhere else than the path says (a link the
  // platform shows as a plain file).
  bool link = false;
  // Who the item is, for telling two listed paths of one item apart from two
  // items: the path it really has (every link, short 8.3 name and case
  // variant resolved, upper-cased as the file system compares names) and the
  // file system's number for it. Two paths name one item when both are
  // equal; a hard link has a path of its own. Empty and 0 when unknown; a
  // look (ItemOpener::Look) leaves the number 0, and gives a path only where
  // no other item can have it.
  std::string finalPath;
  uint64_t fileId = 0;
};

// A file or folder opened by its exact path, the final link not followed;
// closed when destroyed.
class OpenedItem {
 public:
  virtual ~OpenedItem() = default;
  // False when the platform cannot tell.
  virtual bool Stat(ItemStat& stat) = 0;
  // Deletes the opened file for good (this very file, whatever happens to its
  // path meanwhile); attributes are not changed first, so a read-only file
  // stays, and a folder is never deleted. Needs the item opened for
  // deletion. Returns 0 or the error code.
  virtual uint32_t Delete() = 0;
};

// Opens items for one run of checks (one deletion): what it learns of the
// folders on the way is reused for every item of the run, and forgotten with
// it, so a folder replaced between two runs is looked at afresh.
class ItemOpener {
 public:
  virtual ~ItemOpener() = default;
  // Opens the item at exactly `path` (`forDelete`: with the right to delete
  // it). Null with `error` set when it cannot be opened: kErrorFileNotFound
  // or kErrorPathNotFound when nothing is there, kErrorSharingViolation when
  // another program holds it.
  virtual std::unique_ptr<OpenedItem> Open(const std::string& path, bool forDelete,
                                           uint32_t& error) = 0;

  // What `path` names now, told without opening the item where the platform
  // can (opening costs far more): a file's attributes, size and time, `link`
  // when it is a reparse point or a folder on its way is one, and its final
  // path from its folder's and its name. Blind to a link the platform shows
  // as a plain file, so only for a look that something else follows up by
  // opening the item before it goes. kOpen when only opening tells (a
  // folder, a name that may be a short alias, ...).
  enum class Glance : uint8_t { kSeen, kMissing, kOpen };
  virtual Glance Look(const std::string& path, ItemStat& stat) = 0;
};

// A file opened to have bytes added at its end (created when missing);
// closed when destroyed.
class AppendingFile {
 public:
  virtual ~AppendingFile() = default;
  // The file's size in bytes, as written so far.
  virtual uint64_t Size() = 0;
  // Writes `bytes` at the end. Returns 0 or the system error code.
  virtual uint32_t Append(const std::string& bytes) = 0;
};

enum class DriveType {
  kUnknown = 0,
  kNoRootDir = 1,
  kRemovable = 2,
  kFixed = 3,
  kRemote = 4,
  kCdRom = 5,
  kRamDisk = 6,
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Lists every entry of `folder` (a path without a trailing backslash, "C:"
  // for a drive root), "." and ".." included where the platform reports them.
  // No wildcard matching happens here: callers match names themselves, so a
  // mask can never hit a file through its 8.3 alias. Returns null when the
  // folder cannot be listed (missing, not ready, access denied).
  virtual std::unique_ptr<FolderListing> ListFolder(const std::string& folder) = 0;

  virtual DriveType DriveTypeOf(const std::string& root) = 0;  // root like "C:\"

  // The Windows temporary folder, ending in a backslash; any length.
  virtual std::string TempPath() = 0;

  // The folder of the running executable, ending in a backslash.
  virtual std::string ProgramFolder() = 0;

  virtual bool FileExists(const std::string& path) = 0;

  // A find-first search for exactly `path` (no wildcards of the caller's,
  // every attribute accepted) finds an entry. A drive root ("C:\") finds
  // none, as the platform's search never reports a root itself.
  virtual bool FindFirstFinds(const std::string& path) = 0;

  // Whole-file read; false when the file cannot be opened or read.
  virtual bool ReadFile(const std::string& path, std::string& bytes) = 0;

  // Creates or truncates `path` and writes `bytes`; returns 0 on success or
  // the system error code.
  virtual uint32_t WriteFile(const std::string& path, const std::string& bytes) = 0;

  // Writes `bytes` to a new file beside `path` and then puts it in the
  // place of `path`, so that `path` holds either its old content or all of
  // the new one, never a part. Returns 0 or the system error code.
  virtual uint32_t WriteFileSafely(const std::string& path, const std::string& bytes) = 0;

  // A new opener for one run of item checks.
  virtual std::unique_ptr<ItemOpener> NewItemOpener() = 0;

  // The services below have answers for file systems that cannot give them
  // (test doubles that only list folders).

  // Opens `path` for appending, creating it when missing; null with `error`
  // set when it cannot be opened.
  virtual std::unique_ptr<AppendingFile> OpenForAppend(const std::string& path,
                                                       uint32_t& error) {
    (void)path;
    error = kErrorNotSupported;
    return nullptr;
  }

  // Renames the file `from` to `to`, replacing a file already there.
  // Returns 0 or the system error code.
  virtual uint32_t MoveReplacing(const std::string& from, const std::string& to) {
    (void)from;
    (void)to;
    return kErrorNotSupported;
  }

  // `path` with every short (8.3) part in its long form, as the platform
  // spells the parts; nothing when the item is not there.
  virtual std::optional<std::string> LongPathName(const std::string& path) {
    (void)path;
    return std::nullopt;
  }
};

}  // namespace scourly
