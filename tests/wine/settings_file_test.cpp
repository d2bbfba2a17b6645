// The settings file through the real file system: written beside the test
// program, with the fixed drives Wine reports.
#include <windows.h>

#include <gtest/gtest.h>

#include "options/settings_file.h"
#include "platform/win32/win32_platform.h"
#include "tests/support/test_drive.h"

namespace scourly {
namespace {

using support::ExeFolder;
using support::ReadAll;
using support::RemoveProgramFile;

class SettingsFileOnDisk : public testing::Test {
 protected:
  void SetUp() override { RemoveProgramFile("settings.ini"); }
  void TearDown() override { RemoveProgramFile("settings.ini"); }

  std::string path() const { return ExeFolder() + "settings.ini"; }
  Win32FileSystem fs;
};

std::string FirstStartFile(const std::vector<std::string>& fixedRoots) {
  std::string text =
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
      "[drives]\r\n";
  for (size_t i = 0; i < fixedRoots.size(); ++i) {
    text += "drive" + std::to_string(i) + "=" + fixedRoots[i] + "\r\n";
    text += "chkd" + std::to_string(i) + "=1\r\n";
  }
  text += "total_drives=" + std::to_string(static_cast<int>(fixedRoots.size()) - 1) + "\r\n";
  text += "drives_chkd=" + std::to_string(fixedRoots.size()) + "\r\n";
  return text;
}

TEST_F(SettingsFileOnDisk, FirstStartWritesTheDefaultsForTheFixedDrivesWineReports) {
  std::vector<std::string> fixed;
  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
    std::wstring root = std::wstring(1, letter) + L":\\";
    if (GetDriveTypeW(root.c_str()) == DRIVE_FIXED) fixed.push_back(Narrow(root));
  }
  ScanOptions options;
  SettingsFile settings(fs);
  EXPECT_EQ(settings.Path(), path());
  settings.Load(options);

  EXPECT_EQ(ReadAll(path()), FirstStartFile(fixed));
  ASSERT_EQ(options.DrivesBox.Count(), static_cast<int>(fixed.size()));
  EXPECT_EQ(options.OptionBox.Count(), 6);
}

TEST_F(SettingsFileOnDisk, FirstStartOnTheTestPrefixHoldsDrivesCAndT) {
  // The test prefix has exactly two fixed drives: C: and the test drive T:
  // (P: and X: are network drives, Z: is removed).
  SettingsFile settings(fs);
  ScanOptions options;
  settings.Load(options);
  const std::string expected =
      "[options]\r\nextn0=*.tmp\r\nextn_chkd0=1\r\nextn1=*.---\r\nextn_chkd1=1\r\n"
      "extn2=*.??~\r\nextn_chkd2=1\r\nextn3=*.bak\r\nextn_chkd3=1\r\nextn4=*.old\r\n"
      "extn_chkd4=1\r\nextn5=*.~*\r\nextn_chkd5=1\r\nTempFiles=0\r\ntotal_extn=5\r\n"
      "total_chkd=6\r\n[drives]\r\ndrive0=C:\\\r\nchkd0=1\r\ndrive1=T:\\\r\nchkd1=1\r\n"
      "total_drives=1\r\ndrives_chkd=2\r\n";
  EXPECT_EQ(ReadAll(path()), expected);
}

TEST_F(SettingsFileOnDisk, SavedChoicesLoadBackAndOldKeysStay) {
  SettingsFile settings(fs);
  ScanOptions options;
  settings.Load(options);
  ASSERT_EQ(options.DrivesBox.Count(), 2);
  options.DrivesBox.items[0].checked = false;  // C: off, T: on
  options.OptionBox.items.resize(2);
  options.OptionBox.items[1].checked = false;
  options.OptionBox.Add("*.Grüße", true);
  options.TempFiles.checked = true;
  settings.Save(options);

  ScanOptions loaded;
  settings.Load(loaded);
  ASSERT_EQ(loaded.OptionBox.Count(), 3);
  EXPECT_EQ(loaded.OptionBox.items[2].text, "*.Grüße");
  EXPECT_FALSE(loaded.OptionBox.items[1].checked);
  EXPECT_FALSE(loaded.DrivesBox.items[0].checked);
  EXPECT_TRUE(loaded.DrivesBox.items[1].checked);
  EXPECT_TRUE(loaded.TempFiles.checked);
  ScanFileSettings scan = settings.ReadScanSettings();
  EXPECT_EQ(scan.totalChecked, 2);
  EXPECT_TRUE(scan.tempFiles);
  std::string bytes = ReadAll(path());
  EXPECT_NE(bytes.find("extn5=*.~*\r\n"), std::string::npos) << "keys beyond the list stay";
  EXPECT_NE(bytes.find("total_extn=2\r\n"), std::string::npos);
}

}  // namespace
}  // namespace scourly
