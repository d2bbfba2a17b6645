// The scan benchmark on real files under Windows (or Wine): the single
// traversal and the per-mask walks against a bare enumeration of the same
// tree, side by side in one run. Builds the tree on first use.
//   scourly_win_bench ROOT [folders] [files per folder]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "scan/unneeded_scan.h"
#include "scan/scan_progress.h"

using namespace scourly;

namespace {

double Seconds(const std::function<void()>& run) {
  auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

size_t BareEnumeration(FileSystem& fs, const std::string& folder) {
  size_t entries = 0;
  std::vector<std::string> subfolders;
  if (auto listing = fs.ListFolder(folder)) {
    FindEntry e;
    while (listing->Next(e)) {
      ++entries;
      if ((e.attributes & kAttrDirectory) && e.name != "." && e.name != "..")
        subfolders.push_back(folder + "\\" + e.name);
    }
  }
  for (const std::string& sub : subfolders) entries += BareEnumeration(fs, sub);
  return entries;
}

void BuildTree(const std::string& root, int folders, int perFolder) {
  const char* kinds[] = {".txt", ".doc", ".tmp", ".bak", ".dll", ".exe", ".old", ".jpg"};
  CreateDirectoryW(Widen(root).c_str(), nullptr);
  for (int f = 0; f < folders; ++f) {
    std::string group = root + "\\d" + std::to_string(f % 20);
    CreateDirectoryW(Widen(group).c_str(), nullptr);
    std::string folder = group + "\\sub" + std::to_string(f);
    CreateDirectoryW(Widen(folder).c_str(), nullptr);
    for (int i = 0; i < perFolder; ++i) {
      std::string path = folder + "\\file" + std::to_string(i) + kinds[(f + i) % 8];
      HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
      if (h == INVALID_HANDLE_VALUE) continue;
      std::string bytes((i % 5) * 10, 'x');
      DWORD written = 0;
      if (!bytes.empty()) ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
      CloseHandle(h);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: scourly_win_bench ROOT [folders] [files per folder]\n");
    return 2;
  }
  std::string root = argv[1];
  int folders = argc > 2 ? std::atoi(argv[2]) : 1000;
  int perFolder = argc > 3 ? std::atoi(argv[3]) : 20;
  if (GetFileAttributesW(Widen(root).c_str()) == INVALID_FILE_ATTRIBUTES) {
    double built = Seconds([&] { BuildTree(root, folders, perFolder); });
    std::printf("built the tree in %.1f s\n", built);
  }
  Win32FileSystem fs;
  Win32Locale locale;
  Win32Ui ui;
  ScanOptions options;
  for (const char* mask : {"*.tmp", "*.---", "*.??~", "*.bak", "*.old", "*.~*"})
    options.OptionBox.Add(mask, true);
  // The walkers take a drive letter; the benchmark walks the tree's folder
  // as if it were one.
  auto scan = [&](WalkStrategy strategy, size_t& rows) {
    StatusBar bar;
    bool stop = false;
    DateTexts dates(locale);
    ScanProgress progress(bar, ui, stop, 30);
    WalkContext ctx{fs, dates, progress};
    ScanState state;
    if (strategy == WalkStrategy::kSinglePass) {
      std::vector<FileMask> masks;
      for (const CheckItem& item : options.OptionBox.items) masks.emplace_back(item.text);
      SweepDrive(ctx, root, masks, state);
    } else {
      for (const CheckItem& item : options.OptionBox.items)
        FindMaskedFiles(ctx, root, FileMask(item.text), state, true);
      FindEmptyFiles(ctx, root + "\\*.*", state);
    }
    rows = state.rows.size();
  };

  size_t entries = 0, singleRows = 0, perMaskRows = 0;
  BareEnumeration(fs, root);  // warm the caches alike for every contender
  double bare = Seconds([&] { entries = BareEnumeration(fs, root); });
  double single = Seconds([&] { scan(WalkStrategy::kSinglePass, singleRows); });
  double perMask = Seconds([&] { scan(WalkStrategy::kPerMask, perMaskRows); });
  std::printf("tree: %zu entries; rows: %zu single, %zu per mask\n", entries, singleRows, perMaskRows);
  std::printf("bare enumeration   %8.3f s\n", bare);
  std::printf("single traversal   %8.3f s   %.2fx bare\n", single, single / bare);
  std::printf("one walk per mask  %8.3f s   %.2fx bare\n", perMask, perMask / bare);
  std::printf("single traversal is %.1fx faster than the per-mask walks\n", perMask / single);
  return singleRows == perMaskRows ? 0 : 1;
}
