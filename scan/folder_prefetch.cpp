#include "scan/folder_prefetch.h"

#include "scan/walkers.h"

namespace scourly {

FolderPrefetch::FolderPrefetch(FileSystem& fs, unsigned workers, uint32_t shownSet, Plan plan,
                               size_t maxBuffered)
    : fs_(fs), shownSet_(shownSet), plan_(std::move(plan)), maxBuffered_(maxBuffered) {
  workers_.reserve(workers);
  for (unsigned i = 0; i < workers; ++i) workers_.emplace_back([this] { Work(); });
}

FolderPrefetch::~FolderPrefetch() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  workAvailable_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

PrefetchFolder& FolderPrefetch::Start(std::string path, uint32_t tag) {
  std::lock_guard<std::mutex> lock(mutex_);
  PrefetchFolder& folder = folders_.emplace_back();
  folder.path = std::move(path);
  folder.tag = tag;
  stack_.push_back(&folder);
  workAvailable_.notify_one();
  return folder;
}

void FolderPrefetch::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  std::vector<PlannedFolder> planned;
  for (;;) {
    workAvailable_.wait(lock, [this] {
      return stopping_ || (!stack_.empty() && buffered_ < maxBuffered_);
    });
    if (stopping_) return;
    PrefetchFolder* next = NextQueued();
    if (!next) continue;  // the walk listed them itself
    PrefetchFolder& folder = *next;
    try {
      Take(folder);
      lock.unlock();
      planned.clear();
      List(folder, planned);
      lock.lock();
      Finish(folder, planned);
    } catch (...) {
      // What goes wrong around a listing (memory running out while the
      // subfolders are queued) would end the whole program on this thread:
      // the walk's thread gets it instead, the next time it waits, and
      // reports it as it reports any error of its own. This worker stops.
      if (!lock.owns_lock()) lock.lock();
      if (!workerError_) workerError_ = std::current_exception();
      awaitedListed_.notify_all();
      return;
    }
  }
}

void FolderPrefetch::Take(PrefetchFolder& folder) {
  folder.state = PrefetchFolder::State::kTaken;
  // Its entries go into a buffer an earlier folder gave back: a walk of a
  // big drive then allocates a few hundred of them instead of one per
  // folder, which some heaps (Wine's) get slower at as the program's memory
  // fragments over repeated scans.
  if (!spare_.empty()) {
    folder.entries = std::move(spare_.back());
    spare_.pop_back();
  }
}

bool FolderPrefetch::Pace::Due() {
  if (goOn && Elapsed()) {
    goOn = waiting();
    last = std::chrono::steady_clock::now();
  }
  return goOn;
}

void FolderPrefetch::List(PrefetchFolder& folder, std::vector<PlannedFolder>& planned, Pace* pace) {
  try {
    if (auto listing = fs_.ListFolder(folder.path)) {
      folder.listed = true;
      FindEntry e;
      // A stop ends a big listing early; nobody will read it then.
      for (size_t n = 1; !stopping_.load(std::memory_order_relaxed) && listing->Next(e); ++n) {
        if (ShownByListing(e.attributes, shownSet_)) folder.entries.push_back(std::move(e));
        if (pace && n % 64 == 0 && !pace->Due()) {
          folder.listed = false;
          folder.entries.clear();
          break;
        }
      }
    }
    plan_(folder, planned);
  } catch (...) {
    folder.error = std::current_exception();
  }
}

void FolderPrefetch::Finish(PrefetchFolder& folder, std::vector<PlannedFolder>& planned) {
  if (folder.listed) ++listings_;
  folder.children.reserve(planned.size());
  for (PlannedFolder& p : planned) {
    PrefetchFolder& child = folders_.emplace_back();
    child.path = std::move(p.path);
    child.tag = p.tag;
    folder.children.push_back(&child);
  }
  // The first subfolder on top: the walk enters them in order, depth first.
  for (auto it = folder.children.rbegin(); it != folder.children.rend(); ++it)
    stack_.push_back(*it);
  folder.state = PrefetchFolder::State::kDone;
  ++buffered_;
  if (&folder == awaited_) awaitedListed_.notify_one();
  if (!planned.empty()) workAvailable_.notify_all();
}

PrefetchFolder* FolderPrefetch::NextQueued() {
  while (!stack_.empty()) {
    PrefetchFolder* folder = stack_.back();
    stack_.pop_back();
    if (folder->state == PrefetchFolder::State::kQueued) return folder;
  }
  return nullptr;
}

bool FolderPrefetch::Await(PrefetchFolder& folder, const std::function<bool()>& waiting,
                           std::chrono::milliseconds slice) {
  std::unique_lock<std::mutex> lock(mutex_);
  Pace pace{waiting, slice};
  std::vector<PlannedFolder> planned;
  while (folder.state != PrefetchFolder::State::kDone) {
    if (workerError_) std::rethrow_exception(workerError_);
    // The folder itself if nobody has taken it, else the next one queued: a
    // thread that lists never sleeps, and sleeping and waking again costs
    // more than a listing on a busy machine.
    PrefetchFolder* next = folder.state == PrefetchFolder::State::kQueued ? &folder
                           : buffered_ < maxBuffered_                    ? NextQueued()
                                                                         : nullptr;
    if (next) {
      Take(*next);
      lock.unlock();
      planned.clear();
      List(*next, planned, &pace);
      lock.lock();
      Finish(*next, planned);
    } else {
      awaited_ = &folder;
      awaitedListed_.wait_for(lock, slice);
      awaited_ = nullptr;
    }
    if (!pace.goOn) return false;
    if (folder.state == PrefetchFolder::State::kDone) break;
    if (!pace.Elapsed()) continue;
    lock.unlock();
    const bool goOn = pace.Due();
    lock.lock();
    if (!goOn) return false;
  }
  if (folder.error) std::rethrow_exception(folder.error);
  return true;
}

void FolderPrefetch::Release(PrefetchFolder& folder) {
  std::lock_guard<std::mutex> lock(mutex_);
  folder.entries.clear();
  if (spare_.size() < kSpareBuffers && folder.entries.capacity() > 0)
    spare_.push_back(std::move(folder.entries));
  std::vector<FindEntry>().swap(folder.entries);
  std::string().swap(folder.path);
  if (buffered_ > 0 && buffered_-- == maxBuffered_) workAvailable_.notify_all();
}

size_t FolderPrefetch::listings() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return listings_;
}

}  // namespace scourly
