// The real Scourly.exe's command line under Wine, started beside this test
// program (so it reads the same settings.ini and uses the same Purgix.dll),
// against the window's own logic on the same test drive.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/main_form.h"
#include "cli/csv.h"
#include "options/uoptions.h"
#include "platform/win32/win32_windows.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/test_drive.h"

namespace scourly {
namespace {

using support::Exists;
using support::ExeFolder;
using support::MakeFile;
using support::MakeFolder;
using support::ReadAll;
using support::RecycleBinRefusing;
using support::RemoveProgramFile;
using support::SetAttributes;
using support::TestFolder;
using support::TrashedAs;

// What a run of Scourly.exe left: its exit code, what it wrote to its
// output and error handles (files here), and the questions it showed.
struct Ran {
  DWORD exitCode = 0;
  std::string out, err;
  int questions = 0;
  bool finished = false;

  std::string LastErrLine() const {
    std::string text = err;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text.substr(text.rfind('\n') + 1);
  }
};

// Starts `exe` with `arguments`, its output and errors going to files beside
// this program (never on T:, which the scans walk). A dialog of the child is
// counted and answered "No"; a child still running after two minutes is
// ended, and the run reported unfinished.
Ran RunScourly(const std::string& arguments, const std::string& exe = ExeFolder() + "Scourly.exe") {
  Ran ran;
  const std::wstring outPath = Widen(ExeFolder() + "cli-stdout.txt");
  const std::wstring errPath = Widen(ExeFolder() + "cli-stderr.txt");
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &inherit, CREATE_ALWAYS, 0, nullptr);
  HANDLE err = CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  std::wstring command = L"\"" + Widen(exe) + L"\" " + Widen(arguments);
  const std::wstring folder = Widen(ExeFolder());
  const bool started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      folder.c_str(), &startup, &process);
  CloseHandle(out);
  CloseHandle(err);
  if (!started) {
    ADD_FAILURE() << "cannot start " << exe << ": " << GetLastError();
    return ran;
  }
  for (int waited = 0; waited < 120000; waited += 100) {
    if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) {
      ran.finished = true;
      break;
    }
    HWND box = nullptr;
    while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr))) {
      DWORD pid = 0;
      GetWindowThreadProcessId(box, &pid);
      if (pid != process.dwProcessId || !IsWindowVisible(box)) continue;
      ++ran.questions;
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
  }
  if (!ran.finished) TerminateProcess(process.hProcess, 99);
  GetExitCodeProcess(process.hProcess, &ran.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  ran.out = ReadAll(Narrow(outPath));
  ran.err = ReadAll(Narrow(errPath));
  DeleteFileW(outPath.c_str());
  DeleteFileW(errPath.c_str());
  return ran;
}

const std::string kBom = "\xEF\xBB\xBF";

class CommandLineOnTestDrive : public testing::Test {
 protected:
  CommandLineOnTestDrive() : options(real.platform), form(real.platform, options) {}

  void SetUp() override {
    RemoveProgramFile("settings.ini");
    RemoveProgramFile("FList.txt");
    // The user's first start, with C: unchecked (it would walk the prefix).
    options.FormCreate();
    ASSERT_EQ(options.options.DrivesBox.items[0].text, "C:\\");
    options.options.DrivesBox.items[0].checked = false;
    options.OKBtnClick();
    form.FormCreate();
    form.FormShow();
    form.pumpBudgetMs = 0;

    MakeFile(dir / "a.tmp", "0123456789");
    MakeFile(dir / "b,c;d.bak", "bcd");
    MakeFile(dir / "Grüße_日本.tmp", "unicode");
    MakeFile(dir / "x;y.old", "xyxy");
    MakeFile(dir / "empty.txt", "");
    MakeFile(dir / "keep.txt", "kkk");
    MakeFolder(dir / "nested");
    MakeFile(dir / "nested\\n.bak", "nn");
    listed = {"a.tmp", "b,c;d.bak", "Grüße_日本.tmp", "x;y.old", "empty.txt", "nested\\n.bak"};
  }
  void TearDown() override {
    RemoveProgramFile("settings.ini");
    RemoveProgramFile("FList.txt");
  }

  // The window's rows after Find Files, as the report's records, each with
  // `result` when one is given.
  std::string WindowReport(const char* result = nullptr) {
    form.FindFilesTBClick();
    std::string csv = kBom + (result ? CsvLine({"name", "location", "size", "time", "result"})
                                     : CsvLine({"name", "location", "size", "time"}));
    bytes = 0;
    for (const ResultRow& row : form.ListBox1.Rows()) {
      const std::string size = std::to_string(row.Size());
      bytes += static_cast<int64_t>(row.Size());
      csv += result ? CsvLine({row.Name(), row.Location(), size, row.Date(), result})
                    : CsvLine({row.Name(), row.Location(), size, row.Date()});
    }
    return csv;
  }
  std::string Summary() const {
    return std::to_string(form.ListBox1.Count()) + " files, " + std::to_string(bytes) + " bytes";
  }

  support::ScriptedWindows real;
  TUOptionsDialog options;
  TMainForm form;
  TestFolder dir{"cli"};
  std::vector<std::string> listed;  // what the scan finds in `dir`
  int64_t bytes = 0;
};

TEST_F(CommandLineOnTestDrive, ListWritesTheWindowsRowsToTheFileAndToARedirectedOutput) {
  const std::string expected = WindowReport();
  ASSERT_EQ(form.ListBox1.Count(), static_cast<int>(listed.size())) << "only our files are on T:";

  Ran ran = RunScourly("/list unneeded /out \"" + (dir / "list.csv") + "\"");
  ASSERT_TRUE(ran.finished);
  EXPECT_EQ(ran.exitCode, 0u) << ran.err;
  EXPECT_EQ(ReadAll(dir / "list.csv"), expected);
  EXPECT_EQ(ran.err, Summary() + "\r\n");
  EXPECT_EQ(ran.out, "");

  // Without /out the report goes to the output handle: here a file, which
  // gets the whole CSV file, byte order mark included.
  ran = RunScourly("/LIST Unneeded");
  EXPECT_EQ(ran.exitCode, 0u) << ran.err;
  EXPECT_EQ(ran.out, expected);
  EXPECT_EQ(ran.LastErrLine(), Summary());
  for (const std::string& name : listed) EXPECT_TRUE(Exists(dir / name)) << name;
}

TEST_F(CommandLineOnTestDrive, CleanMovesEveryListedFileToTheRecycleBin) {
  const std::string expected = WindowReport("deleted");
  Ran ran = RunScourly("/clean unneeded /out \"" + (dir / "clean.csv") + "\"");
  ASSERT_TRUE(ran.finished);
  EXPECT_EQ(ran.questions, 0);
  EXPECT_EQ(ran.exitCode, 0u) << ran.err;
  EXPECT_EQ(ReadAll(dir / "clean.csv"), expected);
  EXPECT_EQ(ran.err, Summary() + "\r\n" + std::to_string(listed.size()) + " deleted, 0 stayed\r\n");
  for (const std::string& name : listed) {
    EXPECT_FALSE(Exists(dir / name)) << name;
    EXPECT_NE(TrashedAs(dir / name), "") << name << " should be in the Recycle Bin";
  }
  EXPECT_EQ(ReadAll(TrashedAs(dir / "b,c;d.bak")), "bcd");
  EXPECT_TRUE(Exists(dir / "keep.txt"));
}

TEST_F(CommandLineOnTestDrive, PermanentDeletesForGoodAndAFileInUseStays) {
  WindowReport();
  HANDLE held = CreateFileW(Widen(dir / "x;y.old").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Ran ran = RunScourly("/clean unneeded /permanent");
  CloseHandle(held);
  ASSERT_TRUE(ran.finished);
  EXPECT_EQ(ran.exitCode, 3u) << ran.err;
  EXPECT_NE(ran.out.find("\"x;y.old\"," + dir.path() + "\\,4,"), std::string::npos) << ran.out;
  EXPECT_NE(ran.out.find(",stayed: in use\r\n"), std::string::npos) << ran.out;
  EXPECT_EQ(ran.LastErrLine(), std::to_string(listed.size() - 1) + " deleted, 1 stayed");
  for (const std::string& name : listed) {
    if (name == "x;y.old") continue;
    EXPECT_FALSE(Exists(dir / name)) << name;
    EXPECT_EQ(TrashedAs(dir / name), "") << name << ": permanent means not to the Recycle Bin";
  }
  EXPECT_TRUE(Exists(dir / "x;y.old"));
}

// Nobody answers a scheduled run: where the Recycle Bin takes nothing, no
// question shows, nothing is deleted for good, and the report says why.
TEST_F(CommandLineOnTestDrive, CleanAsksNothingWhereTheRecycleBinRefusesAndEverythingStays) {
  const std::string expected = WindowReport("stayed: could not be moved to the Recycle Bin");
  Ran ran;
  {
    RecycleBinRefusing refusing;
    ran = RunScourly("/clean unneeded /out \"" + (dir / "clean.csv") + "\"");
  }
  ASSERT_TRUE(ran.finished) << "Scourly.exe waited for an answer";
  EXPECT_EQ(ran.questions, 0);
  EXPECT_EQ(ran.exitCode, 3u) << ran.err;
  EXPECT_EQ(ReadAll(dir / "clean.csv"), expected);
  for (const std::string& name : listed) {
    EXPECT_TRUE(Exists(dir / name)) << name;
    EXPECT_EQ(TrashedAs(dir / name), "") << name;
  }
}

TEST_F(CommandLineOnTestDrive, ErrorsAndWrongArgumentsHaveTheirExitCodesAndDeleteNothing) {
  Ran ran = RunScourly("/help");
  EXPECT_EQ(ran.exitCode, 0u);
  EXPECT_NE(ran.out.find("Scourly.exe /list TAB [/out FILE]"), std::string::npos) << ran.out;
  EXPECT_EQ(ran.err, "");

  ran = RunScourly("/clean nowhere");
  EXPECT_EQ(ran.exitCode, 2u);
  EXPECT_NE(ran.err.find("Usage:"), std::string::npos) << ran.err;
  EXPECT_EQ(ran.LastErrLine(),
            "error: unknown TAB \"nowhere\": use unneeded, recent, favorites, dead or browsers");

  // A read-only report file stops the run before anything is deleted.
  MakeFile(dir / "ro.csv", "old");
  SetAttributes(dir / "ro.csv", FILE_ATTRIBUTE_READONLY);
  ran = RunScourly("/clean unneeded /out \"" + (dir / "ro.csv") + "\"");
  EXPECT_EQ(ran.exitCode, 1u);
  EXPECT_EQ(ran.LastErrLine(), "error: cannot write " + (dir / "ro.csv") + ": the file is read-only");
  EXPECT_EQ(ReadAll(dir / "ro.csv"), "old");

  for (const std::string& name : listed) EXPECT_TRUE(Exists(dir / name)) << name;
}

}  // namespace
}  // namespace scourly
