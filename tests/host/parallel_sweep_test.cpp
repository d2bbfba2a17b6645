// The drive sweep with folders listed on worker threads: the same rows, in
// the same order, as the per-mask walks; a stop takes effect at the same
// point whatever the workers do; and the walk's thread keeps pumping while it
// waits for a slow listing.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "platform/fake/fake_windows.h"
#include "scan/folder_prefetch.h"
#include "scan/unneeded_scan.h"

namespace scourly {
namespace {

using fake::FakeWindows;

// Records what a walk reports; stops after `stopAfter` rows.
class Recorder : public WalkObserver {
 public:
  bool Stopped() const override { return stopped; }
  void Found(int64_t count, int64_t bytes, bool countsBytes) override {
    found.push_back({count, bytes, countsBytes});
    if (found.size() == stopAfter) stopped = true;
  }
  void Pump(const std::string& folderText) override {
    pumps.push_back(folderText);
    if (onPump) onPump();
  }

  struct Report {
    int64_t count, bytes;
    bool countsBytes;
    bool operator==(const Report&) const = default;
  };
  std::vector<Report> found;
  std::vector<std::string> pumps;
  size_t stopAfter = 0;  // 0: never
  bool stopped = false;
  std::function<void()> onPump;
};

struct Sweep {
  Recorder observer;
  ScanState state;
};

void SweepDrives(FakeWindows& win, FileSystem& fs, const std::vector<std::string>& masks,
         WalkStrategy strategy, unsigned workers, Sweep& sweep) {
  ScanOptions options;
  for (const std::string& m : masks) options.OptionBox.Add(m, true);
  options.DrivesBox.Add("C:\\", true);
  options.DrivesBox.Add("D:\\", true);
  DateTexts dates(win.locale);
  WalkContext ctx{fs, dates, sweep.observer, KeepFilter::None()};
  WalkCheckedDrives(ctx, options, sweep.state, strategy, workers);
}

// A deep, wide tree with every kind of entry the sweep must treat apart.
void RandomTree(FakeWindows& win, unsigned seed, int entries) {
  const char* names[] = {"a.tmp", "b.bak", "c.TMP", "d.txt", "e.tmp.bak", "f", "g.~x", "h.old"};
  const uint32_t attrs[] = {kAttrArchive, kAttrHidden, kAttrSystem, kAttrNormal,
                            kAttrReadOnly | kAttrArchive, kAttrTemporary};
  const uint32_t folderAttrs[] = {kAttrDirectory, kAttrDirectory | kAttrHidden,
                                  kAttrDirectory | kAttrCompressed, kAttrDirectory | kAttrSystem,
                                  kAttrDirectory};
  const char* folderNames[] = {"x", "y", "SendTo", "sendto", "z z", "NetHood", "w"};
  std::mt19937 rng(seed);
  win.fs.AddDrive('D');
  std::vector<std::string> folders = {"C:", "D:"};
  for (int i = 0; i < entries; ++i) {
    // Random parents, biased to recent folders: deep chains and wide fans.
    size_t pick = rng() % 3 ? folders.size() - 1 - rng() % std::min<size_t>(folders.size(), 8)
                            : rng() % folders.size();
    const std::string& parent = folders[pick];
    if (rng() % 3 == 0) {
      std::string path = parent + "\\" + folderNames[rng() % 7] + std::to_string(i);
      win.fs.AddFolder(path, folderAttrs[rng() % 5]);
      folders.push_back(path);
    } else {
      win.fs.AddFile(parent + "\\" + std::to_string(i) + names[rng() % 8],
                     rng() % 3 ? rng() % 5000 : 0, attrs[rng() % 6]);
    }
  }
  win.fs.AddJunction(folders[folders.size() / 2] + "\\loop", "C:");
}

TEST(ParallelSweep, RowsAndReportsMatchThePerMaskWalksOnRandomTrees) {
  const std::vector<std::string> masks = {"*.tmp", "*.bak", "*.~*", "?.old"};
  for (unsigned seed = 1; seed <= 12; ++seed) {
    FakeWindows win;
    RandomTree(win, seed, 1500);
    Sweep literal;
    SweepDrives(win, win.fs, masks, WalkStrategy::kPerMask, 1, literal);
    for (unsigned workers : {1u, 2u, 4u, 8u}) {
      SCOPED_TRACE(testing::Message() << "seed " << seed << ", " << workers << " workers");
      Sweep sweep;
      SweepDrives(win, win.fs, masks, WalkStrategy::kSinglePass, workers, sweep);
      ASSERT_EQ(sweep.state.rows.size(), literal.state.rows.size());
      EXPECT_TRUE(sweep.state.rows == literal.state.rows);
      EXPECT_EQ(sweep.state.count, literal.state.count);
      EXPECT_EQ(sweep.state.bytes, literal.state.bytes);
    }
  }
}

// A stop is seen at the same point of the walk whatever the workers have
// listed ahead: the rows are those of the walk on one thread.
TEST(ParallelSweep, AStopEndsTheWalkAtTheSamePointAsOnOneThread) {
  FakeWindows win;
  RandomTree(win, 99, 3000);
  const std::vector<std::string> masks = {"*.tmp", "*.bak"};
  for (size_t stopAfter : {1u, 17u, 250u, 700u}) {
    Sweep alone;
    alone.observer.stopAfter = stopAfter;
    SweepDrives(win, win.fs, masks, WalkStrategy::kSinglePass, 1, alone);
    for (int round = 0; round < 5; ++round) {
      SCOPED_TRACE(testing::Message() << "stop after " << stopAfter << ", round " << round);
      Sweep sweep;
      sweep.observer.stopAfter = stopAfter;
      SweepDrives(win, win.fs, masks, WalkStrategy::kSinglePass, 4, sweep);
      EXPECT_TRUE(sweep.state.rows == alone.state.rows);
      EXPECT_EQ(sweep.observer.found, alone.observer.found);
    }
  }
}

// A file system whose listings take a while, as a slow disk's do: `delay`
// to open one, `perEntry` for each entry.
class SlowListings : public FileSystem {
 public:
  SlowListings(FileSystem& inner, std::chrono::milliseconds delay,
               std::chrono::microseconds perEntry = {})
      : inner_(inner), delay_(delay), perEntry_(perEntry) {}
  std::unique_ptr<FolderListing> ListFolder(const std::string& folder) override {
    std::this_thread::sleep_for(delay_);
    auto listing = inner_.ListFolder(folder);
    if (!listing || perEntry_.count() == 0) return listing;
    return std::make_unique<Slow>(std::move(listing), perEntry_);
  }
  DriveType DriveTypeOf(const std::string& root) override { return inner_.DriveTypeOf(root); }
  std::string TempPath() override { return inner_.TempPath(); }
  std::string ProgramFolder() override { return inner_.ProgramFolder(); }
  bool FileExists(const std::string& path) override { return inner_.FileExists(path); }
  bool FindFirstFinds(const std::string& path) override { return inner_.FindFirstFinds(path); }
  bool ReadFile(const std::string& path, std::string& bytes) override {
    return inner_.ReadFile(path, bytes);
  }
  uint32_t WriteFile(const std::string& path, const std::string& bytes) override {
    return inner_.WriteFile(path, bytes);
  }
  uint32_t WriteFileSafely(const std::string& path, const std::string& bytes) override {
    return inner_.WriteFileSafely(path, bytes);
  }
  std::unique_ptr<ItemOpener> NewItemOpener() override { return inner_.NewItemOpener(); }

 private:
  class Slow : public FolderListing {
   public:
    Slow(std::unique_ptr<FolderListing> inner, std::chrono::microseconds perEntry)
        : inner_(std::move(inner)), perEntry_(perEntry) {}
    bool Next(FindEntry& entry) override {
      std::this_thread::sleep_for(perEntry_);
      return inner_->Next(entry);
    }

   private:
    std::unique_ptr<FolderListing> inner_;
    std::chrono::microseconds perEntry_;
  };

  FileSystem& inner_;
  std::chrono::milliseconds delay_;
  std::chrono::microseconds perEntry_;
};

// While workers list, the walk's thread keeps pumping (the window answers),
// and a Stop given in such a pump ends the walk at once, workers included.
TEST(ParallelSweep, TheWalkPumpsWhileItWaitsAndAStopThenEndsItQuickly) {
  FakeWindows win;
  for (int i = 0; i < 40; ++i) win.fs.AddFile("C:\\d" + std::to_string(i) + "\\a.tmp", 5);
  SlowListings slow(win.fs, std::chrono::milliseconds(60));
  Sweep sweep;
  int pumpsSeen = 0;
  sweep.observer.onPump = [&] {
    if (++pumpsSeen == 3) sweep.observer.stopped = true;
  };
  auto start = std::chrono::steady_clock::now();
  SweepDrives(win, slow, {"*.tmp"}, WalkStrategy::kSinglePass, 2, sweep);
  auto took = std::chrono::steady_clock::now() - start;
  // 41 listings one after another would take 2.5 s.
  EXPECT_LT(took, std::chrono::milliseconds(800));
  EXPECT_GE(pumpsSeen, 3);
  EXPECT_LT(sweep.state.rows.size(), 40u);
  ASSERT_FALSE(sweep.observer.pumps.empty());
  EXPECT_EQ(sweep.observer.pumps.front(), "C:\\") << "the root is walked, waited for, first";
}

// One folder of many thousand entries, listed on the walk's own thread
// (no workers, or none has taken it yet): the walk still pumps every slice,
// on either path, and a Stop given meanwhile ends the listing there.
TEST(ParallelSweep, AHugeFolderListedOnTheWalksThreadStillPumps) {
  FakeWindows win;
  for (int i = 0; i < 2000; ++i) win.fs.AddFile("C:\\huge\\" + std::to_string(i) + ".tmp", 5);
  SlowListings slow(win.fs, std::chrono::milliseconds(0), std::chrono::microseconds(100));
  for (unsigned workers : {1u, 2u}) {
    SCOPED_TRACE(testing::Message() << workers << " listing threads");
    using Clock = std::chrono::steady_clock;
    for (bool stop : {false, true}) {
      Sweep sweep;
      auto last = Clock::now();
      Clock::duration longest{};
      int pumps = 0;
      sweep.observer.onPump = [&] {
        longest = std::max(longest, Clock::now() - last);
        last = Clock::now();
        if (stop && ++pumps == 3) sweep.observer.stopped = true;
      };
      auto start = Clock::now();
      SweepDrives(win, slow, {"*.tmp"}, WalkStrategy::kSinglePass, workers, sweep);
      auto took = Clock::now() - start;
      // 2,000 entries take at least 0.2 s to list.
      EXPECT_LT(longest, std::chrono::milliseconds(100));
      if (stop) {
        EXPECT_LT(took, std::chrono::milliseconds(250)) << "the listing went on after the Stop";
        EXPECT_TRUE(sweep.state.rows.empty());
      } else {
        EXPECT_EQ(sweep.state.rows.size(), 2000u);
      }
    }
  }
  // The walk's thread listing the folder itself, for certain: no workers.
  for (bool stop : {false, true}) {
    FolderPrefetch prefetch(slow, 0, kSetAllButSystem, [](auto&, auto&) {});
    PrefetchFolder& huge = prefetch.Start("C:\\huge", 0);
    int calls = 0;
    auto start = std::chrono::steady_clock::now();
    const bool listed = prefetch.Await(huge, [&] { return !(++calls == 3 && stop); });
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(listed, !stop);
    EXPECT_EQ(huge.listed, !stop);
    EXPECT_GE(calls, 3) << "every 10 ms in 0.2 s";
    if (stop) EXPECT_LT(took, std::chrono::milliseconds(150));
  }
}

// Listings on workers go faster than one after another, and every folder is
// listed once.
TEST(FolderPrefetch, ListsEachFolderOnceAndInParallel) {
  FakeWindows win;
  for (int i = 0; i < 24; ++i) win.fs.AddFolder("C:\\f" + std::to_string(i));
  SlowListings slow(win.fs, std::chrono::milliseconds(20));
  const int before = win.fs.listings;
  // The root's subfolders only (tag 1 marks the root).
  FolderPrefetch prefetch(slow, 4, 63, [](const PrefetchFolder& f, std::vector<PlannedFolder>& out) {
    if (f.tag != 1) return;
    for (const FindEntry& e : f.entries) {
      if ((e.attributes & kAttrDirectory) && e.name != "." && e.name != "..")
        out.push_back({f.path + "\\" + e.name, 0});
    }
  });
  auto start = std::chrono::steady_clock::now();
  PrefetchFolder& root = prefetch.Start("C:", 1);
  ASSERT_TRUE(prefetch.Await(root, [] { return true; }));
  ASSERT_EQ(root.children.size(), 26u);  // the 24, "Program Files" and "WINDOWS"
  for (PrefetchFolder* child : root.children) {
    ASSERT_TRUE(prefetch.Await(*child, [] { return true; }));
    EXPECT_TRUE(child->listed);
    prefetch.Release(*child);
  }
  auto took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took, std::chrono::milliseconds(27 * 20 * 3 / 4)) << "no faster than one thread";
  EXPECT_EQ(prefetch.listings(), 27u);
  EXPECT_EQ(win.fs.listings - before, 27) << "a folder was listed twice";
}

}  // namespace
}  // namespace scourly
