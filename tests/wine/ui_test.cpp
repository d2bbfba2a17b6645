// Win32Ui: message boxes answered from a second thread, the hourglass and
// the message pump.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "tests/support/box_answerer.h"

namespace scourly {
namespace {

using support::BoxAnswerer;

TEST(Win32UiMessageBox, ReturnsTheButtonPressedAndShowsCaptionTextAndIcon) {
  Win32Ui ui;
  struct Case {
    MsgButtons buttons;
    MsgIcon icon;
    int press;
    MsgResult expected;
    LPCWSTR expectedIcon;
  };
  const Case cases[] = {
      {MsgButtons::kYesNo, MsgIcon::kInformation, IDYES, MsgResult::kYes, IDI_INFORMATION},
      {MsgButtons::kYesNo, MsgIcon::kInformation, IDNO, MsgResult::kNo, IDI_INFORMATION},
      {MsgButtons::kOk, MsgIcon::kNone, IDOK, MsgResult::kOk, nullptr},
      {MsgButtons::kOk, MsgIcon::kError, IDOK, MsgResult::kOk, IDI_ERROR},
  };
  for (const Case& c : cases) {
    BoxAnswerer user(c.press);
    MsgResult result = ui.ShowMessage("Do u want to specify now? Grüße", "Scourly", c.buttons, c.icon);
    user.Wait();
    ASSERT_TRUE(user.answered) << "no message box appeared";
    EXPECT_EQ(result, c.expected);
    EXPECT_EQ(user.caption, L"Scourly");
    EXPECT_EQ(user.text, L"Do u want to specify now? Grüße");
    if (c.expectedIcon)
      EXPECT_EQ(user.icon, LoadIconW(nullptr, c.expectedIcon));
    else
      EXPECT_EQ(user.icon, nullptr);
  }
}

TEST(Win32UiMessageBox, ErrorBoxHasTheProgramsCaptionAndItsOwner) {
  Win32Ui ui;
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                               nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  ui.SetOwner(owner);
  BoxAnswerer user(IDOK);
  ui.ShowError("Unable to write to P:\\settings.ini");
  user.Wait();
  ASSERT_TRUE(user.answered);
  EXPECT_EQ(user.caption, L"Scourly");
  EXPECT_EQ(user.text, L"Unable to write to P:\\settings.ini");
  EXPECT_EQ(user.icon, LoadIconW(nullptr, IDI_ERROR));
  EXPECT_EQ(user.owner, owner);
  DestroyWindow(owner);
}

TEST(Win32UiCursor, HourglassStaysUntilSwitchedOff) {
  Win32Ui ui;
  ui.SetHourglass(true);
  EXPECT_TRUE(ui.hourglass());
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
  ui.SetHourglass(false);
  EXPECT_FALSE(ui.hourglass());
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

// A message-only window that records what reaches it.
std::vector<UINT> g_received;
LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg >= WM_APP) g_received.push_back(msg);
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND MakeRecorder() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = RecordingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ScourlyTestRecorder";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         wc.hInstance, nullptr);
}

TEST(Win32UiPump, SyncsFirstThenDispatchesEveryWaitingMessage) {
  Win32Ui ui;
  HWND recorder = MakeRecorder();
  ASSERT_NE(recorder, nullptr);
  g_received.clear();
  std::vector<size_t> seenAtSync;
  ui.SetBeforePump([&] { seenAtSync.push_back(g_received.size()); });
  PostMessageW(recorder, WM_APP + 1, 0, 0);
  PostMessageW(recorder, WM_APP + 2, 0, 0);
  ui.PumpMessages();
  EXPECT_EQ(seenAtSync, std::vector<size_t>{0}) << "the window copies its models before the pump";
  EXPECT_EQ(g_received, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));
  ui.PumpMessages();  // nothing waiting: returns at once
  EXPECT_EQ(g_received.size(), 2u);
  DestroyWindow(recorder);
}

TEST(Win32UiPump, FilteredMessagesAreNotDispatched) {
  Win32Ui ui;
  HWND recorder = MakeRecorder();
  g_received.clear();
  std::vector<UINT> filtered;
  ui.SetMessageFilter([&](MSG& msg) {
    filtered.push_back(msg.message);
    return msg.message == WM_APP + 5;  // as a dialog would take its keys
  });
  PostMessageW(recorder, WM_APP + 4, 0, 0);
  PostMessageW(recorder, WM_APP + 5, 0, 0);
  ui.PumpMessages();
  EXPECT_EQ(filtered, (std::vector<UINT>{WM_APP + 4, WM_APP + 5}));
  EXPECT_EQ(g_received, std::vector<UINT>{WM_APP + 4});
  DestroyWindow(recorder);
}

TEST(Win32UiPump, LeavesTheQuitRequestForTheMessageLoop) {
  Win32Ui ui;
  HWND recorder = MakeRecorder();
  g_received.clear();
  PostMessageW(recorder, WM_APP + 3, 0, 0);
  PostQuitMessage(7);
  ui.PumpMessages();
  EXPECT_EQ(g_received, std::vector<UINT>{WM_APP + 3});
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) << "WM_QUIT was swallowed";
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  DestroyWindow(recorder);
}

// What the window of RunWhileAnswering's test saw, in order.
std::vector<UINT> g_seen;

LRESULT CALLBACK SeeingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg >= WM_APP || msg == WM_KEYDOWN) g_seen.push_back(msg);
  return DefWindowProcW(hwnd, msg, wp, lp);
}

TEST(Win32UiRunWhileAnswering, WindowsAnswerButTakeNoCommandAndGetTheirFocusBack) {
  Win32Ui ui;
  int syncs = 0;
  ui.SetBeforePump([&] { ++syncs; });
  WNDCLASSW wc = {};
  wc.lpfnWndProc = SeeingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ScourlyTestSeeing";
  RegisterClassW(&wc);
  HWND top = CreateWindowExW(0, wc.lpszClassName, L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                             300, 200, nullptr, nullptr, wc.hInstance, nullptr);
  // A disabled window loses the focus it holds itself.
  SetFocus(top);
  ASSERT_EQ(GetFocus(), top);
  g_seen.clear();

  bool enabledDuring = true, answered = false;
  std::vector<UINT> seenDuring;
  EXPECT_THROW(ui.RunWhileAnswering([&] {
    enabledDuring = IsWindowEnabled(top);
    PostMessageW(top, WM_APP + 2, 0, 0);      // a command: waits for the end
    PostMessageW(top, WM_KEYDOWN, 'A', 0);    // input: dropped
    DWORD_PTR result = 0;
    answered = SendMessageTimeoutW(top, WM_APP + 1, 0, 0, SMTO_BLOCK, 5000, &result) != 0;
    seenDuring = g_seen;
    throw std::runtime_error("the work's own error");
  }), std::runtime_error);

  EXPECT_FALSE(enabledDuring);
  EXPECT_TRUE(answered) << "the window did not answer while the work ran";
  EXPECT_EQ(seenDuring, std::vector<UINT>{WM_APP + 1});
  EXPECT_EQ(syncs, 1) << "the windows must show their models before they repaint";
  EXPECT_TRUE(IsWindowEnabled(top));
  EXPECT_EQ(GetFocus(), top);
  ui.PumpMessages();
  EXPECT_EQ(g_seen, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));
  DestroyWindow(top);
}

}  // namespace
}  // namespace scourly
