// End-to-end tests of the dialogs: the options dialog opened from the real
// main window, a mask added through the file type dialog and saved with OK
// (settings.ini checked byte for byte), the keyboard order, the places and
// sizes of the controls at the run's DPI, and the About window.
//   e2e_dialogs_driver.exe SCOURLY.EXE DPI SHOT_FOLDER [gtest flags]
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "res/resource_ids.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/scourly_process.h"
#include "ui/main/gui_ids.h"

namespace scourly::e2e {
namespace {

using namespace scourly::gui;

void Shot(const std::wstring& name) { scourly::e2e::Shot(g_shots, name); }

void NoTestFiles() {}

std::string SettingsFile() {
  std::wstring folder = g_exe.substr(0, g_exe.find_last_of(L'\\') + 1);
  std::ifstream in(std::filesystem::path(folder + L"settings.ini"), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The file as WriteSettings leaves it, with `extra` masks saved after it
// with OK: replaced keys stay where they stand, new ones close the section.
std::string SavedSettings(const std::vector<std::string>& extra, int checked) {
  const char* masks[] = {"*.tmp", "*.---", "*.??~", "*.bak", "*.old", "*.~*"};
  std::string ini = "[options]\r\n";
  for (int i = 0; i < 6; ++i)
    ini += "extn" + std::to_string(i) + "=" + masks[i] + "\r\nextn_chkd" + std::to_string(i) + "=1\r\n";
  ini += "TempFiles=0\r\ntotal_extn=" + std::to_string(5 + extra.size()) +
         "\r\ntotal_chkd=" + std::to_string(checked) + "\r\n";
  for (size_t i = 0; i < extra.size(); ++i)
    ini += "extn" + std::to_string(6 + i) + "=" + extra[i] + "\r\nextn_chkd" + std::to_string(6 + i) +
           "=1\r\n";
  ini += "[drives]\r\ndrive0=C:\\\r\nchkd0=0\r\ndrive1=T:\\\r\nchkd1=1\r\ntotal_drives=1\r\n"
         "drives_chkd=1\r\n";
  return ini;
}

class DialogsE2E : public ScourlySuite {
 protected:
  static void SetUpTestSuite() { StartScourly(g_exe, NoTestFiles); }
  static void TearDownTestSuite() { CloseScourly(); }

  // A top-level dialog of the program by its caption, shown or not.
  static HWND Dialog(const wchar_t* caption) {
    HWND found = nullptr;
    while ((found = FindWindowExW(nullptr, found, kDialogClass, caption))) {
      DWORD pid = 0;
      GetWindowThreadProcessId(found, &pid);
      if (pid == app->pid()) return found;
    }
    return nullptr;
  }
  static HWND Options() { return Dialog(L"Options"); }
  static HWND FileType() { return Dialog(L"File Type"); }
  static HWND About() { return Dialog(L"About Scourly"); }

  static bool WaitVisible(HWND w, bool visible) {
    return ScourlyProcess::WaitFor([&] { return (IsWindowVisible(w) != FALSE) == visible; }, 5000);
  }
  // The program's visible message box (caption "Scourly").
  static HWND WaitForBox() {
    HWND box = nullptr;
    ScourlyProcess::WaitFor([&] { return (box = Dialog(L"Scourly")) && IsWindowVisible(box); },
                            10000);
    return box && IsWindowVisible(box) ? box : nullptr;
  }

  // The control that has the keyboard focus in the program.
  // The focused window of the program, once what it was asked to do has been
  // done (the focus may be set by a message it posts to itself).
  static HWND Focus() {
    app->Settle();
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(app->main(), nullptr), &info);
    return info.hwndFocus;
  }
  // A key pressed on the focused control (posted: the dialog manager sees
  // it in the program's message loop as it sees typing).
  static void Key(UINT vk) {
    HWND target = Focus();
    PostMessageW(target, WM_KEYDOWN, vk, 1);
    PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
    Sleep(50);
    app->Settle();
  }
  static void Press(HWND dialog, int id) {
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    Sleep(50);
  }

  // A control's rectangle in its dialog's client coordinates.
  static RECT Rect(HWND dialog, int id) {
    RECT rc;
    GetWindowRect(GetDlgItem(dialog, id), &rc);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }
  static void ExpectRect(HWND dialog, int id, POINT origin, int x, int y, int w, int h) {
    RECT rc = Rect(dialog, id);
    EXPECT_EQ(rc.left - origin.x, Px(x)) << "control " << id;
    EXPECT_EQ(rc.top - origin.y, Px(y)) << "control " << id;
    EXPECT_EQ(rc.right - rc.left, Px(w)) << "control " << id;
    EXPECT_EQ(rc.bottom - rc.top, Px(h)) << "control " << id;
  }
  // The options page's origin: the tab control's display area.
  static POINT PageOrigin() {
    HWND tabs = GetDlgItem(Options(), IDC_OPTIONS_PAGECONTROL1);
    RECT page = app->TabDisplayRect(tabs);
    MapWindowPoints(tabs, Options(), reinterpret_cast<POINT*>(&page), 2);
    return {page.left, page.top};
  }

  static std::vector<std::wstring> Rows(HWND list) {
    std::vector<std::wstring> rows;
    const int n = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      wchar_t text[512] = {};
      SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      rows.push_back(text);
    }
    return rows;
  }
  // A control's text, asked of the control itself (GetWindowText does not
  // ask an edit of another process).
  static std::wstring Text(HWND control) {
    wchar_t text[512] = {};
    SendMessageW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
  }
  static bool Checked(HWND list, int row) { return SendMessageW(list, LB_GETITEMDATA, row, 0) == 1; }
  // A click on the check box of `row`.
  static void ClickCheck(HWND list, int row) {
    RECT rc;
    SendMessageW(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc));
    LPARAM at = MAKELPARAM(rc.left + Px(6), (rc.top + rc.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    Sleep(50);
    app->Settle();
  }

  // Types `text` into the file type dialog's field.
  static void Type(const std::wstring& text) {
    SendMessageW(GetDlgItem(FileType(), IDC_FILETYPE_EDIT1), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(text.c_str()));
  }
  static void OpenOptions() {
    app->Click(kCmdOptionsTB);
    ASSERT_TRUE(WaitVisible(Options(), true)) << "the options dialog did not open";
  }
};

TEST_F(DialogsE2E, TheThreeDialogsExistHiddenOwnedByTheMainWindow) {
  for (HWND dialog : {Options(), FileType(), About()}) {
    ASSERT_TRUE(dialog) << "a dialog is missing:\n" << std::string(app->DescribeWindows().begin(), app->DescribeWindows().end());
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), app->main());
  }
}

TEST_F(DialogsE2E, OptionsDialogHasItsDesignedPlacesAndKeyboardOrder) {
  OpenOptions();
  HWND options = Options();
  EXPECT_TRUE(IsWindowEnabled(app->main())) << "the options dialog blocks the main window";
  RECT client;
  GetClientRect(options, &client);
  EXPECT_EQ(client.right, Px(330));
  EXPECT_EQ(client.bottom, Px(339));
  RECT outer;
  GetWindowRect(options, &outer);
  EXPECT_NEAR(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2, 1)
      << "not centred";
  LONG style = GetWindowLongW(options, GWL_STYLE);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(style & WS_SYSMENU);

  HWND tabs = GetDlgItem(options, IDC_OPTIONS_PAGECONTROL1);
  ASSERT_EQ(app->TabCount(tabs), 3);
  EXPECT_EQ(app->TabCaption(tabs, 0), L"File Types");
  EXPECT_EQ(app->TabCaption(tabs, 1), L"Scan Drives");
  EXPECT_EQ(app->TabCaption(tabs, 2), L"Keep");
  EXPECT_GE(app->TabImage(tabs, 0), 0);
  EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);

  const POINT form{0, 0}, page = PageOrigin();
  ExpectRect(options, IDC_OPTIONS_PAGECONTROL1, form, 0, 0, 329, 289);
  ExpectRect(options, IDC_OPTIONS_OPTIONBOX, page, 16, 40, 153, 153);
  ExpectRect(options, IDC_OPTIONS_ADD, page, 200, 48, 75, 25);
  ExpectRect(options, IDC_OPTIONS_REMOVE, page, 200, 88, 75, 25);
  ExpectRect(options, IDC_OPTIONS_CHECK, page, 200, 128, 75, 25);
  ExpectRect(options, IDC_OPTIONS_RESET, page, 200, 168, 75, 25);
  ExpectRect(options, IDC_OPTIONS_TEMPFILES, page, 16, 209, 161, 17);
  ExpectRect(options, IDOK, form, 23, 303, 75, 25);
  ExpectRect(options, IDCANCEL, form, 111, 303, 75, 25);
  for (auto [id, x, y] : {std::tuple{IDC_OPTIONS_LABEL1, 16, 24}, std::tuple{IDC_OPTIONS_LABEL4, 192, 8},
                          std::tuple{IDC_OPTIONS_LABEL2, 16, 238}}) {
    RECT rc = Rect(options, id);
    EXPECT_EQ(rc.left - page.x, Px(x)) << "label " << id;
    EXPECT_EQ(rc.top - page.y, Px(y)) << "label " << id;
    EXPECT_LE(rc.right, client.right) << "label " << id << " runs off the dialog";
  }
  HWND optionBox = GetDlgItem(options, IDC_OPTIONS_OPTIONBOX);
  EXPECT_EQ(SendMessageW(optionBox, LB_GETITEMHEIGHT, 0, 0), Px(13));
  EXPECT_EQ(Rows(optionBox),
            (std::vector<std::wstring>{L"*.tmp", L"*.---", L"*.??~", L"*.bak", L"*.old", L"*.~*"}));
  wchar_t text[128];
  GetDlgItemTextW(options, IDC_OPTIONS_LABEL1, text, 128);
  EXPECT_STREQ(text, L"Find Unneeded Files of types: ");
  GetDlgItemTextW(options, IDC_OPTIONS_LABEL4, text, 128);
  EXPECT_STREQ(text, L"Description of File Types");
  GetDlgItemTextW(options, IDC_OPTIONS_TEMPFILES, text, 128);
  EXPECT_STREQ(text, L"Windows Temporary Files");
  EXPECT_EQ(SendMessageW(GetDlgItem(options, IDOK), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON,
            DLGC_DEFPUSHBUTTON)
      << "OK is not the default button";
  Shot(L"dialogs-01-options-file-types");

  // The Tab key goes round: the tab control, the page, Cancel, OK.
  EXPECT_EQ(Focus(), tabs) << "the tab control is not first";
  const int order[] = {IDC_OPTIONS_OPTIONBOX, IDC_OPTIONS_ADD,   IDC_OPTIONS_REMOVE,
                       IDC_OPTIONS_CHECK,     IDC_OPTIONS_RESET, IDC_OPTIONS_TEMPFILES,
                       IDCANCEL,              IDOK,              IDC_OPTIONS_PAGECONTROL1};
  for (int id : order) {
    Key(VK_TAB);
    EXPECT_EQ(Focus(), GetDlgItem(options, id)) << "after Tab expected control " << id;
  }

  // Esc hides it, and the main window is still there.
  Key(VK_ESCAPE);
  EXPECT_TRUE(WaitVisible(options, false)) << "Esc did not close the options dialog";
  EXPECT_TRUE(app->Running());
}

TEST_F(DialogsE2E, ScanDrivesPageShowsTheDrivesAndStaysTheNextTime) {
  OpenOptions();
  HWND options = Options();
  HWND tabs = GetDlgItem(options, IDC_OPTIONS_PAGECONTROL1);
  app->ClickTab(tabs, 1);
  ASSERT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);
  HWND drives = GetDlgItem(options, IDC_OPTIONS_DRIVESBOX);
  EXPECT_TRUE(IsWindowVisible(drives));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(options, IDC_OPTIONS_OPTIONBOX)));
  const POINT page = PageOrigin();
  ExpectRect(options, IDC_OPTIONS_DRIVESBOX, page, 16, 40, 153, 153);
  ExpectRect(options, IDC_OPTIONS_BUTTON1, page, 200, 104, 75, 25);
  RECT label = Rect(options, IDC_OPTIONS_LABEL3);
  EXPECT_EQ(label.left - page.x, Px(16));
  EXPECT_EQ(label.top - page.y, Px(24));
  EXPECT_EQ(Rows(drives), (std::vector<std::wstring>{L"C:\\", L"T:\\"}));
  EXPECT_FALSE(Checked(drives, 0));
  EXPECT_TRUE(Checked(drives, 1));
  Shot(L"dialogs-02-options-scan-drives");

  SendMessageW(options, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tabs), TRUE);
  const int order[] = {IDC_OPTIONS_DRIVESBOX, IDC_OPTIONS_BUTTON1, IDCANCEL, IDOK,
                       IDC_OPTIONS_PAGECONTROL1};
  for (int id : order) {
    Key(VK_TAB);
    EXPECT_EQ(Focus(), GetDlgItem(options, id)) << "after Tab expected control " << id;
  }

  // "Check All" checks C:\ too; closing with the close box saves nothing.
  Press(options, IDC_OPTIONS_BUTTON1);
  app->Settle();
  EXPECT_TRUE(Checked(drives, 0));
  const std::string before = SettingsFile();
  PostMessageW(options, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitVisible(options, false));
  EXPECT_EQ(SettingsFile(), before) << "the close box saved the settings";

  // The next showing reloads from the file, on the page shown last.
  OpenOptions();
  EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);
  EXPECT_TRUE(IsWindowVisible(drives));
  EXPECT_FALSE(Checked(drives, 0)) << "the unsaved check survived the next showing";
  app->ClickTab(tabs, 0);
  PostMessageW(options, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitVisible(options, false));
}

TEST_F(DialogsE2E, AMaskAddedThroughTheFileTypeDialogIsSavedWithOk) {
  OpenOptions();
  HWND options = Options();
  HWND optionBox = GetDlgItem(options, IDC_OPTIONS_OPTIONBOX);
  ASSERT_EQ(SendMessageW(optionBox, LB_GETCOUNT, 0, 0), 6);

  // Unchecking "*.tmp" by its check box; adding it again checks it.
  ClickCheck(optionBox, 0);
  EXPECT_FALSE(Checked(optionBox, 0)) << "a click on the check box did not uncheck it";

  Press(options, IDC_OPTIONS_ADD);
  HWND fileType = FileType();
  ASSERT_TRUE(WaitVisible(fileType, true)) << "Add... did not open the file type dialog";
  EXPECT_FALSE(IsWindowEnabled(options)) << "the file type dialog is not modal";
  EXPECT_FALSE(IsWindowEnabled(app->main())) << "the file type dialog is not modal";
  RECT client;
  GetClientRect(fileType, &client);
  EXPECT_EQ(client.right, Px(230));
  EXPECT_EQ(client.bottom, Px(114));
  const POINT form{0, 0};
  ExpectRect(fileType, IDC_FILETYPE_EDIT1, form, 24, 32, 177, 21);
  ExpectRect(fileType, IDOK, form, 23, 68, 75, 25);
  ExpectRect(fileType, IDCANCEL, form, 127, 68, 75, 25);
  RECT label = Rect(fileType, IDC_FILETYPE_LABEL1);
  EXPECT_EQ(label.left, Px(24));
  EXPECT_EQ(label.top, Px(16));
  HWND edit = GetDlgItem(fileType, IDC_FILETYPE_EDIT1);
  EXPECT_EQ(Focus(), edit) << "the field does not have the focus";
  EXPECT_EQ(Text(edit), L"");
  Type(L"*.tmp");
  Shot(L"dialogs-03-file-type");

  // Keyboard order: OK, Cancel, the field.
  for (int id : {IDOK, IDCANCEL, IDC_FILETYPE_EDIT1}) {
    Key(VK_TAB);
    EXPECT_EQ(Focus(), GetDlgItem(fileType, id)) << "after Tab expected control " << id;
  }
  Key(VK_RETURN);  // Enter is OK
  EXPECT_TRUE(WaitVisible(fileType, false));
  app->Settle();
  EXPECT_EQ(SendMessageW(optionBox, LB_GETCOUNT, 0, 0), 6) << "a duplicate was added";
  EXPECT_TRUE(Checked(optionBox, 0)) << "adding an existing mask did not check it";
  EXPECT_TRUE(IsWindowEnabled(options));

  // A bad mask is refused with a message, and the dialog stays.
  Press(options, IDC_OPTIONS_ADD);
  ASSERT_TRUE(WaitVisible(fileType, true));
  EXPECT_EQ(Text(edit), L"") << "the field was not emptied for the new showing";
  Type(L"*.log ");
  Press(fileType, IDOK);
  HWND box = WaitForBox();
  ASSERT_TRUE(box) << "no message for a bad mask";
  ScourlyProcess::MessageBoxView view = ScourlyProcess::ReadMessageBox(box);
  EXPECT_EQ(view.text, L"Incorrect format specified for file extension");
  EXPECT_FALSE(view.icon);
  EXPECT_EQ(view.buttons, std::vector<std::wstring>{L"OK"});
  EXPECT_EQ(GetWindow(box, GW_OWNER), fileType) << "the message is not over the dialog";
  Shot(L"dialogs-04-bad-mask");
  ASSERT_TRUE(ScourlyProcess::AnswerMessageBox(box, IDOK));
  EXPECT_TRUE(IsWindowVisible(fileType)) << "the dialog closed after a bad mask";
  EXPECT_EQ(Text(edit), L"*.log ") << "the text was not left as entered";

  Type(L"*.log");
  Press(fileType, IDOK);
  EXPECT_TRUE(WaitVisible(fileType, false));
  app->Settle();
  EXPECT_EQ(Rows(optionBox).back(), L"*.log");
  EXPECT_TRUE(Checked(optionBox, 6));
  Shot(L"dialogs-05-options-added");

  Press(options, IDOK);
  EXPECT_TRUE(WaitVisible(options, false)) << "OK did not hide the dialog";
  EXPECT_EQ(SettingsFile(), SavedSettings({"*.log"}, 7));
}

TEST_F(DialogsE2E, CancelInTheFileTypeDialogAddsNothing) {
  OpenOptions();
  HWND options = Options();
  HWND optionBox = GetDlgItem(options, IDC_OPTIONS_OPTIONBOX);
  const int rows = static_cast<int>(SendMessageW(optionBox, LB_GETCOUNT, 0, 0));
  Press(options, IDC_OPTIONS_ADD);
  ASSERT_TRUE(WaitVisible(FileType(), true));
  Type(L"*.new");
  Key(VK_ESCAPE);
  EXPECT_TRUE(WaitVisible(FileType(), false)) << "Esc did not cancel the file type dialog";
  app->Settle();
  EXPECT_EQ(SendMessageW(optionBox, LB_GETCOUNT, 0, 0), rows);
  EXPECT_TRUE(IsWindowEnabled(app->main()));
  Press(options, IDCANCEL);
  EXPECT_TRUE(WaitVisible(options, false));
}

// The window's part of the lists: the highlighted row reaches "Remove", the
// space bar checks and unchecks it.
TEST_F(DialogsE2E, RemoveTakesTheHighlightedRowAndSpaceTogglesIt) {
  OpenOptions();
  HWND options = Options();
  HWND optionBox = GetDlgItem(options, IDC_OPTIONS_OPTIONBOX);
  const std::vector<std::wstring> before = Rows(optionBox);
  ASSERT_GE(before.size(), 3u);
  RECT rc;
  SendMessageW(optionBox, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rc));
  LPARAM onText = MAKELPARAM(rc.left + Px(40), (rc.top + rc.bottom) / 2);
  PostMessageW(optionBox, WM_LBUTTONDOWN, MK_LBUTTON, onText);
  PostMessageW(optionBox, WM_LBUTTONUP, 0, onText);
  // Posted input is handled after the messages sent meanwhile: wait for it.
  auto settleOn = [&](const std::function<bool()>& done) {
    ScourlyProcess::WaitFor([&] {
      app->Settle();
      return done();
    }, 3000);
  };
  settleOn([&] { return SendMessageW(optionBox, LB_GETCURSEL, 0, 0) == 1; });
  EXPECT_EQ(SendMessageW(optionBox, LB_GETCURSEL, 0, 0), 1);
  EXPECT_TRUE(Checked(optionBox, 1)) << "a click on the text toggled the check box";

  PostMessageW(optionBox, WM_CHAR, L' ', 1);
  settleOn([&] { return !Checked(optionBox, 1); });
  EXPECT_FALSE(Checked(optionBox, 1)) << "the space bar did not uncheck the row";
  PostMessageW(optionBox, WM_CHAR, L' ', 1);
  settleOn([&] { return Checked(optionBox, 1); });
  EXPECT_TRUE(Checked(optionBox, 1));

  Press(options, IDC_OPTIONS_REMOVE);
  app->Settle();
  std::vector<std::wstring> expected = before;
  expected.erase(expected.begin() + 1);
  EXPECT_EQ(Rows(optionBox), expected);
  Press(options, IDC_OPTIONS_REMOVE);  // nothing highlighted now
  app->Settle();
  EXPECT_EQ(Rows(optionBox), expected);

  const std::string saved = SettingsFile();
  Press(options, IDCANCEL);
  EXPECT_TRUE(WaitVisible(options, false));
  EXPECT_EQ(SettingsFile(), saved) << "Cancel saved the settings";
}

// A settings file that cannot be written: the error box over the dialog,
// and the dialog stays open with the edits.
TEST_F(DialogsE2E, OkThatCannotWriteTheSettingsKeepsTheDialogOpen) {
  OpenOptions();
  HWND options = Options();
  const std::string before = SettingsFile();
  const std::wstring folder = g_exe.substr(0, g_exe.find_last_of(L'\\') + 1);
  // Held open for reading only: no one else may write it meanwhile.
  HANDLE held = CreateFileW((folder + L"settings.ini").c_str(), GENERIC_READ, FILE_SHARE_READ,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Press(options, IDC_OPTIONS_CHECK);
  Press(options, IDOK);
  HWND box = WaitForBox();
  CloseHandle(held);
  ASSERT_TRUE(box) << "no error for a settings file that cannot be written";
  ScourlyProcess::MessageBoxView view = ScourlyProcess::ReadMessageBox(box);
  EXPECT_EQ(view.text, L"Unable to write to " + folder + L"settings.ini");
  EXPECT_TRUE(view.icon) << "the standard error box has an icon";
  EXPECT_EQ(GetWindow(box, GW_OWNER), options) << "the error is not over the dialog";
  Shot(L"dialogs-07-cannot-save");
  ASSERT_TRUE(ScourlyProcess::AnswerMessageBox(box, IDOK));
  EXPECT_TRUE(IsWindowVisible(options)) << "the dialog closed although nothing was saved";
  EXPECT_EQ(SettingsFile(), before);
  Press(options, IDCANCEL);
  EXPECT_TRUE(WaitVisible(options, false));
  EXPECT_TRUE(app->Running());
}

// The About window's own look, shown directly; the Help menu's way to it is
// the next test's.
TEST_F(DialogsE2E, AboutWindowShowsThePictureAndTheLink) {
  HWND about = About();
  ASSERT_TRUE(about);
  ShowWindow(about, SW_SHOWNORMAL);
  ASSERT_TRUE(WaitVisible(about, true));
  app->Settle();
  RECT outer, client;
  GetWindowRect(about, &outer);
  GetClientRect(about, &client);
  EXPECT_EQ(client.right, Px(400));
  EXPECT_EQ(client.bottom, Px(300));
  if (g_dpi == 96) {
    EXPECT_EQ(outer.right - outer.left, 408);
    EXPECT_EQ(outer.bottom - outer.top, 327);
  }
  LONG style = GetWindowLongW(about, GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  ExpectRect(about, IDC_ABOUT_GIFIMAGE1, {0, 0}, 0, 0, 400, 300);
  ExpectRect(about, IDC_ABOUT_LABEL1, {0, 0}, 117, 260, 159, 14);
  wchar_t text[128];
  GetDlgItemTextW(about, IDC_ABOUT_LABEL1, text, 128);
  EXPECT_STREQ(text, L"www.velmora.example");
  Sleep(300);
  Shot(L"dialogs-06-about");

  // The picture is on screen: its band under the link has the link's colour.
  POINT band{Px(40), Px(265)};
  ClientToScreen(about, &band);
  HDC screen = GetDC(nullptr);
  COLORREF colour = GetPixel(screen, band.x, band.y);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(colour, RGB(142, 101, 55)) << "the about picture is not drawn";

  PostMessageW(about, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitVisible(about, false)) << "the close box did not hide the About window";
  EXPECT_TRUE(app->Running());
}

// "&About Scourly" shows the About window without blocking the main window;
// asked again while it is open, it brings the window forward.
TEST_F(DialogsE2E, AboutMenuItemShowsTheAboutWindowWithoutBlocking) {
  HWND about = About();
  ASSERT_TRUE(about);
  ASSERT_FALSE(IsWindowVisible(about));
  app->Click(kCmdAboutDlg);
  ASSERT_TRUE(WaitVisible(about, true)) << "\"&About Scourly\" did not show the About window";
  EXPECT_TRUE(IsWindowEnabled(app->main())) << "the About window blocks the main window";
  Shot(L"dialogs-08-about-from-menu");

  SetForegroundWindow(app->main());
  ASSERT_TRUE(ScourlyProcess::WaitFor([] { return GetForegroundWindow() == app->main(); }, 3000));
  app->Click(kCmdAboutDlg);  // again: only brought forward
  EXPECT_TRUE(ScourlyProcess::WaitFor([&] { return GetForegroundWindow() == about; }, 3000))
      << "the About window was not brought forward";
  EXPECT_TRUE(IsWindowVisible(about));
  EXPECT_TRUE(IsWindowEnabled(app->main()));

  PostMessageW(about, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitVisible(about, false));
  EXPECT_TRUE(app->Running());
}

}  // namespace
}  // namespace scourly::e2e
