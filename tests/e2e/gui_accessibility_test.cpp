// What a screen reader gets from the windows, inside one process under Wine:
// the rows of a virtual list named from the model when asked, with their
// states and places; the events a list box raises; check lists with their
// check marks; toolbar buttons pressed by the keyboard or by the reader; an
// object that outlives its window cut off instead of freed. Names of the real window's rows, header, panels and
// buttons, read from another process after a scan: e2e_a11y_driver.cpp.
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "lists/accessible_text.h"
#include "platform/win32/com_ptr.h"
#include "tests/support/accessible_reader.h"
#include "ui/controls/check_list_box.h"
#include "ui/controls/status_bar.h"
#include "ui/controls/tool_bar.h"
#include "ui/controls/virtual_list.h"
#include "ui/main/gui_ids.h"

namespace scourly::gui {
namespace {

using Reader = support::AccessibleReader;
using support::ChildId;

struct Event {
  DWORD event;
  HWND hwnd;
  long child;
  bool operator==(const Event&) const = default;
};
void PrintTo(const Event& e, std::ostream* out) {
  *out << "event 0x" << std::hex << e.event << std::dec << " child " << e.child;
}
std::vector<Event> g_events;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                          DWORD) {
  if (object == OBJID_CLIENT) g_events.push_back({event, hwnd, child});
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// A plain top-level window that keeps the commands its controls send.
class Host : public Window {
 public:
  Host() {
    Register(L"ScourlyA11yHost", GetSysColorBrush(COLOR_BTNFACE));
    Create(0, L"ScourlyA11yHost", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 700, 400,
           nullptr, nullptr);
  }
  std::vector<int> commands;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_COMMAND) commands.push_back(LOWORD(wp));
    return Window::HandleMessage(msg, wp, lp);
  }
};

class AccessibilityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ShowWindow(host_.hwnd(), SW_SHOW);
    SetForegroundWindow(host_.hwnd());
    g_events.clear();
    hook_ = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_STATECHANGE, nullptr, RecordEvent,
                            GetCurrentProcessId(), GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
  }
  void TearDown() override {
    UnhookWinEvent(hook_);
    CoUninitialize();
  }
  // The events raised for `hwnd` since the last call, in order of event
  // (a list box may tell focus and selection either way round).
  std::vector<Event> EventsOf(HWND hwnd) {
    Pump();
    std::vector<Event> of;
    for (const Event& e : g_events) {
      if (e.hwnd == hwnd) of.push_back(e);
    }
    g_events.clear();
    std::stable_sort(of.begin(), of.end(),
                     [](const Event& a, const Event& b) { return a.event < b.event; });
    return of;
  }

  Host host_;
  HWINEVENTHOOK hook_ = nullptr;
};

// ---- The virtual result list ----

class ResultListTest : public AccessibilityTest {
 protected:
  void SetUp() override {
    AccessibilityTest::SetUp();
    font_ = MakeFont(L"Arial", -11);
    VirtualList::Events events;
    events.rowCount = [this] { return count_; };
    events.rowText = [this](int row) { return RowOf(row).Text(); };
    events.cellText = [this](int row, int column) { return ResultCell(RowOf(row), column); };
    events.selectionChanged = [](std::vector<int>, int) {};
    list_.Create(host_.hwnd(), kIdListBox1,
                 {{L"File Name", 175}, {L"Location", 200}, {L"Size (B)", 60}, {L"Time Stamp", 75}},
                 std::move(events));
    list_.SetMetrics(font_.get(), Dpi(96));
    list_.Move(0, 0, 650, 300);
    list_.Show(true);
  }
  // The model makes its rows when asked, as a scan's rows are only read
  // when drawn or named.
  ResultRow RowOf(int row) const {
    return {"f" + std::to_string(row) + suffix_, "T:\\", static_cast<uint64_t>(row), "4/3/2021"};
  }
  void Click(int row, WPARAM keys) {
    const int h = static_cast<int>(SendMessageW(list_.listBox(), LB_GETITEMHEIGHT, 0, 0));
    LPARAM at = MAKELPARAM(30, row * h + h / 2);
    SendMessageW(list_.listBox(), WM_LBUTTONDOWN, keys | MK_LBUTTON, at);
    SendMessageW(list_.listBox(), WM_LBUTTONUP, keys, at);
  }

  Font font_;
  VirtualList list_;
  int count_ = 0;
  std::string suffix_ = ".tmp";
};

TEST_F(ResultListTest, AMillionRowsAreChildrenNamedFromTheModelWhenRead) {
  count_ = 1000000;
  list_.SetCount(count_);
  Reader list(list_.listBox());
  ASSERT_EQ(list.hr, S_OK);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(list.Count(), 1000000);
  EXPECT_EQ(list.Name(1000000),
            L"File Name: f999999.tmp, Location: T:\\, Size (B): 999999, Time Stamp: 4/3/2021");
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start)
                .count(),
            2000)
      << "a reader waits on rows it did not ask for";
  // No copy was taken: the model's text of now.
  suffix_ = ".old";
  EXPECT_EQ(list.Name(1000000).substr(0, 23), L"File Name: f999999.old,");
  EXPECT_EQ(list.Role(CHILDID_SELF), ROLE_SYSTEM_LIST);
  EXPECT_EQ(list.Role(1), ROLE_SYSTEM_LISTITEM);
  BSTR name = nullptr;
  EXPECT_EQ(list.acc->get_accName(ChildId(1000001), &name), E_INVALIDARG) << "a row beyond the last";
}

TEST_F(ResultListTest, RowStatesPlacesAndTheSelectionAsTheListShowsThem) {
  count_ = 100;
  list_.SetCount(count_);
  list_.ApplySelection(count_, [](int row) { return row == 1 || row == 3; }, 3);
  SetFocus(list_.listBox());
  Reader list(list_.listBox());
  // Selected and focused rows are read end to end; a row out of view is
  // only told here.
  EXPECT_TRUE(list.State(100) & STATE_SYSTEM_OFFSCREEN);
  EXPECT_FALSE(list.State(2) & STATE_SYSTEM_OFFSCREEN);

  VARIANT focus;
  ASSERT_EQ(list.acc->get_accFocus(&focus), S_OK);
  EXPECT_EQ(V_I4(&focus), 4);
  VARIANT selection;
  ASSERT_EQ(list.acc->get_accSelection(&selection), S_OK);
  ASSERT_EQ(V_VT(&selection), VT_UNKNOWN);
  ComPtr<IEnumVARIANT> all;
  ASSERT_EQ(V_UNKNOWN(&selection)->QueryInterface(__uuidof(IEnumVARIANT), all.PutVoid()), S_OK);
  VariantClear(&selection);
  VARIANT ids[3];
  ULONG fetched = 0;
  EXPECT_EQ(all->Next(3, ids, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(V_I4(&ids[0]), 2);
  EXPECT_EQ(V_I4(&ids[1]), 4);

  // The place of a row on the screen, and the row found at a point.
  RECT row{};
  SendMessageW(list_.listBox(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
  MapWindowPoints(list_.listBox(), nullptr, reinterpret_cast<POINT*>(&row), 2);
  long x, y, w, h;
  ASSERT_EQ(list.acc->accLocation(&x, &y, &w, &h, ChildId(3)), S_OK);
  EXPECT_EQ(y, row.top);
  EXPECT_EQ(x, row.left);
  EXPECT_EQ(w, row.right - row.left);
  VARIANT hit;
  ASSERT_EQ(list.acc->accHitTest(row.left + 5, row.top + 2, &hit), S_OK);
  EXPECT_EQ(V_I4(&hit), 3);
}

TEST_F(ResultListTest, FocusAndSelectionEventsAsAListBoxRaisesThem) {
  count_ = 100;
  list_.SetCount(count_);
  SetFocus(list_.listBox());
  EventsOf(list_.listBox());
  HWND box = list_.listBox();
  Click(1, 0);
  EXPECT_EQ(EventsOf(box), (std::vector<Event>{{EVENT_OBJECT_FOCUS, box, 2},
                                                {EVENT_OBJECT_SELECTION, box, 2}}));
  Click(4, MK_CONTROL);
  EXPECT_EQ(EventsOf(box), (std::vector<Event>{{EVENT_OBJECT_FOCUS, box, 5},
                                                {EVENT_OBJECT_SELECTIONADD, box, 5}}));
  SendMessageW(box, WM_KEYDOWN, VK_UP, 0);  // the focus and a single selection move up
  EXPECT_EQ(EventsOf(box), (std::vector<Event>{{EVENT_OBJECT_FOCUS, box, 4},
                                                {EVENT_OBJECT_SELECTION, box, 4}}));
  // Select All from the model: one event for the whole list.
  list_.ApplySelection(count_, [](int) { return true; }, 0);
  EXPECT_EQ(EventsOf(box), (std::vector<Event>{{EVENT_OBJECT_FOCUS, box, 1},
                                                {EVENT_OBJECT_SELECTIONWITHIN, box, CHILDID_SELF}}));
  // New rows: the reader fetches them again.
  list_.SetCount(3);
  EXPECT_EQ(EventsOf(box), (std::vector<Event>{{EVENT_OBJECT_REORDER, box, CHILDID_SELF}}));
}

TEST_F(AccessibilityTest, AnObjectThatOutlivesItsListIsCutOffNotFreed) {
  ComPtr<IAccessible> acc;
  {
    VirtualList list;
    VirtualList::Events events;
    events.rowCount = [] { return 2; };
    events.rowText = [](int) { return std::string("x"); };
    list.Create(host_.hwnd(), kIdListBox4, {}, std::move(events));
    list.SetCount(2);
    ASSERT_EQ(AccessibleObjectFromWindow(list.listBox(), OBJID_CLIENT, __uuidof(IAccessible),
                                         acc.PutVoid()),
              S_OK);
    BSTR name = nullptr;
    ASSERT_EQ(acc->get_accName(ChildId(1), &name), S_OK);
    EXPECT_STREQ(name, L"x");
    SysFreeString(name);
  }
  long count = 7;
  EXPECT_EQ(acc->get_accChildCount(&count), RPC_E_DISCONNECTED);
  BSTR name = nullptr;
  EXPECT_EQ(acc->get_accName(ChildId(1), &name), RPC_E_DISCONNECTED);
  EXPECT_EQ(name, nullptr);
}

// ---- The options dialog's check lists ----

TEST_F(AccessibilityTest, CheckListItemsAreNamedWithTheirCheckMarks) {
  HWND box = CreateWindowExW(0, L"LISTBOX", L"Find Unneeded Files of types:",
                             WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY,
                             0, 0, 200, 200, host_.hwnd(), nullptr, nullptr, nullptr);
  std::vector<int> toggled;
  CheckListBox checks;
  checks.Attach(box, [&](int row) { toggled.push_back(row); });
  CheckList model;
  model.Add("*.tmp", true);
  model.Add("*.bak", false);
  checks.Assign(model);
  Reader reader(box);
  ASSERT_EQ(reader.hr, S_OK);
  ASSERT_EQ(reader.Count(), 2);
  EXPECT_EQ(reader.Name(CHILDID_SELF), L"Find Unneeded Files of types:");
  EXPECT_EQ(reader.Name(1), L"*.tmp");
  EXPECT_EQ(reader.Name(2), L"*.bak");
  EXPECT_TRUE(reader.State(1) & STATE_SYSTEM_CHECKED);
  EXPECT_FALSE(reader.State(2) & STATE_SYSTEM_CHECKED);
  EXPECT_EQ(reader.DefaultAction(1), L"Uncheck");
  EXPECT_EQ(reader.DefaultAction(2), L"Check");
  // The reader toggles through the same path as a click on the check box.
  EXPECT_EQ(reader.acc->accDoDefaultAction(ChildId(2)), S_OK);
  EXPECT_EQ(toggled, std::vector<int>{1});
  EventsOf(box);
  model.items[1].checked = true;
  checks.Assign(model);
  EXPECT_TRUE(reader.State(2) & STATE_SYSTEM_CHECKED);
  EXPECT_EQ(EventsOf(box), (std::vector<Event>{{EVENT_OBJECT_STATECHANGE, box, 2}}));
  checks.SetHighlight(1);
  EXPECT_EQ(EventsOf(box), (std::vector<Event>{{EVENT_OBJECT_SELECTION, box, 2}}));
}

// ---- Toolbar ----

TEST_F(AccessibilityTest, ToolbarButtonsArePressedByKeysOrByTheReader) {
  ToolBarControl bar;
  bar.Create(host_.hwnd(), 7, {{101, 0}, {0, 0}, {102, 1}, {103, 2}});
  bar.SetHint(101, L"&Open Selected File");
  bar.Enable(102, false);
  Reader reader(bar.hwnd());
  ASSERT_EQ(reader.hr, S_OK);
  ASSERT_EQ(reader.Count(), 3) << "the separator is no button";
  EXPECT_EQ(reader.Name(1), L"Open Selected File");
  EXPECT_EQ(reader.DefaultAction(3), L"Press");

  // Pressed by the reader: the command comes from the message loop, and a
  // disabled button gives none.
  EXPECT_EQ(reader.acc->accDoDefaultAction(ChildId(2)), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(reader.acc->accDoDefaultAction(ChildId(3)), S_OK);
  EXPECT_TRUE(host_.commands.empty());
  Pump();
  EXPECT_EQ(host_.commands, std::vector<int>{103});

  // With the focus, the arrows skip the disabled button and Space presses.
  host_.commands.clear();
  SetFocus(bar.hwnd());
  EXPECT_TRUE(reader.State(1) & STATE_SYSTEM_FOCUSED);
  SendMessageW(bar.hwnd(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_TRUE(reader.State(3) & STATE_SYSTEM_FOCUSED);
  EXPECT_EQ(EventsOf(bar.hwnd()).back(), (Event{EVENT_OBJECT_FOCUS, bar.hwnd(), 3}));
  SendMessageW(bar.hwnd(), WM_KEYDOWN, VK_RIGHT, 0);  // round to the first
  EXPECT_TRUE(reader.State(1) & STATE_SYSTEM_FOCUSED);
  SendMessageW(bar.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  Pump();
  EXPECT_EQ(host_.commands, std::vector<int>{101});
}

}  // namespace
}  // namespace scourly::gui
