#include "delete/protected_folders.h"

#include <cctype>
#include <set>

namespace scourly {
namespace {

struct SystemKind {
  KnownFolder folder;
  const char* what;
};
constexpr SystemKind kSystemKinds[] = {
    {KnownFolder::kWindows, "the Windows folder"},
    {KnownFolder::kProgramFiles, "a Program Files folder"},
    {KnownFolder::kProgramFilesX86, "a Program Files folder"},
    {KnownFolder::kProgramFilesX64, "a Program Files folder"},
    {KnownFolder::kUserProfiles, "the Users folder"},
};

struct ProfileKind {
  KnownFolder folder;
  const char* name;
};
constexpr ProfileKind kProfileKinds[] = {
    {KnownFolder::kDesktop, "Desktop"},         {KnownFolder::kDocuments, "Documents"},
    {KnownFolder::kDownloads, "Downloads"},     {KnownFolder::kPictures, "Pictures"},
    {KnownFolder::kMusic, "Music"},             {KnownFolder::kVideos, "Videos"},
    {KnownFolder::kFavorites, "Favorites"},     {KnownFolder::kRoamingAppData, "AppData"},
    {KnownFolder::kLocalAppData, "Local AppData"},
};

constexpr const char* kProfileWhat = "a user's profile folder";

std::string Folded(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

// `path` below `base` (both as the system names them): the part after
// "base\", or nothing.
std::optional<std::string> Below(const std::string& base, const std::string& path) {
  if (base.empty() || path.size() <= base.size() + 1 || path[base.size()] != '\\' ||
      Folded(path.substr(0, base.size())) != Folded(base))
    return std::nullopt;
  return path.substr(base.size() + 1);
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::vector<SystemFolder> SystemFolders(Shell& shell) {
  std::vector<SystemFolder> folders;
  std::set<std::string> seen;
  auto add = [&](const std::string& path, const std::string& what) {
    if (path.empty()) return;
    const std::string plain = WithoutTrailingSlash(path);
    if (seen.insert(Folded(plain)).second) folders.push_back({plain, what});
  };
  auto known = [&](KnownFolder folder, FolderOwner owner) {
    return WithoutTrailingSlash(shell.KnownFolderPath(folder, owner).value_or(""));
  };

  for (const SystemKind& kind : kSystemKinds) add(known(kind.folder, FolderOwner::kCurrentUser), kind.what);

  std::vector<std::string> profiles = {known(KnownFolder::kProfile, FolderOwner::kCurrentUser),
                                       known(KnownFolder::kPublic, FolderOwner::kCurrentUser)};
  for (const std::string& profile : shell.ProfileFolders()) profiles.push_back(profile);
  for (const std::string& profile : profiles) add(profile, kProfileWhat);

  for (const ProfileKind& kind : kProfileKinds) {
    const std::string what = std::string("a profile's ") + kind.name + " folder";
    add(known(kind.folder, FolderOwner::kCurrentUser), what);
    // Where the folder lies in the current user's and in the default
    // profile tells where it lies in every other profile.
    for (FolderOwner owner : {FolderOwner::kCurrentUser, FolderOwner::kDefaultUser}) {
      std::optional<std::string> below =
          Below(known(KnownFolder::kProfile, owner), known(kind.folder, owner));
      if (!below) continue;
      for (const std::string& profile : profiles) {
        if (!profile.empty()) add(WithoutTrailingSlash(profile) + "\\" + *below, what);
      }
    }
  }
  return folders;
}

void FolderGuard::Load() {
  loaded_ = true;
  for (SystemFolder& folder : SystemFolders(shell_)) {
    uint32_t error = 0;
    std::unique_ptr<OpenedItem> item = opener_.Open(folder.path, false, error);
    ItemStat stat;
    // A folder the machine does not have cannot be chosen either.
    if (!item || !item->Stat(stat) || stat.finalPath.empty()) continue;
    known_.push_back({stat.finalPath, std::move(folder.path), std::move(folder.what)});
  }
}

std::string FolderGuard::RootOf(const std::string& path) {
  std::string root;
  if (path.size() >= 2 && IsLetter(path[0]) && path[1] == ':') {
    root = path.substr(0, 2) + "\\";
  } else if (path.size() > 2 && path[0] == '\\' && path[1] == '\\') {
    const size_t server = path.find('\\', 2);
    const size_t share = server == std::string::npos ? server : path.find('\\', server + 1);
    root = (share == std::string::npos ? path : path.substr(0, share)) + "\\";
  } else {
    return {};
  }
  for (const auto& [text, finalPath] : roots_) {
    if (Folded(text) == Folded(root)) return finalPath;
  }
  uint32_t error = 0;
  ItemStat stat;
  std::unique_ptr<OpenedItem> item = opener_.Open(root, false, error);
  const std::string finalPath = item && item->Stat(stat) ? stat.finalPath : std::string();
  roots_.emplace_back(root, finalPath);
  return finalPath;
}

std::optional<std::string> FolderGuard::Refusal(const std::string& path, const ItemStat& stat) {
  // Where a folder really is must be known before it can go whole.
  if (stat.finalPath.empty()) return std::string("where it really is could not be told");
  const std::string root = RootOf(path);
  if (!root.empty() && root == stat.finalPath) return std::string("a drive root");
  if (!loaded_) Load();
  const std::string holder = stat.finalPath + "\\";
  for (const Known& k : known_) {
    if (k.finalPath == stat.finalPath) return k.what;
  }
  for (const Known& k : known_) {
    if (k.finalPath.compare(0, holder.size(), holder) == 0) return "holds " + k.path + ", " + k.what;
  }
  return std::nullopt;
}

}  // namespace scourly
