// The "Web Browsers" sub-tab on the real Windows: profile folders of Chrome
// and Firefox made in the prefix's own application data folders, scanned and
// deleted to the Recycle Bin through the main window's logic, with the lock
// files of a running browser held open by a helper process.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/main_form.h"
#include "options/uoptions.h"
#include "platform/win32/win32_windows.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/test_drive.h"

namespace scourly {
namespace {

using support::ExeFolder;
using support::Exists;
using support::MakeFile;
using support::RemoveProgramFile;
using support::RemoveTreeBelow;
using support::TrashedFromDriveC;

// Creates `path` and every folder on the way.
void MakeFolders(const std::string& path) {
  for (size_t at = path.find('\\', 3);; at = path.find('\\', at + 1)) {
    CreateDirectoryW(Widen(path.substr(0, at)).c_str(), nullptr);
    if (at == std::string::npos) break;
  }
}

void Plant(const std::string& path, const std::string& bytes = "data") {
  MakeFolders(path.substr(0, path.rfind('\\')));
  MakeFile(path, bytes);
}

// A helper process that holds files open without delete sharing, as a
// running browser holds its lock file, until it is let go.
class LockHolder {
 public:
  explicit LockHolder(const std::vector<std::string>& paths) {
    std::wstring event = L"ScourlyLockRelease" + std::to_wstring(GetCurrentProcessId());
    release_ = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
    std::wstring command = L"\"" + Widen(ExeFolder()) + L"lock_holder.exe\" " + event;
    for (const std::string& path : paths) command += L" \"" + Widen(path) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    const std::wstring folder = Widen(ExeFolder());
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &si, &pi_)) {
      ADD_FAILURE() << "cannot start lock_holder.exe: " << GetLastError();
      return;
    }
    // Held once a delete access is refused for sharing.
    for (const std::string& path : paths) {
      bool held = false;
      for (int i = 0; i < 200 && !held; ++i) {
        HANDLE h = CreateFileW(Widen(path).c_str(), DELETE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        held = h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        if (!held) Sleep(50);
      }
      EXPECT_TRUE(held) << path << " was never held";
    }
  }
  ~LockHolder() {
    SetEvent(release_);
    if (pi_.hProcess) {
      EXPECT_EQ(WaitForSingleObject(pi_.hProcess, 20000), WAIT_OBJECT_0);
      CloseHandle(pi_.hProcess);
      CloseHandle(pi_.hThread);
    }
    CloseHandle(release_);
  }

 private:
  HANDLE release_ = nullptr;
  PROCESS_INFORMATION pi_{};
};

class WebBrowsersOnWine : public testing::Test {
 protected:
  WebBrowsersOnWine() : options(platform), form(platform, options) {}

  void SetUp() override {
    RemoveProgramFile("settings.ini");
    RemoveProgramFile("FList.txt");
    std::optional<std::string> l = real.windows.shell.SpecialFolderPath(kCsidlLocalAppData);
    std::optional<std::string> r = real.windows.shell.SpecialFolderPath(kCsidlAppData);
    ASSERT_TRUE(l && r);
    local = *l;
    roaming = *r;
    chrome = local + "\\Google\\Chrome\\User Data";
    firefox = roaming + "\\Mozilla\\Firefox";
    firefoxLocal = local + "\\Mozilla\\Firefox";
    for (const std::string& tree : OwnTrees())
      ASSERT_FALSE(Exists(tree)) << tree << " is left from another run";

    listed = {chrome + "\\Default\\Cache\\Cache_Data\\f_000001",
              chrome + "\\Default\\Cache\\Cache_Data\\index",
              chrome + "\\Default\\Network\\Cookies",
              chrome + "\\Default\\History",
              firefoxLocal + "\\Profiles\\t.default\\cache2\\entries\\A1B2",
              firefox + "\\Profiles\\t.default\\cookies.sqlite"};
    kept = {chrome + "\\Local State",
            chrome + "\\Default\\Preferences",
            chrome + "\\Default\\Bookmarks",
            chrome + "\\Default\\Login Data",
            chrome + "\\Default\\Network\\Network Persistent State",
            chrome + "\\System Profile\\Cache\\Cache_Data\\f_000009",
            firefox + "\\profiles.ini",
            firefox + "\\Profiles\\t.default\\places.sqlite",
            firefox + "\\Profiles\\t.default\\places.sqlite-wal",
            firefox + "\\Profiles\\t.default\\prefs.js",
            firefox + "\\Profiles\\t.default\\logins.json"};
    for (const std::string& path : listed) Plant(path, "cached bytes");
    for (const std::string& path : kept) Plant(path);
    MakeFile(firefox + "\\profiles.ini",
             "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/t.default\r\n");

    form.FormCreate();
    form.FormShow();
    form.pumpBudgetMs = 0;
    form.UserSelectsTab(kTabBrowserCache);
    form.UserSelectsSubTab(kSubTabWebBrowsers);
    form.WebBrowsers().WCookies.checked = true;
    form.WebBrowsers().WHistory.checked = true;
  }

  void TearDown() override {
    if (local.empty()) return;
    for (const std::string& tree : OwnTrees())
      RemoveTreeBelow(tree, (tree.rfind(local, 0) == 0 ? local : roaming) + "\\");
    for (const std::string& parent :
         {local + "\\Google", roaming + "\\Mozilla", local + "\\Mozilla"})
      RemoveDirectoryW(Widen(parent).c_str());  // only when empty
    RemoveProgramFile("settings.ini");
    RemoveProgramFile("FList.txt");
  }

  // The browsers' folders this test makes, and removes again.
  std::vector<std::string> OwnTrees() const {
    return {local + "\\Google\\Chrome", firefox, firefoxLocal};
  }

  std::set<std::string> Rows() {
    std::set<std::string> rows;
    for (const ResultRow& row : form.ListBox6.Rows()) rows.insert(row.FullPath());
    return rows;
  }

  support::ScriptedWindows real;
  support::ScriptedUi& ui = real.ui;
  Platform& platform = real.platform;
  TUOptionsDialog options;
  TMainForm form;
  std::string local, roaming, chrome, firefox, firefoxLocal;
  std::vector<std::string> listed, kept;
};

TEST_F(WebBrowsersOnWine, ListsTheProfilesFilesAndDeletesExactlyThoseToTheRecycleBin) {
  form.FindFilesTBClick();
  EXPECT_EQ(Rows(), std::set<std::string>(listed.begin(), listed.end()));
  EXPECT_TRUE(ui.boxes.empty());

  // A cache file another program holds at deletion time stays, with its row.
  const std::string busy = listed[1];
  {
    LockHolder holder({busy});
    form.DeleteAllTBClick();
  }
  EXPECT_EQ(Rows(), (std::set<std::string>{busy}));
  ASSERT_EQ(ui.boxes.size(), 2u);  // the notice, then what stayed
  EXPECT_NE(ui.boxes[1].text.find(busy + " (in use)"), std::string::npos) << ui.boxes[1].text;
  for (const std::string& path : listed) {
    if (path == busy) continue;
    EXPECT_FALSE(Exists(path)) << path;
    EXPECT_NE(TrashedFromDriveC(path), "") << path << " is not in the Recycle Bin";
  }
  EXPECT_TRUE(Exists(busy));
  for (const std::string& path : kept) EXPECT_TRUE(Exists(path)) << path;
}

TEST_F(WebBrowsersOnWine, ARunningBrowserIsNotListedAndTheUserIsTold) {
  // Chrome's lock file in "User Data", Firefox's in its profile.
  const std::string chromeLock = chrome + "\\lockfile";
  const std::string firefoxLock = firefox + "\\Profiles\\t.default\\parent.lock";
  {
    LockHolder holder({chromeLock, firefoxLock});
    form.FindFilesTBClick();
  }
  EXPECT_EQ(Rows(), std::set<std::string>{});
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text,
            "Google Chrome and Mozilla Firefox are running, so none of their files were "
            "listed.\r\nPlease close them and scan again.");

  // Closed, the browsers leave their lock files behind: they say nothing.
  ASSERT_TRUE(Exists(chromeLock) && Exists(firefoxLock));
  form.FindFilesTBClick();
  EXPECT_EQ(Rows(), std::set<std::string>(listed.begin(), listed.end()));
  EXPECT_EQ(ui.boxes.size(), 1u);
}

}  // namespace
}  // namespace scourly
