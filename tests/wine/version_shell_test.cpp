// The version resource read by the version-information functions, and the
// shell's "open" verb reached by Win32Shell::Open (on local files only: a
// test never opens a web address).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about/help_links.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_version.h"
#include "tests/support/box_answerer.h"
#include "tests/support/test_drive.h"

namespace scourly {
namespace {

using support::ExeFolder;
using support::Exists;
using support::MakeFile;
using support::ReadAll;
using support::TestFolder;

// The test program carries the product's version resource, as Scourly.exe
// does; Purgix.dll beside it carries the same version.
TEST(Win32VersionInfo, ReadsTheProductVersionOfTheRunningProgramAndOfTheLibrary) {
  Win32VersionInfo own;
  std::optional<ProductVersion> version = own.ProgramProductVersion();
  ASSERT_TRUE(version) << "the running program's version resource was not read";
  EXPECT_EQ(version->mostSignificant, 0x00020002u);
  EXPECT_EQ(version->leastSignificant, 0u);
  EXPECT_EQ(VersionText(own), "2.2");

  Win32VersionInfo library(ExeFolder() + "Purgix.dll");
  version = library.ProgramProductVersion();
  ASSERT_TRUE(version) << "Purgix.dll has no version resource";
  EXPECT_EQ(version->mostSignificant, 0x00020002u);
  EXPECT_EQ(version->leastSignificant, 0u);
}

TEST(Win32VersionInfo, AFileWithoutAVersionResourceGivesNoVersionAndAnEmptyText) {
  TestFolder dir("version");
  MakeFile(dir / "plain.txt", "no resources here");
  for (const std::string& path : {dir / "plain.txt", dir / "missing.exe"}) {
    Win32VersionInfo info(path);
    EXPECT_FALSE(info.ProgramProductVersion()) << path;
    EXPECT_EQ(VersionText(info), "") << path;
  }
}

std::vector<HWND> VisibleDialogs() { return support::OpenDialogs(); }

// The exact path reaches the shell: a command file that the "open" verb runs
// leaves a mark beside itself.
TEST(Win32ShellOpen, HandsTheExactTargetToTheShellsOpenVerb) {
  TestFolder dir("shell open");
  const std::string script = dir / "open me & see.cmd";
  MakeFile(script, "@echo opened> \"%~dp0opened.txt\"\r\n");
  Win32Shell shell;
  shell.Open(script, ShowCommand::kShow);
  const std::string mark = dir / "opened.txt";
  // The command processor creates the file before it writes the line.
  for (int i = 0; i < 200 && ReadAll(mark) != "opened\r\n"; ++i) Sleep(100);
  ASSERT_TRUE(Exists(mark)) << "the shell did not run " << script;
  EXPECT_EQ(ReadAll(mark), "opened\r\n");
}

// What cannot be opened is left at that: no message of the program's own and
// none from the shell.
TEST(Win32ShellOpen, ATargetThatCannotBeOpenedShowsNothing) {
  TestFolder dir("shell fail");
  MakeFile(dir / "unknown.scourly-no-program", "x");
  Win32Shell shell;
  for (const std::string& target : {dir / "unknown.scourly-no-program", dir / "missing.txt"}) {
    shell.Open(target, ShowCommand::kShowNormal);
    Sleep(1500);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    EXPECT_TRUE(VisibleDialogs().empty()) << "a window came up for " << target;
  }
}

}  // namespace
}  // namespace scourly
