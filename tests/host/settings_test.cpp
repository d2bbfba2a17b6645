#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "lists/app_error.h"
#include "options/ini_file.h"
#include "options/settings_file.h"
#include "platform/fake/fake_windows.h"

namespace scourly {
namespace {

using fake::FakeWindows;

constexpr const char* kIniPath = "C:\\Program Files\\Scourly\\settings.ini";

struct SettingsTest : ::testing::Test {
  FakeWindows win;
  SettingsFile settings{win.fs};
  ScanOptions options;

  void WriteIni(const std::string& text) { ASSERT_EQ(win.fs.WriteFile(kIniPath, text), 0u); }
  std::string Ini() { return win.fs.Content(kIniPath); }
  std::vector<std::string> Texts(const CheckList& list) {
    std::vector<std::string> texts;
    for (const CheckItem& item : list.items) texts.push_back(item.text + (item.checked ? "+" : "-"));
    return texts;
  }
};

TEST_F(SettingsTest, FirstStartWritesTheDefaultsByteForByte) {
  settings.Load(options);
  EXPECT_EQ(Ini(),
            "[options]\r\n"
            "extn0=*.tmp\r\nextn_chkd0=1\r\n"
            "extn1=*.---\r\nextn_chkd1=1\r\n"
            "extn2=*.??~\r\nextn_chkd2=1\r\n"
            "extn3=*.bak\r\nextn_chkd3=1\r\n"
            "extn4=*.old\r\nextn_chkd4=1\r\n"
            "extn5=*.~*\r\nextn_chkd5=1\r\n"
            "TempFiles=0\r\n"
            "total_extn=5\r\n"
            "total_chkd=6\r\n"
            "[drives]\r\n"
            "drive0=C:\\\r\n"
            "chkd0=1\r\n"
            "total_drives=0\r\n"
            "drives_chkd=1\r\n");
  EXPECT_EQ(Texts(options.DrivesBox), (std::vector<std::string>{"C:\\+"}));
  EXPECT_EQ(options.OptionBox.Count(), 6);
  EXPECT_FALSE(options.TempFiles.checked);
}

TEST_F(SettingsTest, SavedListsLoadBackAndRewriteInPlace) {
  win.fs.AddDrive('D');
  win.fs.AddDrive('E', DriveType::kRemovable);
  settings.Load(options);
  options.OptionBox.Clear();
  options.OptionBox.Add("*.log", false);
  options.OptionBox.Add("*.dmp", true);
  options.TempFiles.checked = true;
  options.DrivesBox.items[1].checked = false;
  settings.Save(options);

  ScanOptions loaded;
  settings.Load(loaded);
  EXPECT_EQ(Texts(loaded.OptionBox), (std::vector<std::string>{"*.log-", "*.dmp+"}));
  EXPECT_EQ(Texts(loaded.DrivesBox), (std::vector<std::string>{"C:\\+", "D:\\-"}));
  EXPECT_TRUE(loaded.TempFiles.checked);
  // Values were replaced where they stood; the stale keys of the longer
  // list stay in the file and are not read.
  std::string ini = Ini();
  EXPECT_EQ(ini.find("[options]\r\nextn0=*.log\r\nextn_chkd0=0\r\nextn1=*.dmp\r\n"), 0u);
  EXPECT_NE(ini.find("extn5=*.~*\r\n"), std::string::npos);
  EXPECT_NE(ini.find("total_extn=1\r\ntotal_chkd=1\r\n[drives]"), std::string::npos);
  EXPECT_EQ(settings.ReadScanSettings().totalChecked, 1);
  EXPECT_TRUE(settings.ReadScanSettings().tempFiles);
}

TEST_F(SettingsTest, EmptyTypeListAndNoFixedDrive) {
  FakeWindows bare;
  bare.fs.AddDrive('C', DriveType::kRemote);
  bare.fs.AddFolder("C:\\Program Files\\Scourly");
  SettingsFile file(bare.fs);
  ScanOptions empty;
  file.Save(empty);
  std::string ini = bare.fs.Content(kIniPath);
  EXPECT_NE(ini.find("total_extn=-1\r\ntotal_chkd=0\r\n"), std::string::npos);
  EXPECT_NE(ini.find("total_drives=-1\r\ndrives_chkd=0\r\n"), std::string::npos);
  file.Load(empty);
  EXPECT_EQ(empty.OptionBox.Count(), 0);
  EXPECT_EQ(empty.DrivesBox.Count(), 0);
}

TEST_F(SettingsTest, MissingKeysHexAndBooleans) {
  win.fs.AddDrive('D');
  WriteIni(
      "[Options]\r\n"
      "EXTN0=*.a\r\nextn_chkd0=0\r\n"
      "extn1=*.b\r\nextn_chkd1=2\r\n"
      "extn_chkd2=true\r\n"
      "total_extn=0x3\r\n"
      "TempFiles=junk\r\n"
      "[drives]\r\n"
      "drive0=d:\\\r\n"           // matched exactly: lower case names no drive
      "drive1=D:\\\r\nchkd1=0\r\n"
      "drive2=Q:\\\r\n"           // not a fixed drive here
      "drive3=C:\\\r\n"           // no chkd3: checked
      "total_drives=3\r\n");
  settings.Load(options);
  EXPECT_EQ(Texts(options.OptionBox),
            (std::vector<std::string>{"*.a-", "*.b+", "-1+", "-1+"}));
  EXPECT_FALSE(options.TempFiles.checked);
  EXPECT_EQ(Texts(options.DrivesBox), (std::vector<std::string>{"C:\\+", "D:\\-"}));
  // A drive that is gone is no longer named by the next save.
  settings.Save(options);
  settings.Load(options);
  EXPECT_EQ(Texts(options.DrivesBox), (std::vector<std::string>{"C:\\+", "D:\\-"}));
}

TEST_F(SettingsTest, FileThatCannotBeReadBehavesAsEmptyAndStays) {
  WriteIni("[options]\r\nextn0=*.x\r\ntotal_extn=0\r\n");
  win.fs.Find(kIniPath)->unreadable = true;
  settings.Load(options);
  EXPECT_EQ(options.OptionBox.Count(), 0);
  EXPECT_EQ(Texts(options.DrivesBox), (std::vector<std::string>{"C:\\-"}));
  EXPECT_EQ(win.fs.Content(kIniPath), "[options]\r\nextn0=*.x\r\ntotal_extn=0\r\n");
}

// Notepad saves "UTF-8 with BOM": the mark used to glue itself to the
// first section's name, so the masks read as none. It is read past, and
// written back where it was.
TEST_F(SettingsTest, AByteOrderMarkIsReadPastAndKept) {
  const std::string body =
      "[options]\r\nextn0=*.tmp\r\nextn_chkd0=1\r\nTempFiles=1\r\ntotal_extn=0\r\n"
      "total_chkd=1\r\n[drives]\r\ndrive0=C:\\\r\nchkd0=1\r\ntotal_drives=0\r\n"
      "drives_chkd=1\r\n";
  WriteIni("\xEF\xBB\xBF" + body);
  settings.Load(options);
  EXPECT_EQ(Texts(options.OptionBox), (std::vector<std::string>{"*.tmp+"}));
  EXPECT_TRUE(options.TempFiles.checked);
  EXPECT_EQ(settings.ReadScanSettings().totalChecked, 1);
  settings.Save(options);
  EXPECT_EQ(Ini(), "\xEF\xBB\xBF" + body) << "a second [options] or a lost mark";
  options.OptionBox.Add("*.bak", false);
  settings.Save(options);
  EXPECT_EQ(Ini().rfind("\xEF\xBB\xBF[options]\r\nextn0=*.tmp\r\n", 0), 0u);
  EXPECT_EQ(Ini().find("[options]", 4), std::string::npos);
}

// Values are read whole: a long mask cut short used to become all "*" and
// listed every file as unneeded.
TEST_F(SettingsTest, LongValuesReadWholeAndHugeCountsStayBounded) {
  const std::string mask = std::string(5000, '*') + ".tmp";
  WriteIni("[options]\r\nextn0=" + mask + "\r\ntotal_extn=2147483647\r\n"
           "[drives]\r\ndrive0=C:\\\r\ntotal_drives=2147483647\r\n");
  settings.Load(options);
  ASSERT_GE(options.OptionBox.Count(), 1);
  EXPECT_EQ(options.OptionBox.items[0].text, mask);
  EXPECT_LE(options.OptionBox.Count(), 2) << "as many items as the section can hold";
  EXPECT_EQ(Texts(options.DrivesBox), (std::vector<std::string>{"C:\\+"}));

  // A key present past the section's size still counts.
  WriteIni("[options]\r\nextn40=*.far\r\ntotal_extn=99999\r\n");
  settings.Load(options);
  ASSERT_EQ(options.OptionBox.Count(), 41);
  EXPECT_EQ(options.OptionBox.items[40].text, "*.far");
}

// The file is written once, whole; a failed write leaves the old file.
TEST_F(SettingsTest, SavingWritesOnceAndAFailureKeepsTheOldFile) {
  settings.Load(options);
  const std::string before = Ini();
  win.fs.writes = 0;
  options.OptionBox.Add("*.new", true);
  settings.Save(options);
  EXPECT_EQ(win.fs.writes, 1);
  EXPECT_NE(Ini().find("extn6=*.new\r\nextn_chkd6=1\r\n"), std::string::npos);

  const std::string saved = Ini();
  win.fs.failReplace = true;
  options.OptionBox.Add("*.lost", true);
  EXPECT_THROW(settings.Save(options), AppError);
  EXPECT_EQ(Ini(), saved);
  EXPECT_NE(before, saved);
}

TEST_F(SettingsTest, WriteFailureNamesTheFile) {
  win.fs.Find("C:\\Program Files\\Scourly")->readOnlyFolder = true;
  try {
    settings.Load(options);
    FAIL() << "no error for a folder that cannot be written";
  } catch (const AppError& e) {
    EXPECT_STREQ(e.what(), "Unable to write to C:\\Program Files\\Scourly\\settings.ini");
  }
  // The lists are built all the same.
  EXPECT_EQ(options.OptionBox.Count(), 6);
  EXPECT_EQ(options.DrivesBox.Count(), 1);
}

TEST(IniInteger, DecimalHexAndRejects) {
  const std::pair<const char*, std::optional<int32_t>> cases[] = {
      {"5", 5},          {"-1", -1},       {"0x1F", 31},   {"0X10", 16}, {"0x", std::nullopt},
      {"0xFFFFFFFF", -1}, {"12a", std::nullopt}, {"", std::nullopt}, {"true", std::nullopt},
      {"2147483648", std::nullopt}, {"-2147483648", INT32_MIN}};
  for (auto [text, expected] : cases) {
    int32_t value = 0;
    bool ok = ParseIniInteger(text, value);
    EXPECT_EQ(ok, expected.has_value()) << text;
    if (ok && expected) {
      EXPECT_EQ(value, *expected) << text;
    }
  }
}

TEST(IniFile, AppendsToTheRightSectionAndCreatesMissingOnes) {
  FakeWindows win;
  win.fs.WriteFile("C:\\t.ini", "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n");
  IniFile ini(win.fs, "C:\\t.ini");
  ini.WriteString("A", "z", "3");
  ini.WriteString("c", "w", "4");
  ini.WriteString("b", "Y", "5");
  ASSERT_EQ(ini.Save(), 0u);
  EXPECT_EQ(win.fs.Content("C:\\t.ini"), "[a]\r\nx=1\r\nz=3\r\n\r\n[b]\r\nY=5\r\n[c]\r\nw=4\r\n");
}

}  // namespace
}  // namespace scourly
