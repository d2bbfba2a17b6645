#include "options/settings_file.h"

#include <algorithm>
#include <initializer_list>

#include "lists/app_error.h"
#include "options/ini_file.h"

namespace scourly {
namespace {

// Each setting is declared once: section, key (or key stem) and the default
// read when the key is missing.
constexpr const char* kOptions = "options";
constexpr const char* kDrives = "drives";
constexpr const char* kExtnStem = "extn";            // text, default "-1"
constexpr const char* kExtnCheckedStem = "extn_chkd";  // bool, default true
constexpr const char* kTempFiles = "TempFiles";      // bool, default false
constexpr const char* kTotalExtn = "total_extn";     // int, default -1
constexpr const char* kTotalChecked = "total_chkd";  // int, default -1
constexpr const char* kDriveStem = "drive";          // text, default "-1"
constexpr const char* kDriveCheckedStem = "chkd";    // bool, default true
constexpr const char* kTotalDrives = "total_drives"; // int, default -1
constexpr const char* kDrivesChecked = "drives_chkd"; // int, never read
constexpr const char* kMissingText = "-1";

const char* const kDefaultMasks[] = {"*.tmp", "*.---", "*.??~", "*.bak", "*.old", "*.~*"};

std::string Indexed(const char* stem, int i) { return stem + std::to_string(i); }

}  // namespace

SettingsFile::SettingsFile(FileSystem& fs) : fs_(fs) {}

std::string SettingsFile::Path() const { return fs_.ProgramFolder() + kSettingsFileName; }

std::vector<std::string> SettingsFile::FixedDrives() const {
  std::vector<std::string> roots;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    std::string root = std::string(1, letter) + ":\\";
    if (fs_.DriveTypeOf(root) == DriveType::kFixed) roots.push_back(root);
  }
  return roots;
}

void SettingsFile::ResetFileTypes(ScanOptions& options) {
  options.OptionBox.Clear();
  for (const char* mask : kDefaultMasks) options.OptionBox.Add(mask, true);
  options.TempFiles.checked = false;
}

void SettingsFile::Load(ScanOptions& options) {
  options.OptionBox.Clear();
  options.DrivesBox.Clear();
  std::string path = Path();
  if (!fs_.FileExists(path)) {
    ResetFileTypes(options);
    for (const std::string& root : FixedDrives()) options.DrivesBox.Add(root, true);
    Save(options);
    return;
  }

  IniFile ini(fs_, path);
  const int types = ini.ItemsToRead(kOptions, ini.ReadInteger(kOptions, kTotalExtn, -1),
                                    {kExtnStem, kExtnCheckedStem});
  for (int i = 0; i < types; ++i) {
    options.OptionBox.Add(ini.ReadString(kOptions, Indexed(kExtnStem, i), kMissingText),
                          ini.ReadBool(kOptions, Indexed(kExtnCheckedStem, i), true));
  }
  for (const std::string& root : FixedDrives()) options.DrivesBox.Add(root, false);
  options.TempFiles.checked = ini.ReadBool(kOptions, kTempFiles, false);

  const int drives = ini.ItemsToRead(kDrives, ini.ReadInteger(kDrives, kTotalDrives, -1),
                                     {kDriveStem, kDriveCheckedStem});
  for (int i = 0; i < drives; ++i) {
    std::string root = ini.ReadString(kDrives, Indexed(kDriveStem, i), kMissingText);
    for (CheckItem& item : options.DrivesBox.items) {
      if (item.text == root) {
        item.checked = ini.ReadBool(kDrives, Indexed(kDriveCheckedStem, i), true);
        break;
      }
    }
  }
}

void SettingsFile::Save(const ScanOptions& options) {
  IniFile ini(fs_, Path());
  // Each item's text then its flag; returns the number of checked items.
  auto writeList = [&](const char* section, const char* textStem, const char* checkedStem,
                       const CheckList& list) {
    int checked = 0;
    for (int i = 0; i < list.Count(); ++i) {
      ini.WriteString(section, Indexed(textStem, i), list.items[i].text);
      ini.WriteBool(section, Indexed(checkedStem, i), list.items[i].checked);
      checked += list.items[i].checked;
    }
    return checked;
  };
  int checkedTypes = writeList(kOptions, kExtnStem, kExtnCheckedStem, options.OptionBox);
  ini.WriteBool(kOptions, kTempFiles, options.TempFiles.checked);
  int checkedDrives = writeList(kDrives, kDriveStem, kDriveCheckedStem, options.DrivesBox);
  ini.WriteInteger(kOptions, kTotalExtn, options.OptionBox.Count() - 1);
  ini.WriteInteger(kOptions, kTotalChecked, checkedTypes);
  ini.WriteInteger(kDrives, kTotalDrives, options.DrivesBox.Count() - 1);
  ini.WriteInteger(kDrives, kDrivesChecked, checkedDrives);
  // One write of the whole file: a failure leaves the old file whole.
  if (ini.Save() != 0) throw AppError("Unable to write to " + ini.path());
}

bool SettingsFile::Unreadable() const { return IniFile(fs_, Path()).unreadable(); }

ScanFileSettings SettingsFile::ReadScanSettings() const {
  IniFile ini(fs_, Path());
  return {ini.ReadInteger(kOptions, kTotalChecked, -1), ini.ReadBool(kOptions, kTempFiles, false)};
}

}  // namespace scourly
