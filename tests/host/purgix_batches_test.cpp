// How Purgix.dll batches paths for the shell, against a shell that behaves
// as Windows' does: it checks the whole list first and deletes nothing when
// one path is missing or refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "purgix/batches.h"

namespace {

using purgix::BatchOutcome;
using purgix::Batches;
using purgix::BatchShell;

struct Disk {
  std::set<std::wstring> files;
  std::set<std::wstring> locked;        // in use: may not go, the shell refuses it
  std::set<std::wstring> refused;       // the shell refuses it without asking
  std::set<std::wstring> askedFor;      // the shell asks; the user says No
  std::set<std::wstring> vanishOnCall;  // gone by the time the shell looks
  std::set<std::wstring> recycled;
  std::vector<size_t> callSizes, callChars;
  std::vector<std::wstring> handedWhileMissing;
  int questions = 0;

  BatchShell Shell() {
    return BatchShell{
        [this](const std::wstring& p) { return files.count(p) && !locked.count(p); },
        [this](const std::vector<const std::wstring*>& paths) {
          callSizes.push_back(paths.size());
          size_t chars = 0;
          for (const std::wstring* p : paths) chars += p->size() + 1;
          callChars.push_back(chars);
          for (const std::wstring* p : paths) {
            if (vanishOnCall.erase(*p)) files.erase(*p);
          }
          // The whole list is checked first.
          for (const std::wstring* p : paths) {
            if (!files.count(*p)) handedWhileMissing.push_back(*p);
            if (askedFor.count(*p)) {
              ++questions;
              return BatchOutcome{false, true};
            }
            if (!files.count(*p) || locked.count(*p) || refused.count(*p))
              return BatchOutcome{false, false};
          }
          for (const std::wstring* p : paths) {
            files.erase(*p);
            recycled.insert(*p);
          }
          return BatchOutcome{true, false};
        }};
  }
};

// Every path of the same length: "C:\dir\file0042.tmp".
std::wstring PathOf(int i) {
  std::wstring digits = std::to_wstring(i);
  return L"C:\\dir\\file" + std::wstring(4 - std::min<size_t>(4, digits.size()), L'0') + digits +
         L".tmp";
}

TEST(PurgixBatches, OneBadPathNeverKeepsTheOthersFromGoing) {
  struct Case {
    const char* what;
    std::vector<int> vanish, lock, refuse;
  };
  const Case cases[] = {
      {"nothing wrong", {}, {}, {}},
      {"a file vanishes before the call", {7}, {}, {}},
      {"a file is locked after its check", {}, {40}, {}},
      {"the shell refuses one file", {}, {}, {63}},
      {"all three, twice each", {1, 99}, {2, 50}, {3, 77}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Disk disk;
    for (int i = 0; i < 100; ++i) disk.files.insert(PathOf(i));
    for (int i : c.vanish) disk.vanishOnCall.insert(PathOf(i));
    for (int i : c.refuse) disk.refused.insert(PathOf(i));
    BatchShell shell = disk.Shell();
    Batches batches(shell, 1000);
    for (int i = 0; i < 100; ++i) {
      batches.Add(PathOf(i));
      // Locked after the line was checked, before its batch goes.
      if (std::count(c.lock.begin(), c.lock.end(), i)) disk.locked.insert(PathOf(i));
    }
    batches.Flush();
    std::set<std::wstring> expected;
    for (int i = 0; i < 100; ++i) {
      bool bad = std::count(c.vanish.begin(), c.vanish.end(), i) +
                 std::count(c.lock.begin(), c.lock.end(), i) +
                 std::count(c.refuse.begin(), c.refuse.end(), i);
      if (!bad) expected.insert(PathOf(i));
    }
    EXPECT_EQ(disk.recycled, expected);
    for (int i : c.lock) EXPECT_TRUE(disk.files.count(PathOf(i)));
    for (int i : c.refuse) EXPECT_TRUE(disk.files.count(PathOf(i)));
    // Retries hand over only what is there; the first call of a batch gets
    // what was checked before it (a file may vanish in between).
    EXPECT_LE(disk.handedWhileMissing.size(), c.vanish.size());
    const size_t bad = c.vanish.size() + c.lock.size() + c.refuse.size();
    EXPECT_LE(batches.calls(), 4 + bad * 16) << "no more calls than halving needs";
  }
}

TEST(PurgixBatches, BatchesAreBoundedByCharactersAndKeepTheOrder) {
  Disk disk;
  for (int i = 0; i < 1000; ++i) disk.files.insert(PathOf(i));
  BatchShell shell = disk.Shell();
  std::vector<std::wstring> order;
  BatchShell recording{shell.mayGo, [&](const std::vector<const std::wstring*>& paths) {
                         for (const std::wstring* p : paths) order.push_back(*p);
                         return shell.recycle(paths);
                       }};
  Batches batches(recording, 200);
  for (int i = 0; i < 1000; ++i) batches.Add(PathOf(i));
  batches.Flush();
  EXPECT_EQ(disk.recycled.size(), 1000u);
  ASSERT_EQ(order.size(), 1000u);
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(order[i], PathOf(i));
  for (size_t chars : disk.callChars) EXPECT_LE(chars, 200u);
  EXPECT_GT(*std::max_element(disk.callSizes.begin(), disk.callSizes.end()), 1u);
  // A path longer than the bound still goes, alone.
  Batches small(recording, 5);
  disk.files.insert(PathOf(5000));
  small.Add(PathOf(5000));
  small.Flush();
  EXPECT_TRUE(disk.recycled.count(PathOf(5000)));
  EXPECT_EQ(disk.callSizes.back(), 1u);
}

// The user's "No" to the shell's question is the answer for the batch: it is
// not tried again (which would ask again), so nothing more of it goes; the
// next batch is handed over as usual.
TEST(PurgixBatches, ANoToTheShellsQuestionKeepsTheRestOfItsBatch) {
  Disk disk;
  for (int i = 0; i < 30; ++i) disk.files.insert(PathOf(i));
  disk.askedFor = {PathOf(3), PathOf(4)};
  BatchShell shell = disk.Shell();
  const size_t perBatch = (PathOf(0).size() + 1) * 10;  // ten paths a batch
  Batches batches(shell, perBatch);
  for (int i = 0; i < 30; ++i) batches.Add(PathOf(i));
  batches.Flush();
  EXPECT_EQ(disk.questions, 1) << "asked more than once for one batch";
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(disk.files.count(PathOf(i))) << i;
  for (int i = 10; i < 30; ++i) EXPECT_TRUE(disk.recycled.count(PathOf(i))) << i;
  EXPECT_EQ(batches.calls(), 3u);
}

// Unattended, the question counts as "No" for the path that caused it only:
// the rest of its batch goes, one by one, and the refused paths stay.
TEST(PurgixBatches, UnattendedOnlyThePathsTheShellAsksAboutStay) {
  Disk disk;
  for (int i = 0; i < 30; ++i) disk.files.insert(PathOf(i));
  disk.askedFor = {PathOf(3), PathOf(4), PathOf(25)};
  BatchShell shell = disk.Shell();
  const size_t perBatch = (PathOf(0).size() + 1) * 10;
  Batches batches(shell, perBatch, true);
  for (int i = 0; i < 30; ++i) batches.Add(PathOf(i));
  batches.Flush();
  for (int i : {3, 4, 25}) EXPECT_TRUE(disk.files.count(PathOf(i))) << i;
  EXPECT_EQ(disk.recycled.size(), 27u);
  // Each refused path is asked about once more on its own, never again.
  EXPECT_EQ(disk.questions, 2 + 3);
  EXPECT_EQ(batches.calls(), 3u + 10u + 10u);
}

}  // namespace
