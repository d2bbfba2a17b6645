// A Windows INI file with the private profile functions' rules: sections and
// keys match without regard to case (the first of two equal keys counts), a
// set key replaces its value where it stands or is appended at the end of its
// section, and a missing section is appended at the end of the file. Lines
// end in CR LF. Nothing is ever removed.
//
// The file is read once; changes collect in memory and Save() writes the
// whole file in one step, so the file on disk holds either its old text or
// all of the new one. A file that begins with the UTF-8 byte order mark (as
// editors save it) is read past the mark and written back with it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/filesystem.h"

namespace scourly {

class IniFile {
 public:
  // Reads the file once; a file that is missing or cannot be read behaves as
  // an empty one.
  IniFile(FileSystem& fs, std::string path);

  const std::string& path() const { return path_; }
  // The file is there but could not be read: it reads as empty.
  bool unreadable() const { return unreadable_; }

  // The whole value, however long.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& fallback) const;
  // Decimal, or hexadecimal after "0x"/"0X"; anything else gives `fallback`.
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t fallback) const;
  // An integer: non-zero is true; a value that is no number gives `fallback`.
  bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;

  // How many key lines `section` holds, and the highest n of the keys named
  // `stem` followed by the digits of n (-1 when there is none): what bounds
  // a loop over indexed keys, whatever count the file claims.
  int KeyCount(const std::string& section) const;
  int HighestIndex(const std::string& section, const std::string& stem) const;

  // How many items a list whose highest index the file gives as `last`
  // really has to read. A key missing inside the range still reads as its
  // default, but the range never runs past what the section can hold: no
  // more items than the section has key lines, unless a present indexed key
  // (of one of `stems`) lies beyond them. A claimed total of 2147483647 thus
  // reads a handful of items instead of running for ever.
  int ItemsToRead(const std::string& section, int32_t last,
                  std::initializer_list<const char*> stems) const;

  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int64_t value);
  void WriteBool(const std::string& section, const std::string& key, bool value);

  // Writes the file as it now stands. Returns 0 or the system error code;
  // on an error the file on disk is the old one.
  uint32_t Save();

 private:
  // Index of the line holding `key` in `section`, -1 when absent.
  int FindKey(const std::string& section, const std::string& key) const;
  int FindSection(const std::string& section) const;
  // Section and key positions, built on first use after a change of lines.
  void Index() const;

  FileSystem& fs_;
  std::string path_;
  std::vector<std::string> lines_;
  bool byteOrderMark_ = false;
  bool unreadable_ = false;
  mutable bool indexed_ = false;
  mutable std::unordered_map<std::string, int> sections_;  // lower-case name -> line
  mutable std::unordered_map<std::string, int> keys_;      // "section\nkey" lower case -> line
  mutable std::unordered_map<std::string, int> keyCounts_;  // lower-case section -> key lines
};

// A value text read as the settings file reads integers: optional sign and
// decimal digits, or "0x" with hex digits; false when it is no 32-bit number.
bool ParseIniInteger(const std::string& text, int32_t& value);

}  // namespace scourly
