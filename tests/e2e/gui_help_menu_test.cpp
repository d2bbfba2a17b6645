// The Help menu and the "Description of File Types" button of the real main
// window, inside one process: each item the user sees hands its own page to
// the shell's "open" verb. How an address is built from an item's tag is
// THelpLinks' (host tests); which item carries which tag is the window's
// command table, and only a click on the window shows it.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "about/help_links.h"
#include "app/main_form.h"
#include "options/uoptions.h"
#include "platform/win32/win32_windows.h"
#include "ui/controls/probe.h"
#include "ui/main/gui_ids.h"
#include "ui/main/main_window.h"

namespace scourly::gui {
namespace {

// Writes down what it is asked to open instead of starting a browser.
class RecordingShell : public Shell {
 public:
  struct Opened {
    std::string target;
    ShowCommand show;
  };
  std::vector<Opened> opened;

  std::optional<std::string> SpecialFolderPath(int) override { return std::nullopt; }
  std::optional<std::string> KnownFolderPath(KnownFolder, FolderOwner) override {
    return std::nullopt;
  }
  std::vector<std::string> ProfileFolders() override { return {}; }
  void Open(const std::string& target, ShowCommand show) override { opened.push_back({target, show}); }
  std::optional<std::string> BrowseForFolder(const std::string&) override { return std::nullopt; }
  std::optional<std::string> BrowseForFile() override { return std::nullopt; }
  bool ReadShortcut(const std::string&, ShortcutFields&) override { return false; }
};

// This build's product version, 2.2 (the test program has no version
// resource of its own).
class ProductVersion22 : public VersionInfo {
 public:
  std::optional<ProductVersion> ProgramProductVersion() override {
    return ProductVersion{0x00020002u, 0};
  }
};

class HelpMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MSG msg;  // the quit message of a window destroyed before
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    window_.Create();
    ASSERT_TRUE(window_.hwnd());
  }
  std::wstring MenuCaption(int cmd) {
    if (SendMessageW(window_.hwnd(), kMsgGetMenuCaption, cmd, 0) < 0) return L"<no such item>";
    return ProbeBuffer();
  }

  Win32Windows windows_;
  RecordingShell shell_;
  ProductVersion22 version_;
  Platform platform_{windows_.fs,       windows_.ui,       windows_.locale,
                     windows_.purgix,   shell_,            windows_.urlCache,
                     windows_.registry, windows_.dateFormat, version_};
  TUOptionsDialog options_{platform_};
  TMainForm form_{platform_, options_};
  MainWindow window_{form_, windows_.ui};
};

TEST_F(HelpMenuTest, EachHelpItemAndTheFileTypesButtonOpenTheirOwnPage) {
  struct Case {
    int cmd;
    const wchar_t* caption;  // what the user picks
    std::string address;
  };
  const Case cases[] = {
      {kCmdNScourlyHelp1, L"Scourly Online &Help", HelpLinkAddress(1, "")},
      {kCmdHomePage1, L"&Scourly Home Page", HelpLinkAddress(7, "")},
      {kCmdFrequentlyAskedQuestions1, L"&Frequently Asked Questions", HelpLinkAddress(2, "")},
      {kCmdProductUpdate1, L"Product &Update", HelpLinkAddress(3, "2.2")},
      {kCmdCommentsandSuggestions1, L"&Comments and Suggestions", HelpLinkAddress(4, "")},
      {kCmdReportBug1, L"Report a &Bug", HelpLinkAddress(5, "")},
      {kCmdVelmoraProducts1, L"Other &Velmora Products", HelpLinkAddress(8, "")},
      {kCmdServiceLink1, L"Custom &Software Development", ServiceLinkAddress(1)},
      {kCmdServiceLink2, L"&Web Site Development", ServiceLinkAddress(2)},
      {kCmdServiceLink3, L"Windows &Application Development", ServiceLinkAddress(3)},
      {kCmdAdvertisewithUs1, L"Ad&vertise with Us", HelpLinkAddress(10, "")},
  };
  for (const Case& c : cases) {
    shell_.opened.clear();
    EXPECT_EQ(MenuCaption(c.cmd), c.caption);
    // What the menu sends when the item is picked.
    SendMessageW(window_.hwnd(), WM_COMMAND, MAKEWPARAM(c.cmd, 0), 0);
    ASSERT_EQ(shell_.opened.size(), 1u) << c.address;
    EXPECT_EQ(shell_.opened[0].target, c.address);
    EXPECT_EQ(shell_.opened[0].show, ShowCommand::kShow) << c.address;
  }

  // The toolbar button, as the toolbar reports its click.
  shell_.opened.clear();
  HWND bar = GetDlgItem(window_.hwnd(), kIdToolBar1);
  SendMessageW(window_.hwnd(), WM_COMMAND, MAKEWPARAM(kCmdToolButton1, 0),
               reinterpret_cast<LPARAM>(bar));
  ASSERT_EQ(shell_.opened.size(), 1u);
  EXPECT_EQ(shell_.opened[0].target, FileTypesPageAddress());
  EXPECT_EQ(shell_.opened[0].show, ShowCommand::kShow);

  // "&About Scourly" opens no page.
  shell_.opened.clear();
  SendMessageW(window_.hwnd(), WM_COMMAND, MAKEWPARAM(kCmdAboutDlg, 0), 0);
  EXPECT_TRUE(shell_.opened.empty());
}

}  // namespace
}  // namespace scourly::gui
