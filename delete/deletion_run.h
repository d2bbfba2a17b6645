// One deletion: the items of one command, each checked right before it goes
// and handed over at most once. Every deletion path (the file tabs' three
// commands, "Clear Now", and anything added later) runs through here, so the
// same guarantees hold on every tab:
//  - an item must still be what was listed (kind, size, time), through no
//    link, at its exact path ("\\?\" form): a permanent run opens it and
//    deletes it through that handle; a Recycle Bin run looks at a file by its
//    path where the system can tell (Purgix.dll opens each item again right
//    before the shell gets it, and refuses a link that look could not see);
//  - two listed paths of one item (compared by the item's final path: a
//    short 8.3 form, another case) are one item: the second is never
//    deleted or checked again and shares the first one's outcome; its line
//    stays in the hand-off file (one line per row), and Purgix.dll hands
//    the item to the shell once;
//  - a folder is never handed over whole when it is a drive root or one of
//    the system's folders, or holds one (delete/protected_folders.h);
//  - a path the shell would read as another item is never handed to it;
//  - nothing the keep list keeps goes, nor a folder holding a kept item;
//  - after the Recycle Bin hand-off each item is looked at again: it is gone,
//    or it stays with its reason.
// TakeAt() is the one place an item is checked; Outcome() the one place its
// outcome is known, and each item's final outcome is written to the deletion
// log as soon as it is known.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "delete/deletion_log.h"
#include "delete/protected_folders.h"
#include "options/keep_list.h"
#include "platform/platform.h"

namespace scourly {

// Why a listed item is still on disk after a deletion.
enum class StayReason {
  kChanged,      // no longer what was listed (another kind, size or time)
  kLink,         // its path leads through a link
  kInUse,        // another program holds it
  kNotRecycled,  // the Recycle Bin did not take it
  kNotDeleted,   // it could not be deleted (read-only, a folder, access denied)
  kShellName,    // a name the Recycle Bin's hand-off would read as another item
  kProtected,    // a folder that is never handed over whole (see `detail`)
  kKept,         // the user keeps it (or something in it) since the scan
};

struct StayedItem {
  std::string path;
  StayReason reason;
  std::string detail = {};  // kProtected: what the folder is
};

// The one text of a reason, as messages show it after the path.
std::string ReasonText(const StayedItem& item);
inline std::string ReasonText(StayReason reason) { return ReasonText(StayedItem{{}, reason}); }

// "FList.txt" beside the program, as Purgix.dll reads it: one exact path per
// line (WTF-8), each ended by CR LF. Every hand-off goes through this one
// writer.
inline constexpr const char* kHandOffFileName = "FList.txt";

class HandOffList {
 public:
  void Add(const std::string& path) { text_.append(path).append("\r\n"); }
  bool Empty() const { return text_.empty(); }
  const std::string& Text() const { return text_; }
  // Creates or empties the file and writes the paths. Returns 0 or the
  // system error code.
  uint32_t Write(FileSystem& fs) const;

 private:
  std::string text_;
};

// What a command expects to find at a listed path.
struct Expected {
  enum class Kind : uint8_t { kFile, kFolder, kEither };
  Kind kind = Kind::kEither;
  // A file's size and last-write time as listed; not compared when absent.
  std::optional<uint64_t> size;
  std::optional<uint64_t> lastWrite;
  // A hidden or system item counts as not there (a cache folder must be
  // visible to be one).
  bool visibleOnly = false;
};

class DeletionRun {
 public:
  // The outcome of one taken item.
  enum class Fate : uint8_t {
    kAbsent,      // nothing was there to delete
    kGone,        // deleted, or moved to the Recycle Bin
    kStays,       // still on disk; why in StayedOf()
    kHandedOver,  // in the hand-off, until Settle()
  };

  // `keep`: what is never deleted (null: nothing); `log`: where each item's
  // outcome is written (null: nowhere).
  DeletionRun(Platform& platform, bool permanent, const KeepFilter* keep = nullptr,
              DeletionLog* log = nullptr);
  DeletionRun(const DeletionRun&) = delete;
  DeletionRun& operator=(const DeletionRun&) = delete;

  // Checks the item at `path` against `expected` and the rules above; a
  // permanent run deletes it through the handle it checked, a Recycle Bin
  // run adds it to the hand-off. Returns the item's number in this run.
  size_t Take(const std::string& path, const Expected& expected);

  // Takes `count` items, `item(i)` naming the i-th, numbered on from the
  // items taken so far (the number of the first is returned). Many items are
  // checked (and, in a permanent run, deleted) on every core at once: each
  // check is a few calls into the system, most of them waiting. The outcome
  // is that of taking them one by one, but for which of two paths of one
  // item comes first, and the order of the log's lines. `item` is called on
  // any of those threads and may read only what does not change meanwhile.
  using ItemSource = std::function<std::pair<std::string, Expected>(size_t i)>;
  size_t TakeMany(size_t count, const ItemSource& item);

  // The hand-off: one line per handed-over item in the order taken, and one
  // for a second path of such an item.
  const HandOffList& HandOff() const;
  // After the library has run: where each handed-over item stands now.
  void Settle();

  // The outcome of item `n` (a second path of an item shares the first's).
  Fate Outcome(size_t n) const { return items_[Original(n)].fate; }
  // Why item `n` stays; nothing when it did not stay, or when it is a
  // second path of an item (the first one is named instead).
  std::optional<StayedItem> StayedOf(size_t n) const;
  // Why item `n` stays, a second path of an item included; only for an item
  // whose outcome is kStays.
  const StayedItem& WhyStays(size_t n) const { return items_[Original(n)].stayed; }
  // The items that stay, each named once, in the order they were taken.
  std::vector<StayedItem> Stayed() const;

 private:
  struct Item {
    std::string path;
    Fate fate = Fate::kAbsent;
    StayedItem stayed{};
    std::optional<size_t> twinOf;  // an earlier item this one is a second path of
    std::optional<uint64_t> size;  // a file's, for the log
  };
  size_t Original(size_t n) const { return items_[n].twinOf.value_or(n); }
  // Item `n` (already in items_) checked with `opener`. `shared` guards what
  // items share (who they are, the guard, the log) while other threads take
  // items too; null when this thread is alone.
  void TakeAt(size_t n, const Expected& expected, ItemOpener& opener, std::mutex* shared);
  void Stay(size_t n, StayReason reason, std::mutex* shared, std::string detail = {});
  void Gone(size_t n, std::mutex* shared);
  void Log(size_t n, std::mutex* shared) const;
  // Runs `work(i, opener)` for i in [begin, end) on every core, each thread
  // with an opener of its own; on this thread alone when there are few.
  void ForEach(size_t begin, size_t end,
               const std::function<void(size_t, ItemOpener&, std::mutex*)>& work);

  Platform& platform_;
  const bool permanent_;
  const KeepFilter* keep_;
  DeletionLog* log_;
  std::unique_ptr<ItemOpener> opener_;
  FolderGuard guard_;
  std::vector<Item> items_;
  // Items taken so far by who they are: final path, and file number where
  // the final path may be another item's (shellpath::HasLooseName).
  std::map<std::pair<std::string, uint64_t>, size_t> byIdentity_;
  mutable HandOffList handOff_;
  mutable size_t handOffThrough_ = 0;  // items_ already written to handOff_
};

// Where a path handed to Purgix.dll stands once the library has run: nothing
// when it is gone, else why it stayed (kLink, kInUse or kNotRecycled).
std::optional<StayReason> StayedAfterHandOff(ItemOpener& opener, const std::string& path);

}  // namespace scourly
