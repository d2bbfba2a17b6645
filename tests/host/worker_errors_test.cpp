// An allocation that fails on a listing worker thread reaches the walk's
// thread as an error, instead of ending the program there.
//
// To make a worker's allocations fail, this test program routes the plain
// (unaligned) operators new and delete through malloc and free, all of them
// alike, so the sanitizers still see every block; a thread that sets
// `t_failAllocations` gets std::bad_alloc from then on.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>
#include <thread>

#include "platform/fake/fake_windows.h"
#include "scan/folder_prefetch.h"

namespace {
thread_local bool t_failAllocations = false;

void* Allocate(std::size_t size) {
  if (t_failAllocations) throw std::bad_alloc();
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* AllocateOrNull(std::size_t size) noexcept {
  if (t_failAllocations) return nullptr;
  return std::malloc(size ? size : 1);
}
}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrNull(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateOrNull(size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace scourly {
namespace {

TEST(FolderPrefetch, AWorkersFailedAllocationIsThrownOnTheWalksThread) {
  fake::FakeWindows win;
  win.fs.AddFolder("C:\\walk");
  const std::thread::id walkThread = std::this_thread::get_id();
  std::atomic<bool> workerPlanned{false};
  FolderPrefetch prefetch(win.fs, 1, 63,
                          [&](const PrefetchFolder&, std::vector<PlannedFolder>& out) {
                            for (int i = 0; i < 50; ++i)
                              out.push_back({"C:\\walk\\sub" + std::to_string(i), 0});
                            if (std::this_thread::get_id() == walkThread) return;
                            // Memory runs out on the worker while it queues these.
                            t_failAllocations = true;
                            workerPlanned = true;
                          });
  PrefetchFolder& root = prefetch.Start("C:\\walk", 0);
  // The worker, not the walk's thread, must be the one to list the root.
  for (int i = 0; i < 500 && !workerPlanned; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(workerPlanned) << "the worker never listed the folder";
  EXPECT_THROW(prefetch.Await(root, [] { return true; }), std::bad_alloc);
}

}  // namespace
}  // namespace scourly
