// An in-memory Windows for tests: drives with folder trees (attributes, sizes,
// times, contents), drive types, a temporary folder, a Recycle Bin behind the
// deletion library, scripted message-box answers and a message pump that runs
// whatever a test wants to happen "while the user clicks".
#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/fake/fake_date_format.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_url_cache.h"
#include "platform/fake/fake_version.h"
#include "platform/platform.h"
#include "platform/views.h"

namespace scourly::fake {

// 2024-03-15 12:00 UTC as FILETIME ticks.
inline constexpr uint64_t kDefaultTime = 133549776000000000ULL;

class FakeFileSystem : public FileSystem {
 public:
  struct Node {
    std::string name;
    uint32_t attributes = 0;
    uint64_t size = 0;
    uint64_t lastWrite = kDefaultTime;
    std::string content;
    bool locked = false;       // open elsewhere: cannot be deleted
    bool unreadable = false;   // exists but cannot be read
    bool readOnlyFolder = false;  // no file can be created in it
    std::string shortName;     // an 8.3 alias that opens it too (case ignored)
    std::string linkTarget;    // a junction lists its target's entries
    bool symlink = false;      // a link that lists as a plain file or folder
    std::vector<std::unique_ptr<Node>> children;  // in listing order
  };

  FakeFileSystem();

  // ---- Building the machine ----
  // A drive "X" of the given type, with an empty root.
  void AddDrive(char letter, DriveType type = DriveType::kFixed);
  // Creates missing parent folders as plain folders.
  Node& AddFolder(const std::string& path, uint32_t attributes = kAttrDirectory);
  Node& AddFile(const std::string& path, uint64_t size, uint32_t attributes = kAttrArchive,
                uint64_t lastWrite = kDefaultTime);
  // A folder that is a junction to `target`.
  Node& AddJunction(const std::string& path, const std::string& target);
  void SetTempPath(std::string path) { tempPath_ = std::move(path); }
  void SetProgramFolder(std::string path) { programFolder_ = std::move(path); }

  Node* Find(const std::string& path);
  // Resolves a path to its node; `parent` receives the folder holding it,
  // `viaLink` whether a link on the way was followed, `longPath` the path by
  // the long names as the tree spells them.
  Node* Resolve(const std::string& path, Node** parent = nullptr, bool* viaLink = nullptr,
                std::string* longPath = nullptr);
  bool Exists(const std::string& path) { return Find(path) != nullptr; }
  // Removes the node at `path` from the tree and hands it over.
  std::unique_ptr<Node> Take(const std::string& path);

  // Held by what a deletion may do from several threads at once (items
  // opened, checked and deleted, short names made long, the log appended):
  // the tree is not otherwise safe to share.
  std::recursive_mutex& ItemLock() { return itemLock_; }
  // Keeps a node deleted through an opened item for as long as the tree
  // lives, as a handle keeps a deleted file's object: another item opened
  // on it meanwhile still reads it.
  void KeepDeleted(std::unique_ptr<Node> node) {
    if (node) deleted_.push_back(std::move(node));
  }
  std::string Content(const std::string& path);

  // Folder listings opened, for tests of the walk's cost. The tree may be
  // read (listed, opened) from several threads at once, as long as nobody
  // changes it meanwhile.
  std::atomic<int> listings{0};

  // ---- FileSystem ----
  std::unique_ptr<FolderListing> ListFolder(const std::string& folder) override;
  DriveType DriveTypeOf(const std::string& root) override;
  std::string TempPath() override { return tempPath_; }
  std::string ProgramFolder() override { return programFolder_; }
  bool FileExists(const std::string& path) override { return Exists(path); }
  bool FindFirstFinds(const std::string& path) override;
  bool ReadFile(const std::string& path, std::string& bytes) override;
  uint32_t WriteFile(const std::string& path, const std::string& bytes) override;
  uint32_t WriteFileSafely(const std::string& path, const std::string& bytes) override;
  std::unique_ptr<ItemOpener> NewItemOpener() override;
  std::unique_ptr<AppendingFile> OpenForAppend(const std::string& path, uint32_t& error) override;
  uint32_t MoveReplacing(const std::string& from, const std::string& to) override;
  std::optional<std::string> LongPathName(const std::string& path) override;

  int writes = 0;             // WriteFile and ReplaceFile calls
  bool failReplace = false;   // ReplaceFile fails (a full disk), the old file stays

 private:
  struct Drive {
    DriveType type = DriveType::kFixed;
    Node root;
  };

  Node* Follow(Node* node);
  // The folder at `path`, created with its parents where missing.
  Node& EnsureFolder(const std::string& path);

  std::map<char, Drive> drives_;
  std::string tempPath_ = "C:\\WINDOWS\\TEMP\\";
  std::string programFolder_ = "C:\\Program Files\\Scourly\\";
  std::recursive_mutex itemLock_;
  std::vector<std::unique_ptr<Node>> deleted_;
};

struct ShownMessage {
  std::string text;
  std::string caption;
  MsgButtons buttons;
  MsgIcon icon;
};

class FakeUi : public Ui {
 public:
  MsgResult ShowMessage(const std::string& text, const std::string& caption, MsgButtons buttons,
                       MsgIcon icon) override;
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void SetHourglass(bool on) override {
    hourglass = on;
    hourglassChanges.push_back(on);
  }
  void PumpMessages() override {
    ++pumps;
    if (onPump) onPump();
  }
  void RunWhileAnswering(const std::function<void()>& work) override { work(); }

  std::deque<MsgResult> answers;  // answers to Yes/No questions, in order (default No)
  std::vector<ShownMessage> messages;
  std::vector<std::string> errors;
  bool hourglass = false;
  std::vector<bool> hourglassChanges;
  int pumps = 0;
  std::function<void()> onPump;
  std::function<void()> onMessage;  // runs while a message box is up
};

// Short dates as "dd.mm.yyyy" of the local day; the bias is settable. List
// texts compare byte by byte with ASCII letters folded to small letters (a
// stand-in for the linguistic order; tests of the order itself run against
// the real list box).
class FakeLocale : public Locale {
 public:
  uint64_t ToLocalFileTime(uint64_t utcTicks) override { return utcTicks + biasTicks; }
  std::string ShortDate(uint64_t localTicks) override;
  int CompareListText(const std::string& a, const std::string& b) override;
  std::string ListSortKey(const std::string& text) override;
  int64_t biasTicks = 0;
  int comparisons = 0;  // CompareListText calls
  int sortKeys = 0;     // ListSortKey calls
};

// The deletion library: moves what "FList.txt" names into `recycleBin`.
class FakePurgix : public Purgix {
 public:
  explicit FakePurgix(FakeFileSystem& fs) : fs_(fs) {}
  bool Available() override { return available; }
  void DoDelete() override;

  bool available = true;
  int calls = 0;
  std::string lastHandOff;               // the file as the library read it
  std::vector<std::string> recycleBin;  // paths moved there, in order

 private:
  FakeFileSystem& fs_;
};

// The shell: special folders by number, links by path, and what was opened
// or browsed.
class FakeShell : public Shell {
 public:
  std::optional<std::string> SpecialFolderPath(int csidl) override;
  void Open(const std::string& target, ShowCommand show) override {
    opened.push_back({target, show});
  }
  std::optional<std::string> BrowseForFolder(const std::string& preselect) override;
  std::optional<std::string> BrowseForFile() override;
  bool ReadShortcut(const std::string& linkPath, ShortcutFields& fields) override;

  std::optional<std::string> KnownFolderPath(KnownFolder folder, FolderOwner owner) override;
  std::vector<std::string> ProfileFolders() override { return profiles; }

  // A machine's usual layout under `usersFolder` for the current user
  // `user` and the default profile, with the other `others` in the profile
  // list; the folders are made in `fs`.
  void AddUsers(FakeFileSystem& fs, const std::string& usersFolder, const std::string& user,
                const std::vector<std::string>& others = {});

  std::map<int, std::string> specialFolders;  // a number missing here cannot be resolved
  // A folder missing here is one the system does not have.
  std::map<std::pair<KnownFolder, FolderOwner>, std::string> knownFolders;
  std::vector<std::string> profiles;
  std::map<std::string, ShortcutFields> links;  // a path missing here is no link
  // Reading a link at one of these paths raises AppError with the text (as
  // when COM cannot be initialised).
  std::map<std::string, std::string> linkErrors;
  struct Opened {
    std::string target;
    ShowCommand show;
  };
  std::vector<Opened> opened;
  std::deque<std::optional<std::string>> browseAnswers;  // default: cancelled
  std::vector<std::string> browsePreselected;
  std::deque<std::optional<std::string>> fileAnswers;  // the file dialog's; default: cancelled
  int linkReads = 0;
  std::vector<std::string> linksRead;  // every path asked for, in order
};

class FakeView : public FormView {
 public:
  void Show() override { ++shows; }
  void ShowModal() override {
    ++modalShows;
    if (whileModal) whileModal();
  }
  void Hide() override { ++hides; }
  void Close() override { ++closes; }
  int shows = 0, modalShows = 0, hides = 0, closes = 0;
  std::function<void()> whileModal;
};

// A whole machine: C: fixed with the program's folder, ready for a test.
struct FakeWindows {
  FakeWindows();
  FakeFileSystem fs;
  FakeUi ui;
  FakeLocale locale;
  FakePurgix purgix{fs};
  FakeShell shell;
  FakeUrlCache urlCache;
  FakeRegistry registry;
  FakeDateFormat dateFormat;
  FakeVersionInfo version;
  Platform platform{fs, ui, locale, purgix, shell, urlCache, registry, dateFormat, version};
};

// FILETIME ticks of a UTC calendar day at noon.
uint64_t TicksOf(int year, int month, int day);

}  // namespace scourly::fake
