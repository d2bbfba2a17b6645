#include "platform/fake/fake_windows.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "lists/app_error.h"

namespace scourly::fake {
namespace {

constexpr uint64_t kTicksPerDay = 864000000000ULL;
constexpr int64_t kDaysFrom1601To1970 = 134774;

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// A path part names a node by its long name or by its 8.3 alias.
bool Names(const FakeFileSystem::Node& node, const std::string& part) {
  return SameText(node.name, part) || (!node.shortName.empty() && SameText(node.shortName, part));
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// "C:\a\b" -> drive 'C' and {"a", "b"}; false for anything else.
bool SplitPath(const std::string& path, char& drive, std::vector<std::string>& parts) {
  if (path.size() < 2 || path[1] != ':' || !std::isalpha(static_cast<unsigned char>(path[0])))
    return false;
  drive = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
  parts.clear();
  size_t start = 2;
  while (start <= path.size()) {
    size_t slash = path.find('\\', start);
    size_t end = slash == std::string::npos ? path.size() : slash;
    if (end > start) parts.push_back(path.substr(start, end - start));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return true;
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void CivilFromDays(int64_t z, int& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t yy = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<int>(yy + (m <= 2));
}

int64_t DaysFromCivil(int y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

class VectorListing : public FolderListing {
 public:
  explicit VectorListing(std::vector<FindEntry> entries) : entries_(std::move(entries)) {}
  bool Next(FindEntry& entry) override {
    if (next_ >= entries_.size()) return false;
    entry = entries_[next_++];
    return true;
  }

 private:
  std::vector<FindEntry> entries_;
  size_t next_ = 0;
};

FindEntry EntryOf(const FakeFileSystem::Node& n, const std::string& name) {
  return FindEntry{name, n.attributes, n.size, n.lastWrite};
}

}  // namespace

uint64_t TicksOf(int year, int month, int day) {
  int64_t days = DaysFromCivil(year, month, day) + kDaysFrom1601To1970;
  return static_cast<uint64_t>(days) * kTicksPerDay + kTicksPerDay / 2;
}

FakeFileSystem::FakeFileSystem() = default;

void FakeFileSystem::AddDrive(char letter, DriveType type) {
  Drive& d = drives_[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))];
  d.type = type;
  d.root.attributes = kAttrDirectory;
}

FakeFileSystem::Node* FakeFileSystem::Follow(Node* node) {
  // A junction shows its target's entries; a broken one shows nothing.
  int hops = 0;
  while (node && !node->linkTarget.empty() && hops++ < 8) node = Resolve(node->linkTarget);
  return node;
}

FakeFileSystem::Node* FakeFileSystem::Resolve(const std::string& path, Node** parent,
                                              bool* viaLink, std::string* longPath) {
  if (viaLink) *viaLink = false;
  char drive;
  std::vector<std::string> parts;
  if (!SplitPath(path, drive, parts)) return nullptr;
  auto it = drives_.find(drive);
  if (it == drives_.end()) return nullptr;
  Node* node = &it->second.root;
  Node* holder = nullptr;
  if (longPath) *longPath = std::string(1, drive) + ":";
  for (const std::string& part : parts) {
    Node* folder = Follow(node);
    if (!folder) return nullptr;
    if (viaLink && (folder != node || node->symlink)) *viaLink = true;
    Node* next = nullptr;
    for (auto& child : folder->children) {
      if (Names(*child, part)) {
        next = child.get();
        break;
      }
    }
    if (!next) return nullptr;
    holder = folder;
    node = next;
    if (longPath) *longPath += "\\" + node->name;
  }
  if (parent) *parent = holder;
  return node;
}

FakeFileSystem::Node* FakeFileSystem::Find(const std::string& path) { return Resolve(path); }

FakeFileSystem::Node& FakeFileSystem::AddFolder(const std::string& path, uint32_t attributes) {
  Node& folder = EnsureFolder(path);
  folder.attributes = attributes | kAttrDirectory;
  return folder;
}

FakeFileSystem::Node& FakeFileSystem::EnsureFolder(const std::string& path) {
  char drive;
  std::vector<std::string> parts;
  SplitPath(path, drive, parts);
  if (!drives_.count(drive)) AddDrive(drive);
  Node* node = &drives_[drive].root;
  for (const std::string& part : parts) {
    Node* next = nullptr;
    for (auto& child : node->children) {
      if (SameText(child->name, part)) next = child.get();
    }
    if (!next) {
      auto child = std::make_unique<Node>();
      child->name = part;
      child->attributes = kAttrDirectory;
      next = child.get();
      node->children.push_back(std::move(child));
    }
    node = next;
  }
  return *node;
}

FakeFileSystem::Node& FakeFileSystem::AddFile(const std::string& path, uint64_t size,
                                              uint32_t attributes, uint64_t lastWrite) {
  size_t slash = path.rfind('\\');
  Node& folder = EnsureFolder(path.substr(0, slash <= 2 ? 2 : slash));
  auto file = std::make_unique<Node>();
  file->name = path.substr(slash + 1);
  file->attributes = attributes;
  file->size = size;
  file->lastWrite = lastWrite;
  Node& added = *file;
  folder.children.push_back(std::move(file));
  return added;
}

FakeFileSystem::Node& FakeFileSystem::AddJunction(const std::string& path,
                                                  const std::string& target) {
  Node& node = AddFolder(path, kAttrDirectory | kAttrReparsePoint);
  node.linkTarget = target;
  return node;
}

std::unique_ptr<FakeFileSystem::Node> FakeFileSystem::Take(const std::string& path) {
  Node* parent = nullptr;
  Node* node = Resolve(path, &parent);
  if (!node || !parent) return nullptr;
  for (auto it = parent->children.begin(); it != parent->children.end(); ++it) {
    if (it->get() == node) {
      std::unique_ptr<Node> taken = std::move(*it);
      parent->children.erase(it);
      return taken;
    }
  }
  return nullptr;
}

std::string FakeFileSystem::Content(const std::string& path) {
  Node* node = Find(path);
  return node ? node->content : std::string();
}

std::unique_ptr<FolderListing> FakeFileSystem::ListFolder(const std::string& folder) {
  std::string path = folder;
  if (path.size() > 2 && path.back() == '\\') path.pop_back();
  Node* node = Resolve(path);
  if (!node || !(node->attributes & kAttrDirectory)) return nullptr;
  ++listings;
  Node* content = Follow(node);
  std::vector<FindEntry> entries;
  bool root = path.size() == 2;
  if (!root) {
    // "." carries the folder's own attributes, as on NTFS.
    entries.push_back(EntryOf(*node, "."));
    entries.push_back(FindEntry{"..", kAttrDirectory, 0, kDefaultTime});
  }
  if (content) {
    for (auto& child : content->children) entries.push_back(EntryOf(*child, child->name));
  }
  return std::make_unique<VectorListing>(std::move(entries));
}

DriveType FakeFileSystem::DriveTypeOf(const std::string& root) {
  if (root.size() < 2) return DriveType::kNoRootDir;
  auto it = drives_.find(static_cast<char>(std::toupper(static_cast<unsigned char>(root[0]))));
  return it == drives_.end() ? DriveType::kNoRootDir : it->second.type;
}

bool FakeFileSystem::ReadFile(const std::string& path, std::string& bytes) {
  Node* node = Find(path);
  if (!node || node->unreadable || (node->attributes & kAttrDirectory)) return false;
  bytes = node->content;
  return true;
}

uint32_t FakeFileSystem::WriteFile(const std::string& path, const std::string& bytes) {
  constexpr uint32_t kAccessDenied = 5, kPathNotFound = 3;
  ++writes;
  Node* node = Find(path);
  if (node) {
    if ((node->attributes & (kAttrReadOnly | kAttrDirectory)) || node->locked) return kAccessDenied;
  } else {
    size_t slash = path.rfind('\\');
    if (slash == std::string::npos) return kPathNotFound;
    Node* folder = Follow(Resolve(path.substr(0, slash == 2 ? 2 : slash)));
    if (!folder || !(folder->attributes & kAttrDirectory)) return kPathNotFound;
    if (folder->readOnlyFolder) return kAccessDenied;
    node = &AddFile(path, 0);
  }
  node->content = bytes;
  node->size = bytes.size();
  return 0;
}

bool FakeFileSystem::FindFirstFinds(const std::string& path) {
  char drive;
  std::vector<std::string> parts;
  // A root has no entry of its own to report.
  if (!SplitPath(path, drive, parts) || parts.empty()) return false;
  return Exists(path);
}

uint32_t FakeFileSystem::WriteFileSafely(const std::string& path, const std::string& bytes) {
  if (failReplace) {
    ++writes;
    return 112;  // disk full; the old file is untouched
  }
  return WriteFile(path, bytes);
}

// An item opened by path; it keeps pointing at the node it opened, as a
// handle does.
class FakeItem : public OpenedItem {
 public:
  FakeItem(FakeFileSystem& fs, FakeFileSystem::Node* node, std::string path, bool viaLink,
           bool forDelete, std::string longPath)
      : fs_(fs),
        node_(node),
        path_(std::move(path)),
        viaLink_(viaLink),
        forDelete_(forDelete),
        longPath_(std::move(longPath)) {}

  bool Stat(ItemStat& stat) override {
    std::lock_guard<std::recursive_mutex> hold(fs_.ItemLock());
    stat = StatOf(*node_, viaLink_, longPath_);
    return true;
  }

  // What an item opened so says of itself.
  static ItemStat StatOf(const FakeFileSystem::Node& node, bool viaLink,
                         const std::string& longPath) {
    const bool link = viaLink || node.symlink || !node.linkTarget.empty();
    // Behind a link the path says nothing of where the item lives.
    return ItemStat{node.attributes, node.size, node.lastWrite, link,
                    link ? std::string() : Upper(longPath), reinterpret_cast<uintptr_t>(&node)};
  }

  uint32_t Delete() override {
    std::lock_guard<std::recursive_mutex> hold(fs_.ItemLock());
    if (!forDelete_ || (node_->attributes & (kAttrReadOnly | kAttrDirectory)))
      return kErrorAccessDenied;
    if (node_->locked) return kErrorSharingViolation;
    if (fs_.Find(path_) != node_) return kErrorAccessDenied;  // moved away meanwhile
    fs_.KeepDeleted(fs_.Take(path_));
    return 0;
  }

 private:
  FakeFileSystem& fs_;
  FakeFileSystem::Node* node_;
  std::string path_;
  bool viaLink_;
  bool forDelete_;
  std::string longPath_;
};

namespace {

class FakeItemOpener : public ItemOpener {
 public:
  explicit FakeItemOpener(FakeFileSystem& fs) : fs_(fs) {}
  std::unique_ptr<OpenedItem> Open(const std::string& path, bool forDelete,
                                   uint32_t& error) override {
    std::lock_guard<std::recursive_mutex> hold(fs_.ItemLock());
    bool viaLink = false;
    std::string longPath;
    FakeFileSystem::Node* node = fs_.Resolve(path, nullptr, &viaLink, &longPath);
    if (!node) {
      error = kErrorFileNotFound;
      return nullptr;
    }
    // A program that holds a file open keeps others from deleting it.
    if (forDelete && node->locked) {
      error = kErrorSharingViolation;
      return nullptr;
    }
    error = 0;
    return std::make_unique<FakeItem>(fs_, node, path, viaLink, forDelete, std::move(longPath));
  }

  // Sees what opening sees, as the system's look does for a plain file.
  Glance Look(const std::string& path, ItemStat& stat) override {
    std::lock_guard<std::recursive_mutex> hold(fs_.ItemLock());
    if (path.find('~') != std::string::npos) return Glance::kOpen;  // maybe a short alias
    bool viaLink = false;
    std::string longPath;
    const FakeFileSystem::Node* node = fs_.Resolve(path, nullptr, &viaLink, &longPath);
    if (!node) return Glance::kMissing;
    if (node->attributes & kAttrDirectory) return Glance::kOpen;
    stat = FakeItem::StatOf(*node, viaLink, longPath);
    stat.fileId = 0;
    return Glance::kSeen;
  }

 private:
  FakeFileSystem& fs_;
};

}  // namespace

std::unique_ptr<ItemOpener> FakeFileSystem::NewItemOpener() {
  return std::make_unique<FakeItemOpener>(*this);
}

namespace {

// Appends to the node at its path, looked up afresh for every write as the
// file may have been moved away in between.
class FakeAppendingFile : public AppendingFile {
 public:
  FakeAppendingFile(FakeFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
  uint64_t Size() override {
    std::lock_guard<std::recursive_mutex> hold(fs_.ItemLock());
    FakeFileSystem::Node* node = fs_.Find(path_);
    return node ? node->content.size() : 0;
  }
  uint32_t Append(const std::string& bytes) override {
    std::lock_guard<std::recursive_mutex> hold(fs_.ItemLock());
    FakeFileSystem::Node* node = fs_.Find(path_);
    if (!node) return kErrorFileNotFound;
    if (node->locked) return kErrorSharingViolation;
    node->content += bytes;
    node->size = node->content.size();
    return 0;
  }

 private:
  FakeFileSystem& fs_;
  std::string path_;
};

}  // namespace

std::unique_ptr<AppendingFile> FakeFileSystem::OpenForAppend(const std::string& path,
                                                             uint32_t& error) {
  std::lock_guard<std::recursive_mutex> hold(itemLock_);
  Node* node = Find(path);
  if (node && ((node->attributes & (kAttrReadOnly | kAttrDirectory)) || node->locked)) {
    error = kErrorAccessDenied;
    return nullptr;
  }
  if (!node && (error = WriteFile(path, ""))) return nullptr;
  error = 0;
  return std::make_unique<FakeAppendingFile>(*this, path);
}

uint32_t FakeFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  Node* source = Find(from);
  if (!source) return kErrorFileNotFound;
  if (source->locked) return kErrorSharingViolation;
  if (Node* old = Find(to)) {
    if ((old->attributes & kAttrReadOnly) || old->locked) return kErrorAccessDenied;
    Take(to);
  }
  std::string content = Content(from);
  std::unique_ptr<Node> moved = Take(from);
  if (uint32_t error = WriteFile(to, content)) return error;
  return 0;
}

std::optional<std::string> FakeFileSystem::LongPathName(const std::string& path) {
  std::lock_guard<std::recursive_mutex> hold(itemLock_);
  char drive;
  std::vector<std::string> parts;
  if (!SplitPath(path, drive, parts) || !drives_.count(drive)) return std::nullopt;
  std::string out = path.substr(0, 2);
  Node* node = &drives_[drive].root;
  for (const std::string& part : parts) {
    Node* folder = Follow(node);
    Node* next = nullptr;
    for (auto& child : folder ? folder->children : node->children) {
      if (Names(*child, part)) next = child.get();
    }
    if (!next) return std::nullopt;
    out += "\\" + next->name;
    node = next;
  }
  if (parts.empty() || path.back() == '\\') out += "\\";
  return out;
}

MsgResult FakeUi::ShowMessage(const std::string& text, const std::string& caption,
                             MsgButtons buttons, MsgIcon icon) {
  messages.push_back({text, caption, buttons, icon});
  if (onMessage) onMessage();
  if (buttons == MsgButtons::kOk) return MsgResult::kOk;
  if (answers.empty()) return MsgResult::kNo;
  MsgResult answer = answers.front();
  answers.pop_front();
  return answer;
}

std::string FakeLocale::ShortDate(uint64_t localTicks) {
  int64_t days = static_cast<int64_t>(localTicks / kTicksPerDay) - kDaysFrom1601To1970;
  int y;
  unsigned m, d;
  CivilFromDays(days, y, m, d);
  char text[32];
  std::snprintf(text, sizeof text, "%02u.%02u.%04d", d, m, y);
  return text;
}

namespace {

unsigned char FoldAscii(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

}  // namespace

int FakeLocale::CompareListText(const std::string& a, const std::string& b) {
  ++comparisons;
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int d = FoldAscii(a[i]) - FoldAscii(b[i]);
    if (d != 0) return d;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

std::string FakeLocale::ListSortKey(const std::string& text) {
  ++sortKeys;
  std::string key(text);
  for (char& c : key) c = static_cast<char>(FoldAscii(c));
  return key;
}

void FakePurgix::DoDelete() {
  ++calls;
  lastHandOff = fs_.Content(fs_.ProgramFolder() + "FList.txt");
  size_t start = 0;
  while (start < lastHandOff.size()) {
    size_t end = lastHandOff.find("\r\n", start);
    if (end == std::string::npos) end = lastHandOff.size();
    std::string path = lastHandOff.substr(start, end - start);
    start = end + 2;
    auto* node = fs_.Find(path);
    if (!node || node->locked) continue;
    if (fs_.Take(path)) recycleBin.push_back(path);
  }
}

FakeWindows::FakeWindows() {
  fs.AddDrive('C');
  fs.AddFolder("C:\\Program Files\\Scourly");
  fs.AddFolder("C:\\WINDOWS\\TEMP");
}

std::optional<std::string> FakeShell::SpecialFolderPath(int csidl) {
  auto it = specialFolders.find(csidl);
  if (it == specialFolders.end()) return std::nullopt;
  return it->second;
}

std::optional<std::string> FakeShell::KnownFolderPath(KnownFolder folder, FolderOwner owner) {
  auto it = knownFolders.find({folder, owner});
  if (it == knownFolders.end()) return std::nullopt;
  return it->second;
}

void FakeShell::AddUsers(FakeFileSystem& fs, const std::string& usersFolder,
                         const std::string& user, const std::vector<std::string>& others) {
  struct Layout {
    KnownFolder folder;
    const char* below;  // below the profile
  };
  static const Layout kLayout[] = {
      {KnownFolder::kDesktop, "Desktop"},       {KnownFolder::kDocuments, "Documents"},
      {KnownFolder::kDownloads, "Downloads"},   {KnownFolder::kPictures, "Pictures"},
      {KnownFolder::kMusic, "Music"},           {KnownFolder::kVideos, "Videos"},
      {KnownFolder::kFavorites, "Favorites"},   {KnownFolder::kRoamingAppData, "AppData\\Roaming"},
      {KnownFolder::kLocalAppData, "AppData\\Local"},
  };
  const std::string profile = usersFolder + "\\" + user;
  const std::string defaultProfile = usersFolder + "\\Default";
  knownFolders[{KnownFolder::kUserProfiles, FolderOwner::kCurrentUser}] = usersFolder;
  knownFolders[{KnownFolder::kProfile, FolderOwner::kCurrentUser}] = profile;
  knownFolders[{KnownFolder::kProfile, FolderOwner::kDefaultUser}] = defaultProfile;
  knownFolders[{KnownFolder::kPublic, FolderOwner::kCurrentUser}] = usersFolder + "\\Public";
  for (const Layout& l : kLayout) {
    knownFolders[{l.folder, FolderOwner::kCurrentUser}] = profile + "\\" + l.below;
    knownFolders[{l.folder, FolderOwner::kDefaultUser}] = defaultProfile + "\\" + l.below;
  }
  profiles = {profile, defaultProfile, usersFolder + "\\Public"};
  for (const std::string& other : others) profiles.push_back(usersFolder + "\\" + other);
  for (const std::string& p : profiles) {
    for (const Layout& l : kLayout) fs.AddFolder(p + "\\" + l.below);
  }
}

std::optional<std::string> FakeShell::BrowseForFolder(const std::string& preselect) {
  browsePreselected.push_back(preselect);
  if (browseAnswers.empty()) return std::nullopt;
  std::optional<std::string> answer = browseAnswers.front();
  browseAnswers.pop_front();
  return answer;
}

std::optional<std::string> FakeShell::BrowseForFile() {
  if (fileAnswers.empty()) return std::nullopt;
  std::optional<std::string> answer = fileAnswers.front();
  fileAnswers.pop_front();
  return answer;
}

bool FakeShell::ReadShortcut(const std::string& linkPath, ShortcutFields& fields) {
  ++linkReads;
  linksRead.push_back(linkPath);
  if (auto error = linkErrors.find(linkPath); error != linkErrors.end())
    throw AppError(error->second);
  auto it = links.find(linkPath);
  if (it == links.end()) return false;
  fields = it->second;
  return true;
}

}  // namespace scourly::fake
