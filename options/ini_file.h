// A Windows INI file read and written one key at a time, with the private
// profile functions' rules: sections and keys match without regard to case,
// a written key replaces its value where it stands or is appended at the end
// of its section, and a missing section is appended at the end of the file.
// Lines end in CR LF. Nothing is ever removed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/filesystem.h"

namespace scourly {

class IniFile {
 public:
  // Reads the file once; a file that is missing or cannot be read behaves as
  // an empty one.
  IniFile(FileSystem& fs, std::string path);

  const std::string& path() const { return path_; }

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& fallback) const;
  // Decimal, or hexadecimal after "0x"/"0X"; anything else gives `fallback`.
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t fallback) const;
  // An integer: non-zero is true; a value that is no number gives `fallback`.
  bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;

  // Each write goes to disk at once. Returns 0 or the system error code; the
  // file on disk then holds every earlier write.
  uint32_t WriteString(const std::string& section, const std::string& key,
                       const std::string& value);
  uint32_t WriteInteger(const std::string& section, const std::string& key, int64_t value);
  uint32_t WriteBool(const std::string& section, const std::string& key, bool value);

 private:
  // Index of the line holding `key` in `section`, -1 when absent.
  int FindKey(const std::string& section, const std::string& key) const;
  int FindSection(const std::string& section) const;

  FileSystem& fs_;
  std::string path_;
  std::vector<std::string> lines_;
};

// A value text read as the settings file reads integers: optional sign and
// decimal digits, or "0x" with hex digits; false when it is no 32-bit number.
bool ParseIniInteger(const std::string& text, int32_t& value);

}  // namespace scourly
