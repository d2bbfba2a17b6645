// Holds files open as a running browser holds its lock file (readers allowed,
// no delete sharing) until the named event is set, or a minute has passed so
// that it never outlives a test that failed.
//   lock_holder.exe EVENT PATH...
// A path that does not exist is created, as a browser creates its lock file.
#include <windows.h>

#include <vector>

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, argv[1]);
  if (!release) return 3;
  std::vector<HANDLE> held;
  for (int i = 2; i < argc; ++i) {
    HANDLE h = CreateFileW(argv[i], GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 4;
    held.push_back(h);
  }
  WaitForSingleObject(release, 60000);
  for (HANDLE h : held) CloseHandle(h);
  CloseHandle(release);
  return 0;
}
