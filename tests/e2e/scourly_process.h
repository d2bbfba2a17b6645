// Drives a running Scourly.exe from another process: finds its controls,
// reads them (through memory allocated inside Scourly for the messages that
// carry pointers) and clicks them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace scourly::e2e {

// The names in `folder`, in listing order; none when it cannot be listed.
// What a driver looks at on disk beside the running program.
inline std::vector<std::wstring> NamesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (wcscmp(fd.cFileName, L".") != 0 && wcscmp(fd.cFileName, L"..") != 0)
      names.push_back(fd.cFileName);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return names;
}

// A block of memory inside another process, freed when destroyed.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size);
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  ~RemoteBuffer();

  void* address() const { return address_; }
  LPARAM lparam(size_t offset = 0) const {
    return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset);
  }
  void Write(const void* data, size_t size, size_t offset = 0);
  void Read(void* data, size_t size, size_t offset = 0) const;
  std::wstring ReadString(size_t offset = 0, size_t maxChars = 2048) const;

 private:
  HANDLE process_;
  void* address_ = nullptr;
};

class ScourlyProcess {
 public:
  // Starts `exe` (a Windows path) and waits for its main window to show.
  bool Start(const std::wstring& exe, DWORD timeoutMs = 60000);
  // Closes the main window and waits for the program to end; its exit code.
  DWORD Close(DWORD timeoutMs = 20000);
  bool Running() const;

  HWND main() const { return main_; }
  DWORD pid() const { return pi_.dwProcessId; }
  HWND Control(int id) const { return GetDlgItem(main_, id); }
  HWND MoreControl(int id) const;  // a control of the "More" page
  HWND ListView(int n) const;  // the window of ListBoxN (1 to 6): header and list box
  HWND ListBox(int n) const;  // the list box inside ListBoxN (1 to 6)

  // Status bar.
  std::wstring Panel(int i) const;
  std::vector<int> PanelEdges() const;

  // Toolbar.
  bool ButtonEnabled(int cmd) const;
  std::wstring Hint(int cmd) const;
  // The button or menu command, as a click sends it.
  void Click(int cmd) const;
  RECT ButtonRect(int index) const;  // in the toolbar's client coordinates
  // A mouse click on the toolbar button of command `cmd`: the toolbar itself
  // decides whether it becomes a command (a disabled button gives none).
  void PressButton(int cmd) const;

  // Menus (answered by the program: menus of another process cannot be read
  // under Wine).
  std::wstring MenuCaption(int cmd) const;
  int MenuEnabled(int cmd) const;

  // Tabs of a tab control.
  int TabCount(HWND tab) const;
  std::wstring TabCaption(HWND tab, int i) const;
  int TabImage(HWND tab, int i) const;
  void ClickTab(HWND tab, int i) const;  // a mouse click on the tab
  RECT TabDisplayRect(HWND tab) const;    // in the tab control's client coordinates

  // Column headers of ListBoxN (not ListBox4, which has none).
  HWND Header(int n) const;
  RECT HeaderSectionRect(int n, int section) const;  // in the header's client coordinates
  // A mouse click in the middle of the header section.
  void ClickHeader(int n, int section) const;

  // Rows of ListBoxN.
  int RowCount(int n) const;
  std::wstring RowText(int n, int row) const;
  std::vector<std::wstring> Rows(int n) const;
  // A mouse click, Ctrl held or not; a row out of view is scrolled into view
  // first.
  void ClickRow(int n, int row, bool control) const;
  // A double click on a row, as the mouse gives it: down, up, double click,
  // up; the row must be in view.
  void DoubleClickRow(int n, int row) const;
  // The rectangle of a row in view, in the list box's client coordinates.
  RECT RowRect(int n, int row) const;
  std::vector<int> SelectedRows(int n) const;

  // Message boxes of the program: dialog class "#32770" and the program's
  // title "Scourly" as caption (its dialogs share the class, not the caption).
  struct MessageBoxView {
    std::wstring caption;
    std::wstring text;                  // the visible static texts, joined by "\n"
    std::vector<std::wstring> buttons;  // the visible buttons' captions
    bool icon = false;                  // a visible icon beside the text
  };
  // The program's visible message box, waited for; nullptr on time-out. The
  // options and About windows, shown or not, are never taken for one.
  HWND WaitForMessageBox(DWORD timeoutMs = 10000) const;
  static MessageBoxView ReadMessageBox(HWND box);
  // Clicks the box's button `id` (IDOK, IDYES...) and waits for the box to go.
  static bool AnswerMessageBox(HWND box, int id, DWORD timeoutMs = 10000);
  // The captions and classes of the program's visible top-level windows, for
  // failure messages.
  std::wstring DescribeWindows() const;

  // Waits until `done()` holds, pumping nothing; false on time-out.
  template <class F>
  static bool WaitFor(F done, DWORD timeoutMs = 20000) {
    DWORD start = GetTickCount();
    while (!done()) {
      if (GetTickCount() - start > timeoutMs) return false;
      Sleep(50);
    }
    return true;
  }
  // Lets the program handle what is queued (a message round trip).
  void Settle() const;

 private:
  LRESULT Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) const;

  std::wstring ReadProbe() const;

  PROCESS_INFORMATION pi_{};
  HWND main_ = nullptr;
};

}  // namespace scourly::e2e
