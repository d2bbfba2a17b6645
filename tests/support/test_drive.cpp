#include "tests/support/test_drive.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/win32/win32_platform.h"

namespace scourly::support {
namespace {

// T: is the only drive tests may delete from.
bool UnderTestDrive(const std::string& path) {
  return path.size() > 3 && (path[0] == 'T' || path[0] == 't') && path.compare(1, 2, ":\\") == 0 &&
         path.find("\\..") == std::string::npos;
}

// XDG trash paths escape bytes as %XX.
std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      out.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// Wine hands out the same process ids run after run, and the trash keeps
// what earlier runs put there: the start time tells the runs apart.
const std::string& RunId() {
  static const std::string id = [] {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    char text[32];
    snprintf(text, sizeof text, "%lx-%08lx", GetCurrentProcessId(), now.dwLowDateTime);
    return std::string(text);
  }();
  return id;
}

}  // namespace

bool MakeUnixLink(const std::string& link, const std::string& target) {
  static int made = 0;
  CreateDirectoryW(L"T:\\.links", nullptr);
  std::string request = "T:\\.links\\" + RunId() + "-" + std::to_string(++made);
  MakeFile(request + ".tmp", link + "\r\n" + target + "\r\n");
  // Renamed only once complete, so the maker never reads half a request.
  if (!MoveFileW(Widen(request + ".tmp").c_str(), Widen(request + ".req").c_str())) return false;
  for (int i = 0; i < 100; ++i) {
    if (GetFileAttributesW(Widen(request + ".req").c_str()) == INVALID_FILE_ATTRIBUTES)
      return GetFileAttributesW((L"\\\\?\\" + Widen(link)).c_str()) != INVALID_FILE_ATTRIBUTES ||
             GetLastError() != ERROR_FILE_NOT_FOUND;
    Sleep(50);
  }
  return false;
}

namespace {

// Hands a request to the maker and waits until it is done.
bool AskMaker(const std::string& kind, const std::string& text) {
  static int made = 0;
  CreateDirectoryW(L"T:\\.links", nullptr);
  const std::string request = "T:\\.links\\" + RunId() + "-m" + std::to_string(++made);
  MakeFile(request + ".tmp", text);
  if (!MoveFileW(Widen(request + ".tmp").c_str(), Widen(request + "." + kind).c_str()))
    return false;
  for (int i = 0; i < 100; ++i) {
    if (GetFileAttributesW(Widen(request + "." + kind).c_str()) == INVALID_FILE_ATTRIBUTES)
      return true;
    Sleep(50);
  }
  return false;
}

}  // namespace

bool ExistsExactly(const std::string& path) {
  return GetFileAttributesW((L"\\\\?\\" + Widen(path)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeUnixFile(const std::string& path, const std::string& bytes) {
  return AskMaker("file", path + "\r\n" + bytes) && ExistsExactly(path);
}

bool MakeUnixFolder(const std::string& path) {
  return AskMaker("dir", path + "\r\n") && ExistsExactly(path);
}

TestFolder::TestFolder(const std::string& name) {
  static int made = 0;  // every folder of a run has its own name
  path_ = "T:\\" + name + "-" + RunId() + "-" + std::to_string(++made);
  RemoveTree(path_);
  MakeFolder(path_);
}

TestFolder::~TestFolder() { RemoveTree(path_); }

void MakeFolder(const std::string& path) {
  if (!CreateDirectoryW(Widen(path).c_str(), nullptr))
    ADD_FAILURE() << "cannot create folder " << path << ": " << GetLastError();
}

void MakeFile(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    ADD_FAILURE() << "cannot create file " << path << ": " << GetLastError();
    return;
  }
  DWORD written = 0;
  if (!bytes.empty()) ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadAll(const std::string& path) {
  std::string bytes;
  HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return bytes;
  char chunk[4096];
  DWORD got = 0;
  while (::ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(h);
  return bytes;
}

void SetAttributes(const std::string& path, unsigned attributes) {
  if (!SetFileAttributesW(Widen(path).c_str(), attributes))
    ADD_FAILURE() << "cannot set attributes of " << path << ": " << GetLastError();
}

void RemoveTree(const std::string& path) {
  if (!UnderTestDrive(path)) {
    ADD_FAILURE() << "refusing to remove " << path << " outside the test drive";
    return;
  }
  RemoveTreeBelow(path, path.substr(0, 3));
}

void RemoveTreeBelow(const std::string& path, const std::string& root) {
  if (path.size() <= root.size() || path.compare(0, root.size(), root) != 0 ||
      path.find("\\..") != std::string::npos) {
    ADD_FAILURE() << "refusing to remove " << path << " outside " << root;
    return;
  }
  // Exact paths: "zero " must not remove "zero".
  std::wstring wide = L"\\\\?\\" + Widen(path);
  DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileW(wide.c_str());
    return;
  }
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {  // a link: never its target's contents
    RemoveDirectoryW(wide.c_str());
    return;
  }
  std::vector<std::string> children;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((wide + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = data.cFileName;
      if (name != L"." && name != L"..") children.push_back(path + "\\" + Narrow(name));
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  for (const std::string& child : children) RemoveTreeBelow(child, root);
  RemoveDirectoryW(wide.c_str());
}

std::string TrashedAs(const std::string& path) {
  // Wine records the original place as a Unix path through the prefix's
  // drive link: ".../dosdevices/t:/folder/name".
  return TrashedWithTail("/t:/" + path.substr(3));
}

std::string TrashedFromDriveC(const std::string& path) {
  // C: is the prefix's own drive_c, whichever way Wine spells its way there.
  return TrashedWithTail("/" + path.substr(3));
}

std::string TrashedWithTail(std::string tail) {
  for (char& c : tail) {
    if (c == '\\') c = '/';
  }
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(L"X:\\Trash\\info\\*.trashinfo", &data);
  if (find == INVALID_HANDLE_VALUE) return {};
  std::string found;
  do {
    std::string infoName = Narrow(data.cFileName);
    std::string info = ReadAll("X:\\Trash\\info\\" + infoName);
    size_t at = info.find("Path=");
    if (at == std::string::npos) continue;
    size_t end = info.find('\n', at);
    std::string original = Unescape(info.substr(at + 5, end == std::string::npos ? end : end - at - 5));
    if (!original.empty() && original.back() == '\r') original.pop_back();
    if (original.size() >= tail.size() &&
        original.compare(original.size() - tail.size(), tail.size(), tail) == 0) {
      found = "X:\\Trash\\files\\" + infoName.substr(0, infoName.size() - strlen(".trashinfo"));
      break;
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return found;
}

std::string ExeFolder() {
  wchar_t buffer[4096];
  DWORD n = GetModuleFileNameW(nullptr, buffer, 4096);
  std::wstring path(buffer, n);
  return Narrow(path.substr(0, path.rfind(L'\\') + 1));
}

RecycleBinRefusing::RecycleBinRefusing() {
  CreateDirectoryW(L"X:\\Trash", nullptr);
  CreateDirectoryW(L"X:\\Trash\\info", nullptr);
  aside_ = MoveFileW(L"X:\\Trash\\files", L"X:\\Trash\\files.aside") != FALSE;
  MakeFile("X:\\Trash\\files", "not a folder");
}

RecycleBinRefusing::~RecycleBinRefusing() {
  DeleteFileW(L"X:\\Trash\\files");
  // Wine makes the trash's folders once per process: a missing one would
  // keep refusing everything.
  if (!aside_ || !MoveFileW(L"X:\\Trash\\files.aside", L"X:\\Trash\\files"))
    CreateDirectoryW(L"X:\\Trash\\files", nullptr);
}

}  // namespace scourly::support

namespace scourly::support {

void RemoveProgramFile(const std::string& name) {
  if (name != "settings.ini" && name != "FList.txt" && name != "deleted.log" &&
      name != "deleted.log.1") {
    ADD_FAILURE() << "refusing to remove " << name << " beside the program";
    return;
  }
  std::wstring path = Widen(ExeFolder() + name);
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(path.c_str());
}

}  // namespace scourly::support
