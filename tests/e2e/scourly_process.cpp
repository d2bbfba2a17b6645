#include "tests/e2e/scourly_process.h"

#include <stdexcept>

#include "ui/controls/probe.h"
#include "ui/main/gui_ids.h"

namespace scourly::e2e {

using namespace scourly::gui;

RemoteBuffer::RemoteBuffer(HANDLE process, size_t size) : process_(process) {
  address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!address_) throw std::runtime_error("VirtualAllocEx failed");
}

RemoteBuffer::~RemoteBuffer() {
  if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

void RemoteBuffer::Write(const void* data, size_t size, size_t offset) {
  SIZE_T done = 0;
  WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &done);
}

void RemoteBuffer::Read(void* data, size_t size, size_t offset) const {
  SIZE_T done = 0;
  ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &done);
}

std::wstring RemoteBuffer::ReadString(size_t offset, size_t maxChars) const {
  std::wstring text(maxChars, L'\0');
  Read(text.data(), maxChars * sizeof(wchar_t), offset);
  text.resize(wcsnlen(text.c_str(), maxChars));
  return text;
}

// ---- Process ----

bool ScourlyProcess::Start(const std::wstring& exe, DWORD timeoutMs) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  std::wstring cmd = L"\"" + exe + L"\"";
  std::wstring dir = exe.substr(0, exe.find_last_of(L'\\') + 1);
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                      &si, &pi_))
    return false;
  WaitForInputIdle(pi_.hProcess, timeoutMs);
  return WaitFor(
      [this] {
        HWND w = FindWindowW(kMainWindowClass, L"Scourly");
        DWORD pid = 0;
        if (w) GetWindowThreadProcessId(w, &pid);
        if (w && pid == pi_.dwProcessId && IsWindowVisible(w)) main_ = w;
        return main_ != nullptr;
      },
      timeoutMs);
}

bool ScourlyProcess::Running() const {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD ScourlyProcess::Close(DWORD timeoutMs) {
  DWORD code = STILL_ACTIVE;
  if (!pi_.hProcess) return code;
  if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(pi_.hProcess, 99);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  GetExitCodeProcess(pi_.hProcess, &code);
  CloseHandle(pi_.hProcess);
  CloseHandle(pi_.hThread);
  pi_ = {};
  main_ = nullptr;
  return code;
}

LRESULT ScourlyProcess::Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) const {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_NORMAL, 20000, &result)) return -1;
  return static_cast<LRESULT>(result);
}

void ScourlyProcess::Settle() const {
  // A sent message is handled before the posted ones still waiting, so a
  // mark is posted behind them and the driver waits until it came through.
  static LPARAM mark = 0;
  const LPARAM wanted = ++mark;
  PostMessageW(main_, kMsgSettleMark, 0, wanted);
  for (int i = 0; i < 1000; ++i) {
    if (Send(main_, kMsgSettleMarkRead, 0, 0) == wanted) return;
    Sleep(5);
  }
}

HWND ScourlyProcess::MoreControl(int id) const { return GetDlgItem(Control(kIdMoreSheet), id); }

HWND ScourlyProcess::ListView(int n) const {
  // ListBox4 lives on the "IE Cache" page, ListBox6 on "Web Browsers".
  HWND parent = n == 4 ? Control(kIdCacheSheet) : n == 6 ? Control(kIdWebSheet) : main_;
  return GetDlgItem(parent, kIdListBox1 + n - 1);
}

HWND ScourlyProcess::ListBox(int n) const { return GetDlgItem(ListView(n), kIdListInner); }

// ---- Status bar ----

std::wstring ScourlyProcess::Panel(int i) const {
  RemoteBuffer buffer(pi_.hProcess, 4096);
  Send(Control(kIdStatusBar1), SB_GETTEXTW, i, buffer.lparam());
  return buffer.ReadString(0, 1024);
}

std::vector<int> ScourlyProcess::PanelEdges() const {
  RemoteBuffer buffer(pi_.hProcess, 64);
  int n = static_cast<int>(Send(Control(kIdStatusBar1), SB_GETPARTS, 8, buffer.lparam()));
  std::vector<int> edges(n > 0 ? n : 0);
  if (n > 0) buffer.Read(edges.data(), n * sizeof(int));
  return edges;
}

// ---- Toolbar and menus ----

bool ScourlyProcess::ButtonEnabled(int cmd) const {
  return Send(Control(kIdToolBar1), TB_ISBUTTONENABLED, cmd, 0) != 0;
}

std::wstring ScourlyProcess::Hint(int cmd) const {
  HWND tip = reinterpret_cast<HWND>(Send(Control(kIdToolBar1), TB_GETTOOLTIPS, 0, 0));
  if (!tip) return L"<no tooltip control>";
  constexpr size_t kTextOffset = 512;
  RemoteBuffer buffer(pi_.hProcess, kTextOffset + 4096);
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = Control(kIdToolBar1);
  ti.uId = cmd;
  ti.lpszText = reinterpret_cast<wchar_t*>(buffer.lparam(kTextOffset));
  buffer.Write(&ti, sizeof ti);
  Send(tip, TTM_GETTEXTW, 1024, buffer.lparam());
  return buffer.ReadString(kTextOffset, 1024);
}

RECT ScourlyProcess::ButtonRect(int index) const {
  RemoteBuffer buffer(pi_.hProcess, sizeof(RECT));
  Send(Control(kIdToolBar1), TB_GETITEMRECT, index, buffer.lparam());
  RECT rc{};
  buffer.Read(&rc, sizeof rc);
  return rc;
}

void ScourlyProcess::PressButton(int cmd) const {
  HWND bar = Control(kIdToolBar1);
  int index = static_cast<int>(Send(bar, TB_COMMANDTOINDEX, cmd, 0));
  RECT rc = ButtonRect(index);
  LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  Send(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
  Send(bar, WM_LBUTTONUP, 0, at);
  Settle();
}

void ScourlyProcess::Click(int cmd) const {
  HWND from = cmd < kCmdScanUnneededFiles1 ? Control(kIdToolBar1) : nullptr;
  PostMessageW(main_, WM_COMMAND, MAKEWPARAM(cmd, 0), reinterpret_cast<LPARAM>(from));
}

// The program answers its probes into a buffer of its own; the text is read
// from there.
std::wstring ScourlyProcess::ReadProbe() const {
  void* at = reinterpret_cast<void*>(Send(main_, kMsgProbeBuffer, 0, 0));
  if (!at) return L"<no probe buffer>";
  std::wstring text(kProbeCapacity, L'\0');
  SIZE_T done = 0;
  ReadProcessMemory(pi_.hProcess, at, text.data(), kProbeCapacity * sizeof(wchar_t), &done);
  text.resize(wcsnlen(text.c_str(), kProbeCapacity));
  return text;
}

std::wstring ScourlyProcess::MenuCaption(int cmd) const {
  if (Send(main_, kMsgGetMenuCaption, cmd, 0) < 0) return L"<no such item>";
  return ReadProbe();
}

int ScourlyProcess::MenuEnabled(int cmd) const {
  return static_cast<int>(Send(main_, kMsgGetMenuEnabled, cmd, 0));
}

// ---- Tabs ----

int ScourlyProcess::TabCount(HWND tab) const {
  return static_cast<int>(Send(tab, TCM_GETITEMCOUNT, 0, 0));
}

std::wstring ScourlyProcess::TabCaption(HWND tab, int i) const {
  constexpr size_t kTextOffset = 256;
  RemoteBuffer buffer(pi_.hProcess, kTextOffset + 1024);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = reinterpret_cast<wchar_t*>(buffer.lparam(kTextOffset));
  item.cchTextMax = 256;
  buffer.Write(&item, sizeof item);
  Send(tab, TCM_GETITEMW, i, buffer.lparam());
  return buffer.ReadString(kTextOffset, 256);
}

int ScourlyProcess::TabImage(HWND tab, int i) const {
  RemoteBuffer buffer(pi_.hProcess, 256);
  TCITEMW item{};
  item.mask = TCIF_IMAGE;
  buffer.Write(&item, sizeof item);
  Send(tab, TCM_GETITEMW, i, buffer.lparam());
  buffer.Read(&item, sizeof item);
  return item.iImage;
}

void ScourlyProcess::ClickTab(HWND tab, int i) const {
  RemoteBuffer buffer(pi_.hProcess, sizeof(RECT));
  Send(tab, TCM_GETITEMRECT, i, buffer.lparam());
  RECT rc{};
  buffer.Read(&rc, sizeof rc);
  LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  Send(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
  Send(tab, WM_LBUTTONUP, 0, at);
  Settle();
}

RECT ScourlyProcess::TabDisplayRect(HWND tab) const {
  RECT rc{};
  GetClientRect(tab, &rc);
  RemoteBuffer buffer(pi_.hProcess, sizeof(RECT));
  buffer.Write(&rc, sizeof rc);
  Send(tab, TCM_ADJUSTRECT, FALSE, buffer.lparam());
  buffer.Read(&rc, sizeof rc);
  return rc;
}

// ---- Column headers ----

HWND ScourlyProcess::Header(int n) const { return GetDlgItem(ListView(n), kIdListHeader); }

RECT ScourlyProcess::HeaderSectionRect(int n, int section) const {
  RemoteBuffer buffer(pi_.hProcess, sizeof(RECT));
  Send(Header(n), HDM_GETITEMRECT, section, buffer.lparam());
  RECT rc{};
  buffer.Read(&rc, sizeof rc);
  return rc;
}

void ScourlyProcess::ClickHeader(int n, int section) const {
  RECT rc = HeaderSectionRect(n, section);
  LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  Send(Header(n), WM_LBUTTONDOWN, MK_LBUTTON, at);
  Send(Header(n), WM_LBUTTONUP, 0, at);
  Settle();
}

// ---- Rows ----

int ScourlyProcess::RowCount(int n) const {
  return static_cast<int>(Send(ListBox(n), LB_GETCOUNT, 0, 0));
}

std::wstring ScourlyProcess::RowText(int n, int row) const {
  if (Send(ListView(n), kMsgGetRowText, row, 0) < 0) return L"<no such row>";
  return ReadProbe();
}

std::vector<std::wstring> ScourlyProcess::Rows(int n) const {
  std::vector<std::wstring> rows;
  for (int i = 0, count = RowCount(n); i < count; ++i) rows.push_back(RowText(n, i));
  return rows;
}

void ScourlyProcess::ClickRow(int n, int row, bool control) const {
  HWND list = ListBox(n);
  int height = static_cast<int>(Send(list, LB_GETITEMHEIGHT, 0, 0));
  int top = static_cast<int>(Send(list, LB_GETTOPINDEX, 0, 0));
  RECT client{};
  GetClientRect(list, &client);
  if (height > 0 && (row < top || (row - top + 1) * height > client.bottom)) {
    Send(list, LB_SETTOPINDEX, row, 0);  // as the scroll bar would
    top = static_cast<int>(Send(list, LB_GETTOPINDEX, 0, 0));
  }
  LPARAM at = MAKELPARAM(20, (row - top) * height + height / 2);
  WPARAM keys = control ? MK_CONTROL : 0;
  Send(list, WM_LBUTTONDOWN, keys | MK_LBUTTON, at);
  Send(list, WM_LBUTTONUP, keys, at);
  Settle();
}

RECT ScourlyProcess::RowRect(int n, int row) const {
  // A list box message: the system carries its RECT between processes.
  RECT rc{};
  if (Send(ListBox(n), LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc)) == LB_ERR) return RECT{};
  return rc;
}

void ScourlyProcess::DoubleClickRow(int n, int row) const {
  HWND list = ListBox(n);
  RECT rc = RowRect(n, row);
  LPARAM at = MAKELPARAM(rc.left + 20, (rc.top + rc.bottom) / 2);
  Send(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  Send(list, WM_LBUTTONUP, 0, at);
  Send(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  Send(list, WM_LBUTTONUP, 0, at);
  Settle();
}

std::vector<int> ScourlyProcess::SelectedRows(int n) const {
  std::vector<int> rows;
  HWND list = ListBox(n);
  for (int i = 0, count = RowCount(n); i < count; ++i) {
    if (Send(list, LB_GETSEL, i, 0) > 0) rows.push_back(i);
  }
  return rows;
}

// ---- Message boxes ----

namespace {

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::wstring TextOf(HWND hwnd) {
  wchar_t text[1024] = {};
  GetWindowTextW(hwnd, text, 1024);  // WM_GETTEXT is carried between processes
  return text;
}

std::vector<HWND> TopWindowsOf(DWORD pid) {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{pid, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == s->pid && IsWindowVisible(hwnd)) s->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

HWND ScourlyProcess::WaitForMessageBox(DWORD timeoutMs) const {
  HWND box = nullptr;
  WaitFor(
      [&] {
        for (HWND w : TopWindowsOf(pid())) {
          if (ClassOf(w) == L"#32770" && TextOf(w) == L"Scourly") box = w;
        }
        return box != nullptr;
      },
      timeoutMs);
  return box;
}

ScourlyProcess::MessageBoxView ScourlyProcess::ReadMessageBox(HWND box) {
  MessageBoxView view;
  view.caption = TextOf(box);
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    std::wstring kind = ClassOf(child);
    LONG style = GetWindowLongW(child, GWL_STYLE);
    if (_wcsicmp(kind.c_str(), L"Button") == 0) {
      view.buttons.push_back(TextOf(child));
    } else if (_wcsicmp(kind.c_str(), L"Static") == 0) {
      if ((style & SS_TYPEMASK) == SS_ICON) {
        if (SendMessageW(child, STM_GETICON, 0, 0)) view.icon = true;
      } else if (std::wstring text = TextOf(child); !text.empty()) {
        if (!view.text.empty()) view.text += L"\n";
        view.text += text;
      }
    }
  }
  return view;
}

bool ScourlyProcess::AnswerMessageBox(HWND box, int id, DWORD timeoutMs) {
  HWND button = GetDlgItem(box, id);
  if (!button) return false;
  PostMessageW(button, BM_CLICK, 0, 0);
  return WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, timeoutMs);
}

std::wstring ScourlyProcess::DescribeWindows() const {
  std::wstring out;
  for (HWND w : TopWindowsOf(pid())) out += L"[" + ClassOf(w) + L" \"" + TextOf(w) + L"\"] ";
  return out.empty() ? L"(none)" : out;
}

}  // namespace scourly::e2e
