// Win32FileSystem and Win32Locale against real files on the test drive.
#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "platform/win32/win32_platform.h"
#include "tests/support/test_drive.h"

namespace scourly {
namespace {

using support::Exists;
using support::MakeFile;
using support::MakeFolder;
using support::ExistsExactly;
using support::MakeUnixFile;
using support::MakeUnixFolder;
using support::MakeUnixLink;
using support::ReadAll;
using support::SetAttributes;
using support::TestFolder;

std::map<std::string, FindEntry> ListAll(FileSystem& fs, const std::string& folder) {
  std::map<std::string, FindEntry> entries;
  auto listing = fs.ListFolder(folder);
  if (!listing) {
    ADD_FAILURE() << "cannot list " << folder;
    return entries;
  }
  FindEntry entry;
  while (listing->Next(entry)) {
    EXPECT_EQ(entries.count(entry.name), 0u) << entry.name << " listed twice";
    entries[entry.name] = entry;
  }
  return entries;
}

TEST(Win32FileSystemListing, ReportsEveryEntryWithItsLongNameSizeAndAttributes) {
  Win32FileSystem fs;
  TestFolder dir("listing");
  const std::string unicode = "Grüße_日本.txt";
  MakeFile(dir / "plain.txt", "12345");
  MakeFile(dir / unicode, "abc");
  MakeFile(dir / "a;b.tmp", "");
  MakeFile(dir / "hidden.bak", "h");
  MakeFile(dir / "system.bak", "s");
  MakeFile(dir / "report.bakup", "r");  // has an 8.3 alias ending in .BAK
  MakeFolder(dir / "sub");
  SetAttributes(dir / "hidden.bak", FILE_ATTRIBUTE_HIDDEN);
  SetAttributes(dir / "system.bak", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);

  auto entries = ListAll(fs, dir.path());
  ASSERT_EQ(entries.size(), 9u);  // ".", ".." and seven entries
  ASSERT_TRUE(entries.count(".") && entries.count(".."));
  EXPECT_TRUE(entries["."].attributes & kAttrDirectory);
  EXPECT_EQ(entries["plain.txt"].size, 5u);
  EXPECT_EQ(entries[unicode].size, 3u) << "a name outside the ANSI code page must survive";
  EXPECT_EQ(entries["a;b.tmp"].size, 0u);
  EXPECT_TRUE(entries["hidden.bak"].attributes & kAttrHidden);
  EXPECT_EQ(entries["system.bak"].attributes & (kAttrSystem | kAttrReadOnly),
            kAttrSystem | kAttrReadOnly);
  EXPECT_TRUE(entries.count("report.bakup")) << "the long name, never the 8.3 alias";
  EXPECT_TRUE(entries["sub"].attributes & kAttrDirectory);
  EXPECT_FALSE(entries["plain.txt"].attributes & kAttrDirectory);

  // The write time is the file's own, in FILETIME ticks.
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExW(Widen(dir / "plain.txt").c_str(), GetFileExInfoStandard, &data));
  uint64_t ticks = (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                   data.ftLastWriteTime.dwLowDateTime;
  EXPECT_EQ(entries["plain.txt"].lastWrite, ticks);
}

TEST(Win32FileSystemListing, FailsForMissingFoldersAndDrives) {
  Win32FileSystem fs;
  TestFolder dir("missing");
  EXPECT_EQ(fs.ListFolder(dir / "nothing-here"), nullptr);
  EXPECT_EQ(fs.ListFolder("Q:"), nullptr);
}

TEST(Win32FileSystemListing, ListsDriveRootAndEmptyFolder) {
  Win32FileSystem fs;
  TestFolder dir("root");
  auto root = ListAll(fs, "T:");
  EXPECT_TRUE(root.count(dir.path().substr(3))) << "\"T:\" lists the drive root";
  // As on Windows, a drive root has no "." and ".." (the walkers must not
  // count on a first "." entry there).
  EXPECT_FALSE(root.count(".") || root.count(".."));
  MakeFolder(dir / "empty");
  auto empty = ListAll(fs, dir / "empty");
  EXPECT_EQ(empty.size(), 2u) << "an empty folder still has \".\" and \"..\"";
}

TEST(Win32FileSystemListing, ReportsSizesBeyondFourGigabytes) {
  Win32FileSystem fs;
  TestFolder dir("large");
  const std::string path = dir / "big.bin";
  HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD ignored;
  DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
  LARGE_INTEGER size;
  size.QuadPart = 5'000'000'123LL;  // over 4 GiB: the high word matters
  ASSERT_TRUE(SetFilePointerEx(h, size, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(h));
  CloseHandle(h);
  auto entries = ListAll(fs, dir.path());
  EXPECT_EQ(entries["big.bin"].size, 5'000'000'123ull);
}

TEST(Win32FileSystemListing, ReachesPathsLongerThanMaxPath) {
  Win32FileSystem fs;
  TestFolder dir("long");
  std::string path = dir.path();
  const std::string part(60, 'd');
  while (path.size() < 300) {
    path += "\\" + part;
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + Widen(path)).c_str(), nullptr)) << path;
  }
  const std::string file = path + "\\deep.tmp";
  ASSERT_EQ(fs.WriteFile(file, "deep"), 0u);
  EXPECT_TRUE(fs.FileExists(file));
  auto entries = ListAll(fs, path);
  EXPECT_EQ(entries["deep.tmp"].size, 4u);
  std::string bytes;
  EXPECT_TRUE(fs.ReadFile(file, bytes));
  EXPECT_EQ(bytes, "deep");
  uint32_t error = 0;
  auto opener = fs.NewItemOpener();  // an opened item uses its opener's link checks
  auto item = opener->Open(file, true, error);
  ASSERT_TRUE(item) << error;
  ItemStat stat;
  ASSERT_TRUE(item->Stat(stat));
  EXPECT_FALSE(stat.link) << "a long path is no link";
  EXPECT_EQ(item->Delete(), 0u);
  item.reset();
  EXPECT_FALSE(fs.FileExists(file));
}

TEST(Win32FileSystemDrives, TestDriveIsFixedAndUnmappedLettersHaveNoRoot) {
  Win32FileSystem fs;
  EXPECT_EQ(fs.DriveTypeOf("T:\\"), DriveType::kFixed);
  EXPECT_EQ(fs.DriveTypeOf("C:\\"), DriveType::kFixed);
  EXPECT_EQ(fs.DriveTypeOf("Q:\\"), DriveType::kNoRootDir);
  EXPECT_EQ(fs.DriveTypeOf("Z:\\"), DriveType::kNoRootDir) << "the host's root must not be mapped";
  EXPECT_NE(fs.DriveTypeOf("X:\\"), DriveType::kFixed) << "the trash drive must never be scanned";
}

TEST(Win32FileSystemFolders, TempAndProgramFoldersEndInBackslash) {
  Win32FileSystem fs;
  std::string temp = fs.TempPath();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(fs.FileExists(temp));
  wchar_t classic[MAX_PATH + 1];
  DWORD n = ::GetTempPathW(MAX_PATH + 1, classic);
  EXPECT_EQ(temp, Narrow(std::wstring(classic, n)));

  std::string program = fs.ProgramFolder();
  EXPECT_EQ(program, support::ExeFolder());
  EXPECT_TRUE(fs.FileExists(program + "wine_tests.exe")) << program;
}

TEST(Win32FileSystemFolders, TempPathHasNoLengthLimit) {
  Win32FileSystem fs;
  TestFolder dir("temp");
  std::string longTemp = dir.path() + "\\" + std::string(120, 't') + "\\Grüße";
  ASSERT_TRUE(CreateDirectoryW(Widen(dir.path() + "\\" + std::string(120, 't')).c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(Widen(longTemp).c_str(), nullptr));
  wchar_t saved[4096];
  DWORD savedLength = GetEnvironmentVariableW(L"TMP", saved, 4096);
  SetEnvironmentVariableW(L"TMP", Widen(longTemp).c_str());
  std::string temp = fs.TempPath();
  SetEnvironmentVariableW(L"TMP", savedLength ? saved : nullptr);
  EXPECT_EQ(temp, longTemp + "\\") << "over 99 characters, not cut";
}

TEST(Win32FileSystemFiles, WritesReadsAndReplacesWholeFiles) {
  Win32FileSystem fs;
  TestFolder dir("files");
  const std::string path = dir / "Grüße;1.ini";
  std::string bytes;
  EXPECT_FALSE(fs.ReadFile(path, bytes));
  EXPECT_FALSE(fs.FileExists(path));

  std::string binary("a\0b\r\nc", 6);
  ASSERT_EQ(fs.WriteFile(path, binary), 0u);
  ASSERT_TRUE(fs.ReadFile(path, bytes));
  EXPECT_EQ(bytes, binary);
  ASSERT_EQ(fs.WriteFile(path, "x"), 0u);  // truncates
  ASSERT_TRUE(fs.ReadFile(path, bytes));
  EXPECT_EQ(bytes, "x");
  std::string big(200'000, 'q');  // more than one read chunk
  ASSERT_EQ(fs.WriteFile(path, big), 0u);
  ASSERT_TRUE(fs.ReadFile(path, bytes));
  EXPECT_EQ(bytes, big);

  EXPECT_EQ(fs.WriteFile(dir / "no-folder\\x.ini", "x"), static_cast<uint32_t>(ERROR_PATH_NOT_FOUND));
  // (A read-only target is no portable failure here: Wine keeps the
  // attribute in the Unix mode bits, which do not stop root.)
}

// Deleting for good goes through the handle that was checked; read-only
// files, folders and files another program holds stay.
TEST(Win32FileSystemItems, DeleteLeavesReadOnlyLockedFilesAndFolders) {
  Win32FileSystem fs;
  TestFolder dir("delete");
  MakeFile(dir / "gone.tmp");
  MakeFile(dir / "ro.tmp");
  MakeFile(dir / "locked.tmp");
  MakeFolder(dir / "folder");
  SetAttributes(dir / "ro.tmp", FILE_ATTRIBUTE_READONLY);
  auto opener = fs.NewItemOpener();
  auto deleted = [&](const std::string& path) {
    uint32_t error = 0;
    auto item = opener->Open(path, true, error);
    return item ? item->Delete() : error;
  };

  EXPECT_EQ(deleted(dir / "gone.tmp"), 0u);
  EXPECT_FALSE(Exists(dir / "gone.tmp"));
  EXPECT_NE(deleted(dir / "ro.tmp"), 0u);
  EXPECT_TRUE(Exists(dir / "ro.tmp"));
  EXPECT_TRUE(GetFileAttributesW(Widen(dir / "ro.tmp").c_str()) & FILE_ATTRIBUTE_READONLY)
      << "attributes must not be changed";
  EXPECT_NE(deleted(dir / "folder"), 0u);
  EXPECT_TRUE(Exists(dir / "folder"));
  HANDLE h = CreateFileW(Widen(dir / "locked.tmp").c_str(), GENERIC_READ, FILE_SHARE_READ,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(deleted(dir / "locked.tmp"), static_cast<uint32_t>(ERROR_SHARING_VIOLATION));
  CloseHandle(h);
  EXPECT_TRUE(Exists(dir / "locked.tmp"));
  EXPECT_EQ(deleted(dir / "never-there.tmp"), static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
}

// Wine shows a Unix symbolic link as a plain file (with its target's size)
// or as a folder: the opener must still see a link, whatever the link is
// called, and must not take plain items for links.
// What the item at `path` is, opened as a deletion opens it.
ItemStat StatOf(ItemOpener& opener, const std::string& path) {
  uint32_t error = 0;
  ItemStat facts;
  auto item = opener.Open(path, false, error);
  EXPECT_TRUE(item && item->Stat(facts)) << path << " error " << error;
  return facts;
}

TEST(Win32FileSystemItems, LinksAreToldFromPlainItems) {
  Win32FileSystem fs;
  TestFolder dir("links");
  TestFolder elsewhere("elsewhere");
  MakeFile(dir / "plain.txt", "plain");
  MakeFolder(dir / "sub");
  MakeFile(dir / "sub" + "\\inner.txt", "inner");
  MakeFile(elsewhere / "target.txt", "target");
  MakeFolder(elsewhere / "dir");
  MakeFile(elsewhere / "dir" + "\\in.txt", "in");
  ASSERT_TRUE(MakeUnixLink(dir / "file-link.txt", elsewhere / "target.txt"));
  ASSERT_TRUE(MakeUnixLink(dir / "near-link.txt", "plain.txt"));
  ASSERT_TRUE(MakeUnixLink(dir / "folder-link", elsewhere / "dir"));
  auto opener = fs.NewItemOpener();
  auto linkAt = [&](const std::string& path) {
    uint32_t error = 0;
    auto item = opener->Open(path, false, error);
    EXPECT_TRUE(item) << path << " error " << error;
    ItemStat stat;
    if (!item || !item->Stat(stat)) return -1;
    return stat.link ? 1 : 0;
  };
  EXPECT_EQ(linkAt(dir / "plain.txt"), 0);
  EXPECT_EQ(linkAt(dir / "PLAIN.TXT"), 0) << "another case is the same file";
  EXPECT_EQ(linkAt(dir / "sub"), 0);
  EXPECT_EQ(linkAt(dir / "sub" + "\\inner.txt"), 0);
  EXPECT_EQ(linkAt(dir / "file-link.txt"), 1);
  EXPECT_EQ(linkAt(dir / "near-link.txt"), 1) << "a link beside its target";
  EXPECT_EQ(linkAt(dir / "folder-link"), 1);
  EXPECT_EQ(linkAt(dir / "folder-link" + "\\in.txt"), 1) << "a file reached through a link";
  uint32_t error = 0;
  auto link = opener->Open(dir / "file-link.txt", false, error);
  ItemStat stat;
  ASSERT_TRUE(link && link->Stat(stat));
  EXPECT_EQ(stat.size, 6u) << "Wine reports the target's size";

  // A look by path: what opening tells, but for a link to a file, which only
  // the opened item's final path gives away.
  using Glance = ItemOpener::Glance;
  struct Case {
    std::string path;
    Glance glance;
    bool link;
  } cases[] = {
      {dir / "plain.txt", Glance::kSeen, false},
      {dir / "PLAIN.TXT", Glance::kSeen, false},
      {dir / "sub" + "\\inner.txt", Glance::kSeen, false},
      {dir / "folder-link" + "\\in.txt", Glance::kSeen, true},
      {dir / "file-link.txt", Glance::kSeen, false},
      {dir / "sub", Glance::kOpen, false},
      {dir / "folder-link", Glance::kOpen, false},
      {dir / "missing.txt", Glance::kMissing, false},
      {dir / "missing" + "\\in.txt", Glance::kMissing, false},
  };
  for (const Case& c : cases) {
    ItemStat seen;
    EXPECT_EQ(opener->Look(c.path, seen), c.glance) << c.path;
    if (c.glance != Glance::kSeen) continue;
    EXPECT_EQ(seen.link, c.link) << c.path;
    if (c.link || c.path == dir / "file-link.txt") continue;
    const ItemStat opened = StatOf(*opener, c.path);
    EXPECT_EQ(std::tie(seen.attributes, seen.size, seen.lastWrite, seen.finalPath),
              std::tie(opened.attributes, opened.size, opened.lastWrite, opened.finalPath))
        << c.path;
  }
}

// Names that Windows programs cannot make but other systems and archives
// do: "zero " and "dot." are listed as they are, and every path that came
// from a listing reaches that very item, never "zero" or "dot" beside it.
TEST(Win32FileSystemItems, NamesEndingInASpaceOrADotReachTheirOwnItem) {
  Win32FileSystem fs;
  TestFolder dir("exact");
  ASSERT_TRUE(MakeUnixFile(dir / "zero ", "ZERO-SPACE"));
  ASSERT_TRUE(MakeUnixFile(dir / "dot.", "DOTTED"));
  ASSERT_TRUE(MakeUnixFile(dir / "nul.tmp", "NOT A DEVICE"));
  MakeFile(dir / "zero", "Z");
  MakeFile(dir / "dot", "D");
  ASSERT_TRUE(MakeUnixFolder(dir / "dir."));
  ASSERT_TRUE(MakeUnixFile(dir / "dir." + "\\inner", "in the dotted folder"));
  MakeFolder(dir / "dir");
  MakeFile(dir / "dir" + "\\inner", "x");
  ASSERT_TRUE(MakeUnixLink(dir / "lnk ", "zero"));  // a link named like the file it points at

  std::map<std::string, FindEntry> listed = ListAll(fs, dir.path());
  for (const char* name : {"zero ", "dot.", "nul.tmp", "dir.", "lnk "})
    EXPECT_EQ(listed.count(name), 1u) << "\"" << name << "\" is not listed as it is";
  EXPECT_EQ(ListAll(fs, dir / "dir.")["inner"].size, 20u) << "the dotted folder's own content";

  auto opener = fs.NewItemOpener();
  auto stat = [&](const std::string& path) { return StatOf(*opener, path); };
  const ItemStat zeroSpace = stat(dir / "zero "), zero = stat(dir / "zero");
  EXPECT_EQ(zeroSpace.size, 10u);
  EXPECT_FALSE(zeroSpace.link) << "a plain file taken for a link";
  EXPECT_NE(std::make_pair(zeroSpace.finalPath, zeroSpace.fileId),
            std::make_pair(zero.finalPath, zero.fileId))
      << "two files taken for one";
  EXPECT_EQ(stat(dir / "dot.").size, 6u);
  EXPECT_FALSE(stat(dir / "dot.").link);
  EXPECT_EQ(stat(dir / "nul.tmp").size, 12u);
  EXPECT_EQ(stat(dir / "dir." + "\\inner").size, 20u);
  EXPECT_FALSE(stat(dir / "dir." + "\\inner").link);
  EXPECT_TRUE(stat(dir / "lnk ").link) << "a link whose name Wine shortens to its target's";
  for (const char* name : {"zero ", "dot.", "dir.\\inner"}) {
    ItemStat seen;
    EXPECT_EQ(opener->Look(dir / name, seen), ItemOpener::Glance::kOpen)
        << name << ": only its number tells it from the item without the space or dot";
  }

  // A deletion through the checked handle takes exactly the listed file.
  for (const char* name : {"zero ", "dot.", "dir.\\inner"}) {
    uint32_t error = 0;
    auto item = opener->Open(dir / name, true, error);
    ASSERT_TRUE(item) << name;
    EXPECT_EQ(item->Delete(), 0u) << name;
  }
  EXPECT_FALSE(ExistsExactly(dir / "zero "));
  EXPECT_FALSE(ExistsExactly(dir / "dot."));
  EXPECT_FALSE(ExistsExactly(dir / "dir." + "\\inner"));
  EXPECT_EQ(ReadAll(dir / "zero"), "Z");
  EXPECT_EQ(ReadAll(dir / "dot"), "D");
  EXPECT_EQ(ReadAll(dir / "dir" + "\\inner"), "x");
}

// A short 8.3 path and the long one name one item: the same final path and
// number. Another case too; a hard link of its own would differ in path.
TEST(Win32FileSystemItems, ShortAndLongPathsOfOneItemAreOneItem) {
  Win32FileSystem fs;
  TestFolder dir("identity");
  MakeFolder(dir / "Temporary Files");
  MakeFile(dir / "Temporary Files" + "\\report.longextension", "r");
  MakeFile(dir / "other.longextension", "r");
  wchar_t shortPath[MAX_PATH];
  ASSERT_GT(GetShortPathNameW(Widen(dir / "Temporary Files" + "\\report.longextension").c_str(),
                              shortPath, MAX_PATH),
            0u);
  ASSERT_NE(Narrow(shortPath).find('~'), std::string::npos) << Narrow(shortPath);
  auto opener = fs.NewItemOpener();
  auto who = [&](const std::string& path) {
    const ItemStat facts = StatOf(*opener, path);
    EXPECT_FALSE(facts.link) << path;
    EXPECT_FALSE(facts.finalPath.empty()) << path;
    return std::make_pair(facts.finalPath, facts.fileId);
  };
  const auto id = who(dir / "Temporary Files" + "\\report.longextension");
  EXPECT_EQ(who(Narrow(shortPath)), id);
  EXPECT_EQ(who(dir / "TEMPORARY FILES" + "\\Report.LongExtension"), id);
  EXPECT_NE(who(dir / "other.longextension"), id);
  ItemStat seen;
  ASSERT_EQ(opener->Look(dir / "temporary files" + "\\REPORT.longextension", seen),
            ItemOpener::Glance::kSeen);
  EXPECT_EQ(seen.finalPath, id.first) << "a look names the item as opening it does";
}

uint64_t TicksOf(WORD year, WORD month, WORD day) {
  SYSTEMTIME st = {};
  st.wYear = year;
  st.wMonth = month;
  st.wDay = day;
  st.wHour = 12;
  FILETIME ft;
  EXPECT_TRUE(SystemTimeToFileTime(&st, &ft));
  return (uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
}

TEST(Win32LocaleDates, ShortDateHoldsYearsBeyondTheDosRange) {
  Win32Locale locale;
  for (WORD year : {1601, 1979, 2024, 2107, 2108, 2200, 30000}) {
    SYSTEMTIME st = {};
    st.wYear = year;
    st.wMonth = 3;
    st.wDay = 4;
    wchar_t expected[100];
    ASSERT_GT(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, expected, 100), 0);
    std::string text = locale.ShortDate(TicksOf(year, 3, 4));
    EXPECT_EQ(text, Narrow(expected)) << "year " << year;
    EXPECT_NE(text.find(std::to_string(year)), std::string::npos) << text;
  }
  EXPECT_EQ(locale.ShortDate(~uint64_t{0}), "") << "no FILETIME, no date";
}

TEST(Win32LocaleDates, LocalTimeIsTheSystemsConversion) {
  Win32Locale locale;
  uint64_t utc = TicksOf(2024, 6, 1);
  FILETIME in = {static_cast<DWORD>(utc), static_cast<DWORD>(utc >> 32)}, out;
  ASSERT_TRUE(FileTimeToLocalFileTime(&in, &out));
  EXPECT_EQ(locale.ToLocalFileTime(utc), (uint64_t{out.dwHighDateTime} << 32) | out.dwLowDateTime);
}

}  // namespace
}  // namespace scourly
