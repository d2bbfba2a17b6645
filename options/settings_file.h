// The scan options and their settings file "settings.ini" beside the
// executable: loading, the defaults and saving.
#pragma once

#include <string>

#include "lists/controls.h"
#include "platform/filesystem.h"

namespace scourly {

inline constexpr const char* kSettingsFileName = "settings.ini";

// The three models the options dialog holds and the scanners read live.
struct ScanOptions {
  CheckList OptionBox;  // file-type masks
  CheckList DrivesBox;  // fixed drive roots such as "C:\"
  CheckBox TempFiles;   // "Windows Temporary Files"
};

// The two values the unneeded-file scan reads from the file itself.
struct ScanFileSettings {
  int32_t totalChecked = -1;  // "total_chkd"
  bool tempFiles = false;     // "TempFiles"
};

class SettingsFile {
 public:
  explicit SettingsFile(FileSystem& fs);

  std::string Path() const;

  // Loads the options; applies and saves the defaults when there is no file.
  // Throws AppError("Unable to write to ...") when the defaults cannot be
  // saved; the lists are built all the same.
  void Load(ScanOptions& options);

  // The default file types, checked; clears the temporary files flag.
  static void ResetFileTypes(ScanOptions& options);

  // Writes every key in one write of the whole file; throws
  // AppError("Unable to write to ...") when it cannot be written, and the
  // file on disk then is the one that was there before.
  void Save(const ScanOptions& options);

  // Read afresh from the file at each scan.
  ScanFileSettings ReadScanSettings() const;

  // The file is there but cannot be read now: saving would replace what it
  // holds with options that were never read from it.
  bool Unreadable() const;

 private:
  // Every fixed drive A: to Z: as "X:\", in letter order.
  std::vector<std::string> FixedDrives() const;

  FileSystem& fs_;
};

}  // namespace scourly
