// Folder listings made ahead of a walk, on worker threads.
//
// Listing a folder is where a drive walk spends its time, and the platform
// lists several folders at once about as fast as one. A walk that must emit
// its rows in one fixed order (the order of a walk on one thread) can still
// have its folders listed in parallel: workers list folders as soon as their
// parent's listing names them, and the walk, on its own thread, takes each
// listing when its turn comes. Only listing happens on the workers; every
// row, every progress report and every test of the stop flag stays on the
// walk's thread, so the walk's results cannot depend on timing.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/filesystem.h"

namespace scourly {

// One folder of the walk: what the walk wants of it and, once listed, what
// the listing showed.
struct PrefetchFolder {
  std::string path;  // no trailing backslash
  uint32_t tag = 0;  // the walk's own notes (which walks enter it)

  // Set once listed (see FolderPrefetch::Await).
  bool listed = false;             // false: the folder could not be listed
  std::vector<FindEntry> entries;  // the shown entries, in listing order
  // The subfolders the walk will enter, in the order it enters them.
  std::vector<PrefetchFolder*> children;

 private:
  friend class FolderPrefetch;
  enum class State : uint8_t { kQueued, kTaken, kDone };
  State state = State::kQueued;
  std::exception_ptr error;
};

// A subfolder the walk will enter: its path and the walk's notes.
struct PlannedFolder {
  std::string path;
  uint32_t tag = 0;
};

class FolderPrefetch {
 public:
  // Which subfolders of a listed folder the walk will enter, in order. Runs
  // on any thread; it may read only its arguments.
  using Plan = std::function<void(const PrefetchFolder& folder, std::vector<PlannedFolder>& out)>;

  // `workers` threads list folders besides the walk's own, which lists too
  // whenever it would otherwise wait; `shownSet` is the listing's attribute set
  // (entries it would hide are dropped); `maxBuffered` bounds the listings
  // made ahead and not yet taken.
  FolderPrefetch(FileSystem& fs, unsigned workers, uint32_t shownSet, Plan plan,
                 size_t maxBuffered = 4096);
  // Stops the workers (each within one entry of its listing) and waits for
  // them.
  ~FolderPrefetch();
  FolderPrefetch(const FolderPrefetch&) = delete;
  FolderPrefetch& operator=(const FolderPrefetch&) = delete;

  // The folder the walk starts from; queued for listing at once.
  PrefetchFolder& Start(std::string path, uint32_t tag);

  // Returns when `folder` is listed. When no worker has taken it yet, it is
  // listed on the calling thread; while a worker lists it, the calling thread
  // lists other queued folders. `waiting` runs about every `slice` until
  // then, also in the middle of a big listing on the calling thread (the
  // caller keeps its window answering); when it returns false, Await gives
  // up and returns false. What a listing threw, on any thread, is thrown
  // here.
  bool Await(PrefetchFolder& folder, const std::function<bool()>& waiting,
             std::chrono::milliseconds slice = std::chrono::milliseconds(10));

  // The walk is done with `folder`'s entries.
  void Release(PrefetchFolder& folder);

  // Listings opened, by any thread.
  size_t listings() const;

 private:
  // The calls of Await's `waiting`, on a time budget.
  struct Pace {
    const std::function<bool()>& waiting;
    std::chrono::milliseconds slice;
    std::chrono::steady_clock::time_point last = std::chrono::steady_clock::now();
    bool goOn = true;
    // A slice has passed since the last call.
    bool Elapsed() const { return std::chrono::steady_clock::now() - last >= slice; }
    // Calls `waiting` once Elapsed(); false once it said to give up.
    bool Due();
  };

  void Work();
  // Under the lock: this thread lists `folder` next.
  void Take(PrefetchFolder& folder);
  // Lists `folder`, which this thread has taken, without the lock; `pace`
  // (the walk's thread only) is kept while it lists. A listing `pace` gave
  // up on counts as not listed.
  void List(PrefetchFolder& folder, std::vector<PlannedFolder>& planned, Pace* pace = nullptr);
  // Under the lock: `folder` is listed; its planned subfolders are queued.
  void Finish(PrefetchFolder& folder, std::vector<PlannedFolder>& planned);
  // Under the lock: the next queued folder off the stack, or null.
  PrefetchFolder* NextQueued();

  FileSystem& fs_;
  const uint32_t shownSet_;
  const Plan plan_;
  const size_t maxBuffered_;

  mutable std::mutex mutex_;
  std::condition_variable workAvailable_;  // queued folders, room, or the end
  std::condition_variable awaitedListed_;  // the folder the walk waits for was listed
  PrefetchFolder* awaited_ = nullptr;
  std::deque<PrefetchFolder> folders_;     // every folder of the walk; addresses stay
  std::vector<PrefetchFolder*> stack_;     // queued folders, the next to list on top
  size_t buffered_ = 0;                    // listed, not yet released
  static constexpr size_t kSpareBuffers = 256;
  std::vector<std::vector<FindEntry>> spare_;  // emptied entry buffers, for reuse
  size_t listings_ = 0;
  std::exception_ptr workerError_;  // the first error a worker caught
  std::atomic<bool> stopping_{false};
  std::vector<std::thread> workers_;
};

}  // namespace scourly
