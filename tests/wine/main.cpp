// The Windows test program: GoogleTest under Wine, against real files on the
// test drive T:.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "tests/support/box_answerer.h"
#include "tests/support/test_drive.h"

namespace {

std::atomic<int> g_strayDialogs{0};

// A dialog nobody answers would block the run for good: one that stays open
// for 20 seconds is reported and answered "No" (for the shell's questions:
// do not delete for good), and the run fails.
DWORD WINAPI DialogWatchdog(void*) {
  std::vector<std::pair<HWND, int>> seen;  // dialog, half-seconds open
  for (;;) {
    Sleep(500);
    std::vector<HWND> open = scourly::support::OpenDialogs();
    std::vector<std::pair<HWND, int>> still;
    for (HWND box : open) {
      int age = 1;
      for (auto& [h, a] : seen) {
        if (h == box) age = a + 1;
      }
      if (age >= 40) {
        wchar_t caption[256] = {}, text[1024] = {};
        GetWindowTextW(box, caption, 256);
        GetDlgItemTextW(box, 0xFFFF, text, 1024);
        fprintf(stderr, "unanswered dialog \"%s\": %s -- answering No\n",
                scourly::Narrow(caption).c_str(), scourly::Narrow(text).c_str());
        ++g_strayDialogs;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      }
      still.push_back({box, age});
    }
    seen = std::move(still);
  }
}

class TestDriveEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    // Folders left by an interrupted run would add rows to every drive scan.
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(L"T:\\*", &data);
    if (find == INVALID_HANDLE_VALUE) return;
    std::vector<std::string> stale;
    do {
      std::wstring name = data.cFileName;
      if (name != L"." && name != L"..") stale.push_back("T:\\" + scourly::Narrow(name));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    for (const std::string& path : stale) scourly::support::RemoveTree(path);
  }
  void TearDown() override {
    EXPECT_EQ(g_strayDialogs.load(), 0) << "a dialog appeared that no test expected";
  }
};

}  // namespace

int main(int argc, char** argv) {
  // A missing drive must fail quietly, not ask the user to insert a disk.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  testing::InitGoogleTest(&argc, argv);
  testing::AddGlobalTestEnvironment(new TestDriveEnvironment);
  CloseHandle(CreateThread(nullptr, 0, DialogWatchdog, nullptr, 0, nullptr));
  return RUN_ALL_TESTS();
}
