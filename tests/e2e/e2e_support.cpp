#include "tests/e2e/e2e_support.h"

#include <filesystem>
#include <fstream>

#include "tests/e2e/scourly_process.h"

namespace scourly::e2e {

std::wstring g_exe;
int g_dpi = 96;
std::wstring g_shots;

FILETIME StampTime() {
  SYSTEMTIME st{2021, 3, 0, 4, 12, 0, 0, 0};
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  return ft;
}

std::wstring StampText() { return ShortDateText(StampTime()); }

std::wstring ShortDateText(FILETIME utc) {
  FILETIME local;
  FileTimeToLocalFileTime(&utc, &local);
  SYSTEMTIME st;
  FileTimeToSystemTime(&local, &st);
  wchar_t text[64];
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, 64);
  return text;
}

bool CreateTestFile(const std::wstring& path, DWORD size) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  std::string bytes(size, 'x');
  DWORD written = 0;
  bool ok = size == 0 || (WriteFile(h, bytes.data(), size, &written, nullptr) && written == size);
  FILETIME stamp = StampTime();
  SetFileTime(h, nullptr, nullptr, &stamp);
  CloseHandle(h);
  return ok;
}

void WriteSettings(const std::wstring& exe) {
  std::wstring folder = exe.substr(0, exe.find_last_of(L'\\') + 1);
  std::ofstream ini(std::filesystem::path(folder + L"settings.ini"), std::ios::binary);
  const char* masks[] = {"*.tmp", "*.---", "*.??~", "*.bak", "*.old", "*.~*"};
  ini << "[options]\r\n";
  for (int i = 0; i < 6; ++i) ini << "extn" << i << "=" << masks[i] << "\r\nextn_chkd" << i << "=1\r\n";
  ini << "TempFiles=0\r\ntotal_extn=5\r\ntotal_chkd=6\r\n";
  ini << "[drives]\r\ndrive0=C:\\\r\nchkd0=0\r\ndrive1=T:\\\r\nchkd1=1\r\ntotal_drives=1\r\n"
         "drives_chkd=1\r\n";
}

void Shot(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty()) return;
  Sleep(400);  // let the window finish painting
  std::wstring request = folder + L"\\" + name + L".req";
  HANDLE h = CreateFileW(request.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  CloseHandle(h);
  ScourlyProcess::WaitFor(
      [&] { return GetFileAttributesW(request.c_str()) == INVALID_FILE_ATTRIBUTES; }, 15000);
}

ScourlyProcess* ScourlySuite::app = nullptr;
bool ScourlySuite::started = false;

void ScourlySuite::StartScourly(const std::wstring& exe, void (*makeTestDrive)()) {
  makeTestDrive();
  WriteSettings(exe);
  app = new ScourlyProcess;
  started = app->Start(exe);
}

void ScourlySuite::CloseScourly() {
  if (app) app->Close();
  delete app;
  app = nullptr;
}

void ScourlySuite::SetUp() { ASSERT_TRUE(started && app->Running()) << "Scourly.exe did not start"; }

std::vector<std::wstring> ScourlySuite::Panels() {
  return {app->Panel(0), app->Panel(1), app->Panel(2), app->Panel(3)};
}

}  // namespace scourly::e2e

int wmain(int argc, wchar_t** argv) {
  SetProcessDPIAware();  // read the program's real pixel sizes
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 3) {
    fwprintf(stderr, L"usage: DRIVER SCOURLY.EXE DPI [SHOT_FOLDER]\n");
    return 2;
  }
  scourly::e2e::g_exe = argv[1];
  scourly::e2e::g_dpi = _wtoi(argv[2]);
  if (argc > 3) scourly::e2e::g_shots = argv[3];
  return RUN_ALL_TESTS();
}
