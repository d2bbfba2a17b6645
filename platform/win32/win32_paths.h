// Paths as the file functions take them, and the test that a path leads
// straight to its item. Shared by the program's file services and by
// Purgix.dll, so both refuse a link by the same rule.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

#include "platform/filesystem.h"

namespace scourly::win32 {

// `path` in the form the file functions accept at any length: an absolute
// drive path ("C:\...") or UNC path ("\\server\share\...") too long for the
// classic limit gets the "\\?\" (or "\\?\UNC\") prefix. Short and relative
// paths pass unchanged, so their usual parsing holds.
std::wstring ApiPath(const std::wstring& path);

// The exact form of a path that came from a folder listing: "\\?\" (or
// "\\?\UNC\") before an absolute path of any length, so every name is taken
// as it stands. The classic parse would drop a trailing space or dot ("zero "
// would open "zero"), and read "nul.txt" as a device. A path that is not a
// plain absolute one (relative, with "." or ".." parts, "/" or doubled
// separators) came from no listing and gets ApiPath's form.
std::wstring ExactPath(const std::wstring& path);

// Opens the item at exactly `path` (ExactPath) without following a final
// link (a folder too), sharing it with everyone; with DELETE access when
// `forDelete`.
HANDLE OpenExact(const std::wstring& path, bool forDelete);

// What an opened item is, and whether its path leads straight to it.
struct ItemFacts {
  DWORD attributes = 0;
  uint64_t size = 0;
  uint64_t lastWrite = 0;  // FILETIME ticks, UTC
  bool link = false;
  // Who it is (see ItemStat): its final path, long names, upper case; and
  // the file system's number for it. Filled by LinkCheck::Facts (Leads
  // reads the number only where the final path may be another item's).
  std::wstring identity;
  uint64_t fileId = 0;
};

// An opened item's attributes, size and last-write time; `link` set only
// for a reparse point. False when they cannot be read.
bool ReadFacts(HANDLE item, ItemFacts& facts);

// Tells links apart from plain items. A path is a link when the item is a
// reparse point, when a folder on its way is one, or when the opened item's
// final path is not its folder's final path followed by its name: that is
// how a Unix symbolic link looks under Wine, which shows it as a plain file
// or folder. Comparing with the folder's final path (not with the path
// itself) keeps substituted and mapped drives and 8.3 folder names from
// looking like links; the long name of a short last name is looked up. Wine
// drops trailing dots, and a last name's trailing spaces, from final paths
// ("T:\dir.\zero " reads "T:\dir\zero"): such a path passes when the path
// so shortened leads to no item, or to another one (a link named so leads to
// the same item, with the same number). Folders are looked up once each.
class LinkCheck {
 public:
  // `path` is the path `item` was opened by, without the "\\?\" prefix.
  // False when the facts cannot be read.
  bool Facts(HANDLE item, const std::wstring& path, ItemFacts& facts);

  // Only whether `item`, opened by `path`, is what the path names straight,
  // and who it is: the attributes are read by the path, the number only for
  // a path whose final path may be another item's (a name ending in a space
  // or a dot), so the item's own data is never fetched (under Wine a round
  // trip to the server). Size and time are not filled in.
  bool Leads(HANDLE item, const std::wstring& path, ItemFacts& facts);

  // The facts of the file at `path` read by its path, without opening it
  // (under Wine an opening is two round trips to the server, a look by path
  // none): `link` for a reparse point or a folder on the way that is one,
  // its identity from its folder's final path and its name (no file
  // number). Blind to a Unix symbolic link to a file, which Wine shows as a
  // plain file and only an opened item's final path gives away. kOpen for a
  // folder, a path with a "~" (a short alias, maybe), a path the final path
  // would write otherwise (a name ending in a space or a dot: such a final
  // path may be another item's), or a folder whose final path is not known.
  ItemOpener::Glance LookAt(const std::wstring& path, ItemFacts& facts);

 private:
  struct Folder {
    bool known = false;      // its final path could be read
    bool reparse = false;    // it or a folder above it is a reparse point
    std::wstring finalPath;  // without a trailing backslash
  };
  const Folder& FolderOf(const std::wstring& folder);
  // Facts' and Leads' common part, once the attributes (and where needed the
  // number) are in `facts`: the identity, and `link` from the final path.
  bool Follow(HANDLE item, const std::wstring& path, ItemFacts& facts);

  std::map<std::wstring, Folder> folders_;
};

// Where an open item really is: its path with every link on the way
// resolved, in the system's own form ("\??\C:\..." or "\Device\..."), good
// for comparing two such paths; empty when it cannot be read.
std::wstring FinalPath(HANDLE h);

// The file system's number of an open item (0 when it cannot be read).
uint64_t FileNumber(HANDLE h);

}  // namespace scourly::win32
