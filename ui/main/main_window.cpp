#include "ui/main/main_window.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <exception>

#include "ui/main/gui_ids.h"
#include "res/resource_ids.h"

namespace scourly::gui {
namespace {

using Handler = void (TMainForm::*)();

// The toolbar, left to right. cmd 0 is a separator (a gap of 8 pixels).
// A null handler is a command whose logic is not wired up yet.
struct ToolDef {
  int cmd;
  ToolButton TMainForm::*model;
  int image;
  Handler click;
};
const ToolDef kTools[] = {
    {kCmdFindFilesTB, &TMainForm::FindFilesTB, 0, &TMainForm::FindFilesTBClick},
    {kCmdStopTB, &TMainForm::StopTB, 28, &TMainForm::StopTBClick},
    {kCmdClearTB, &TMainForm::ClearTB, 29, &TMainForm::ClearTBClick},
    {0, nullptr, 0, nullptr},
    {kCmdDeleteAllTB, &TMainForm::DeleteAllTB, 16, &TMainForm::DeleteAllTBClick},
    {kCmdDeleteSelTB, &TMainForm::DeleteSelTB, 13, &TMainForm::Delete1Click},
    {kCmdDeletePerTB, &TMainForm::DeletePerTB, 1, &TMainForm::DeletePerTBClick},
    {kCmdOpenTB, &TMainForm::OpenTB, 8, nullptr},
    {0, nullptr, 0, nullptr},
    {kCmdSelectAllTB, &TMainForm::SelectAllTB, 2, nullptr},
    {kCmdInvertSelTB, &TMainForm::InvertSelTB, 26, nullptr},
    {0, nullptr, 0, nullptr},
    {kCmdToolButton1, &TMainForm::ToolButton1, 30, nullptr},
    {0, nullptr, 0, nullptr},
    {kCmdOptionsTB, &TMainForm::OptionsTB, 3, &TMainForm::OptionsTBClick},
};

// Menu items. kind: 0 item, 1 separator, 2 submenu start, 3 submenu end.
enum MenuKind { kItem, kSeparator, kSubmenu, kSubmenuEnd };
enum MenuOwner { kFileMenu, kHelpMenu, kPopupMenu };
struct MenuDef {
  MenuOwner owner;
  MenuKind kind;
  int cmd;
  MenuItem TMainForm::*model;
  int image;
  Handler click;
  const wchar_t* fixedCaption;  // items without a model of their own
};
const MenuDef kMenus[] = {
    {kFileMenu, kItem, kCmdScanUnneededFiles1, &TMainForm::ScanUnneededFiles1, 14,
     &TMainForm::ScanUnneededFiles1Click, nullptr},
    {kFileMenu, kItem, kCmdScanforRecentDocuments1, &TMainForm::ScanforRecentDocuments1, 5,
     &TMainForm::ScanforRecentDocuments1Click, nullptr},
    {kFileMenu, kItem, kCmdScanforFavorites1, &TMainForm::ScanforFavorites1, 9,
     &TMainForm::ScanforFavorites1Click, nullptr},
    {kFileMenu, kItem, kCmdScanforIECahefiles1, &TMainForm::ScanforIECahefiles1, 7,
     &TMainForm::ScanforIECahefiles1Click, nullptr},
    {kFileMenu, kItem, kCmdScanforDeadShortcuts1, &TMainForm::ScanforDeadShortcuts1, 4,
     &TMainForm::ScanforDeadShortcuts1Click, nullptr},
    {kFileMenu, kSeparator, 0, nullptr, -1, nullptr, nullptr},
    {kFileMenu, kItem, kCmdOptions1, &TMainForm::Options1, 3, &TMainForm::Options1Click, nullptr},
    {kFileMenu, kSeparator, 0, nullptr, -1, nullptr, nullptr},
    {kFileMenu, kItem, kCmdExit1, &TMainForm::Exit1, 6, &TMainForm::Exit1Click, nullptr},

    {kHelpMenu, kItem, kCmdNScourlyHelp1, &TMainForm::NScourlyHelp1, 11, nullptr, nullptr},
    {kHelpMenu, kItem, kCmdHomePage1, &TMainForm::HomePage1, 10, nullptr, nullptr},
    {kHelpMenu, kItem, kCmdFrequentlyAskedQuestions1, &TMainForm::FrequentlyAskedQuestions1, 25,
     nullptr, nullptr},
    {kHelpMenu, kItem, kCmdProductUpdate1, &TMainForm::ProductUpdate1, 22, nullptr, nullptr},
    {kHelpMenu, kSeparator, 0, nullptr, -1, nullptr, nullptr},
    {kHelpMenu, kItem, kCmdCommentsandSuggestions1, &TMainForm::CommentsandSuggestions1, 18,
     nullptr, nullptr},
    {kHelpMenu, kItem, kCmdReportBug1, &TMainForm::ReportBug1, 19, nullptr, nullptr},
    {kHelpMenu, kSeparator, 0, nullptr, -1, nullptr, nullptr},
    {kHelpMenu, kItem, kCmdVelmoraProducts1, &TMainForm::VelmoraProducts1, 17, nullptr, nullptr},
    {kHelpMenu, kSubmenu, 0, &TMainForm::DevelopmentServices1, -1, nullptr, nullptr},
    {kHelpMenu, kItem, kCmdServiceLink1, nullptr, -1, nullptr, L"Custom &Software Development"},
    {kHelpMenu, kSeparator, 0, nullptr, -1, nullptr, nullptr},
    {kHelpMenu, kItem, kCmdServiceLink2, nullptr, -1, nullptr, L"&Web Site Development"},
    {kHelpMenu, kItem, kCmdServiceLink3, nullptr, -1, nullptr, L"Windows &Application Development"},
    {kHelpMenu, kSubmenuEnd, 0, nullptr, -1, nullptr, nullptr},
    {kHelpMenu, kItem, kCmdAdvertisewithUs1, &TMainForm::AdvertisewithUs1, 15, nullptr, nullptr},
    {kHelpMenu, kSeparator, 0, nullptr, -1, nullptr, nullptr},
    {kHelpMenu, kItem, kCmdAboutDlg, &TMainForm::AboutDlg, 21, nullptr, nullptr},

    {kPopupMenu, kItem, kCmdFindFiles1, &TMainForm::FindFiles1, 0, &TMainForm::FindFiles1Click,
     nullptr},
    {kPopupMenu, kSeparator, 0, nullptr, -1, nullptr, nullptr},
    {kPopupMenu, kItem, kCmdOpen1, &TMainForm::Open1, 8, nullptr, nullptr},
    {kPopupMenu, kItem, kCmdDelete1, &TMainForm::Delete1, 13, &TMainForm::Delete1Click, nullptr},
    {kPopupMenu, kItem, kCmdDeletePermanently1, &TMainForm::DeletePermanently1, 1,
     &TMainForm::DeletePermanently1Click, nullptr},
    {kPopupMenu, kSeparator, 0, nullptr, -1, nullptr, nullptr},
    {kPopupMenu, kItem, kCmdSelectAll1, &TMainForm::SelectAll1, 2, nullptr, nullptr},
    {kPopupMenu, kItem, kCmdInvertSelection1, &TMainForm::InvertSelection1, 26, nullptr, nullptr},
};

struct TabDef {
  const wchar_t* caption;
  int image;
};
const TabDef kTabs[kTabCount] = {
    {L"Unneeded Files", 14}, {L"Recent Files", 5},    {L"IE Favorites", 9},
    {L"Browser Cache", 7},   {L"Dead Shortcuts", 4},
};
const wchar_t* const kSubTabs[] = {L"IE Cache", L"    More    "};

const std::vector<ListColumn> kResultColumns = {
    {L"File Name", 175}, {L"Location", 200}, {L"Size (B)", 60}, {L"Time Stamp", 75}};

// Layout of the "More" sheet at 96 DPI that the models do not hold: the
// vertical places. The models' horizontal bounds of the edits and buttons are
// relative to their group box.
constexpr int kGroupTop = 8, kGroupHeight = 170;
constexpr int kPathRowTop[2] = {76, 124};  // label; the edit is 16 below
constexpr int kEditHeight = 21;
const wchar_t* const kPathLabels[4] = {L"User Profile:", L"Cache Directory:",
                                       L"Program Directory:", L"Cache Directory:"};

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id,
           DWORD exStyle = 0) {
  return CreateWindowExW(exStyle, cls, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

void SetFont(HWND hwnd, HFONT font) {
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace

MainWindow::MainWindow(TMainForm& form, Win32Ui& ui) : form_(form), ui_(ui) {}

MainWindow::~MainWindow() {
  RemoveTrayIcon();
  if (hwnd()) DestroyWindow(hwnd());
  if (popup_) DestroyMenu(popup_);
  if (icon_) DestroyIcon(icon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
}

void MainWindow::Run(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ui_.ShowError(e.what());
  } catch (...) {
    ui_.ShowError("Unexpected error");
  }
  Sync();
}

// ---- Creation ----

void MainWindow::Create() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  dpi_ = Dpi(Dpi::OfSystem());
  icon_ = static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(IDI_SCOURLY), IMAGE_ICON,
                                        GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  smallIcon_ = static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(IDI_SCOURLY), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  Register(kMainWindowClass, GetSysColorBrush(COLOR_BTNFACE), icon_);
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");

  // 578 x 393 outer size at 96 DPI, centred on the desktop.
  int w = dpi_(578), h = dpi_(393);
  int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  CreateMenus();
  Window::Create(WS_EX_APPWINDOW, kMainWindowClass, Widen(kAppTitle).c_str(),
                 WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y, w, h, nullptr, menuBar_);
  if (!hwnd()) return;
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  int windowDpi = Dpi::OfWindow(hwnd());
  if (windowDpi != dpi_.value()) {
    dpi_ = Dpi(windowDpi);
    SetWindowPos(hwnd(), nullptr, 0, 0, dpi_(578), dpi_(393), SWP_NOMOVE | SWP_NOZORDER);
  }
  CreateControls();
  ApplyDpi(dpi_.value());
  ui_.SetOwner(hwnd());
  ui_.SetBeforePump([this] { Sync(); });
  form_.view = this;
  created_ = true;
  Layout();
  Run([this] { form_.FormCreate(); });
  AddTrayIcon();
}

void MainWindow::CreateControls() {
  CreateToolBar();
  statusBar_ = Child(hwnd(), STATUSCLASSNAMEW, L"", WS_VISIBLE | SBARS_SIZEGRIP, kIdStatusBar1);
  CreateTabs();
  CreateLists();
  CreateMoreSheet();
  // Later siblings lie below earlier ones, but a page control must lie below
  // what shows on its pages. Bottom up: PageControl1, PageControl2, the
  // "More" page, then everything else.
  for (HWND h : {moreSheet_.hwnd(), pageControl2_, pageControl1_})
    SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::CreateToolBar() {
  toolBar_ = Child(hwnd(), TOOLBARCLASSNAMEW, L"",
                   WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
                       CCS_NORESIZE | CCS_NOPARENTALIGN,
                   kIdToolBar1);
  SendMessageW(toolBar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  std::vector<TBBUTTON> buttons;
  for (const ToolDef& def : kTools) {
    TBBUTTON b{};
    if (def.cmd == 0) {
      b.iBitmap = 8;  // a separator's width
      b.fsStyle = BTNS_SEP;
    } else {
      b.iBitmap = def.image;
      b.idCommand = def.cmd;
      b.fsState = TBSTATE_ENABLED;
      b.fsStyle = BTNS_BUTTON;
      b.iString = -1;
    }
    buttons.push_back(b);
  }
  SendMessageW(toolBar_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  toolTip_ = reinterpret_cast<HWND>(SendMessageW(toolBar_, TB_GETTOOLTIPS, 0, 0));
  buttonState_.assign(std::size(kTools), ButtonState{});
}

void MainWindow::CreateMenus() {
  menuBar_ = CreateMenu();
  HMENU file = CreatePopupMenu();
  HMENU help = CreatePopupMenu();
  popup_ = CreatePopupMenu();
  AppendMenuW(menuBar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(file), L"&File");
  AppendMenuW(menuBar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(help), L"&Help");
  HMENU submenu = nullptr;
  for (const MenuDef& def : kMenus) {
    HMENU target = def.owner == kFileMenu ? file : def.owner == kHelpMenu ? help : popup_;
    if (submenu) target = submenu;
    std::wstring caption = def.model ? Widen((form_.*def.model).caption)
                                     : def.fixedCaption ? def.fixedCaption : L"";
    switch (def.kind) {
      case kSeparator:
        AppendMenuW(target, MF_SEPARATOR, 0, nullptr);
        break;
      case kSubmenu:
        submenu = CreatePopupMenu();
        AppendMenuW(target, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu),
                    caption.c_str());
        break;
      case kSubmenuEnd:
        submenu = nullptr;
        break;
      case kItem:
        AppendMenuW(target, MF_STRING, def.cmd, caption.c_str());
        break;
    }
  }
  SetMenuDefaultItem(popup_, kCmdOpen1, FALSE);
  menuState_.assign(std::size(kMenus), MenuState{});
}

void MainWindow::CreateTabs() {
  pageControl1_ = Child(hwnd(), WC_TABCONTROLW, L"",
                        WS_VISIBLE | WS_CLIPSIBLINGS | TCS_BUTTONS | TCS_FLATBUTTONS | TCS_FOCUSNEVER |
                            TCS_MULTILINE,
                        kIdPageControl1);
  for (int i = 0; i < kTabCount; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<wchar_t*>(kTabs[i].caption);
    item.iImage = kTabs[i].image;
    SendMessageW(pageControl1_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  pageControl2_ = Child(hwnd(), WC_TABCONTROLW, L"", WS_CLIPSIBLINGS, kIdPageControl2);
  for (int i = 0; i < 2; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(kSubTabs[i]);
    SendMessageW(pageControl2_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
}

void MainWindow::CreateLists() {
  for (int i = 0; i < 5; ++i) {
    VirtualList::Events events;
    if (i == 3) {
      events.rowText = [this](int row) { return form_.ListBox4[row]; };
    } else {
      ResultList* list = i == 0 ? &form_.ListBox1 : i == 1 ? &form_.ListBox2
                         : i == 2 ? &form_.ListBox3 : &form_.ListBox5;
      events.rowText = [list](int row) { return (*list)[row].Text(); };
    }
    events.selectionChanged = [this, i](std::vector<int> rows, int caret) {
      OnListSelection(i, std::move(rows), caret);
    };
    events.contextMenu = [this](POINT pt) { ShowPopup(pt); };
    lists_[i].Create(hwnd(), kIdListBox1 + i, i == 3 ? std::vector<ListColumn>{} : kResultColumns,
                     std::move(events));
  }
}

void MainWindow::CreateMoreSheet() {
  moreSheet_.Create(hwnd(), kIdMoreSheet);
  HWND sheet = moreSheet_.hwnd();
  groupBox2_ = Child(sheet, L"BUTTON", L"Netscape 4.7", WS_VISIBLE | BS_GROUPBOX | WS_CLIPSIBLINGS,
                     kIdGroupBox2);
  groupBox3_ = Child(sheet, L"BUTTON", L"Opera", WS_VISIBLE | BS_GROUPBOX | WS_CLIPSIBLINGS,
                     kIdGroupBox3);
  for (int i = 0; i < 4; ++i) {
    pathLabels_[i] = Child(sheet, L"STATIC", kPathLabels[i], WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                           kIdNProfileLabel + i);
    pathEdits_[i] = Child(sheet, L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                          kIdNProfile + i, WS_EX_CLIENTEDGE);
    browseButtons_[i] = Child(sheet, L"BUTTON", L"...", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                              kIdSpeedButton1 + i);
  }
  // The group boxes lie below the controls they frame.
  for (HWND h : {groupBox3_, groupBox2_})
    SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::AddTrayIcon() {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = hwnd();
  nid.uID = 1;
  nid.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  nid.uCallbackMessage = kMsgTrayIcon;
  nid.hIcon = smallIcon_;
  lstrcpynW(nid.szTip, Widen(kAppTitle).c_str(), ARRAYSIZE(nid.szTip));
  trayAdded_ = Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
}

void MainWindow::RemoveTrayIcon() {
  if (!trayAdded_) return;
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = hwnd();
  nid.uID = 1;
  Shell_NotifyIconW(NIM_DELETE, &nid);
  trayAdded_ = false;
}

// ---- DPI and layout ----

void MainWindow::ApplyDpi(int dpi) {
  dpi_ = Dpi(dpi);
  mainFont_ = MakeFont(L"MS Sans Serif", dpi_.FontHeight(8));
  arialFont_ = MakeFont(L"Arial", dpi_.FontHeight(8));
  images_.Load(dpi);
  SetFont(hwnd(), mainFont_.get());

  SetFont(toolBar_, mainFont_.get());
  SendMessageW(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.list()));
  SendMessageW(toolBar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(images_.size(), images_.size()));
  SendMessageW(toolBar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(dpi_(23), dpi_(22)));
  // Separators are 8 pixels at 96 DPI.
  int count = static_cast<int>(SendMessageW(toolBar_, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    TBBUTTON b{};
    SendMessageW(toolBar_, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
    if (!(b.fsStyle & BTNS_SEP)) continue;
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_SIZE | TBIF_BYINDEX;
    info.cx = static_cast<WORD>(dpi_(8));
    SendMessageW(toolBar_, TB_SETBUTTONINFOW, i, reinterpret_cast<LPARAM>(&info));
  }
  if (toolTip_) {
    SetFont(toolTip_, mainFont_.get());
    SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, dpi_(600));
  }

  SetFont(statusBar_, mainFont_.get());
  SetFont(pageControl1_, arialFont_.get());
  SendMessageW(pageControl1_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.list()));
  SendMessageW(pageControl1_, TCM_SETPADDING, 0, MAKELPARAM(dpi_(4), dpi_(3)));
  SetFont(pageControl2_, arialFont_.get());
  for (VirtualList& list : lists_) list.SetMetrics(arialFont_.get(), dpi_);
  for (HWND h : {groupBox2_, groupBox3_}) SetFont(h, arialFont_.get());
  for (int i = 0; i < 4; ++i) {
    SetFont(pathLabels_[i], arialFont_.get());
    SetFont(pathEdits_[i], arialFont_.get());
    SetFont(browseButtons_[i], arialFont_.get());
  }

  // Menu pictures: the menus ask the window to draw them (WM_DRAWITEM), so
  // they come from ImageList1 with their transparency.
  HMENU file = GetSubMenu(menuBar_, 0), help = GetSubMenu(menuBar_, 1);
  for (const MenuDef& def : kMenus) {
    if (def.kind != kItem || def.image < 0) continue;
    HMENU menu = def.owner == kFileMenu ? file : def.owner == kHelpMenu ? help : popup_;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_BITMAP;
    info.hbmpItem = HBMMENU_CALLBACK;
    SetMenuItemInfoW(menu, def.cmd, FALSE, &info);
  }

  // Status panels 200, 125 and 125 pixels wide; the last one takes the rest.
  int parts[4] = {dpi_(200), dpi_(325), dpi_(450), -1};
  SendMessageW(statusBar_, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(parts));
  statusRevision_ = ~0ull;
  moreApplied_.clear();
  Layout();
}

RECT MainWindow::PageRect() const {
  RECT rc;
  GetWindowRect(pageControl1_, &rc);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&rc), 2);
  RECT display = rc;
  SendMessageW(pageControl1_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  return display;
}

RECT MainWindow::SubPageRect() const {
  RECT rc;
  GetWindowRect(pageControl2_, &rc);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&rc), 2);
  RECT display = rc;
  SendMessageW(pageControl2_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  return display;
}

void MainWindow::Layout() {
  if (!toolBar_) return;
  RECT client;
  GetClientRect(hwnd(), &client);
  const int toolBarHeight = dpi_(24), panelHeight = dpi_(8);
  MoveWindow(toolBar_, 0, 0, client.right, toolBarHeight, TRUE);
  SendMessageW(statusBar_, WM_SIZE, 0, 0);
  RECT sb;
  GetWindowRect(statusBar_, &sb);
  const int statusHeight = sb.bottom - sb.top;
  const int top = toolBarHeight + panelHeight;
  MoveWindow(pageControl1_, 0, top, client.right, std::max<int>(0, client.bottom - statusHeight - top),
             TRUE);
  RECT page = PageRect();
  const int pw = page.right - page.left, ph = page.bottom - page.top;
  for (int i : {0, 1, 2, 4}) lists_[i].Move(page.left, page.top, pw, ph);
  MoveWindow(pageControl2_, page.left, page.top, pw, ph, TRUE);
  RECT sub = SubPageRect();
  MoveWindow(moreSheet_.hwnd(), sub.left, sub.top, sub.right - sub.left, sub.bottom - sub.top,
             TRUE);
  lists_[3].Move(sub.left, sub.top, sub.right - sub.left, sub.bottom - sub.top);
  moreApplied_.clear();
  SyncMoreSheet();
}

// The resize rule runs on every change of size, with the sheet width the
// window has now; the models then say where the "More" controls go.
void MainWindow::ResizeFromModel() {
  RECT sub = SubPageRect();
  form_.MoreSheetWidth = dpi_.unscale(sub.right - sub.left);
  form_.Minimized = IsIconic(hwnd()) != FALSE;
  Run([this] { form_.FormResize(); });
}

// ---- Copying the models onto the controls ----

void MainWindow::Sync() {
  if (!created_ || !hwnd()) return;
  SyncTabs();
  SyncToolBar();
  SyncMenus();
  SyncStatusBar();
  SyncLists();
  SyncMoreSheet();
}

void MainWindow::SyncToolBar() {
  for (size_t i = 0; i < std::size(kTools); ++i) {
    const ToolDef& def = kTools[i];
    if (def.cmd == 0) continue;
    const ToolButton& model = form_.*def.model;
    ButtonState& state = buttonState_[i];
    if (!state.known || state.enabled != model.enabled) {
      SendMessageW(toolBar_, TB_ENABLEBUTTON, def.cmd, MAKELPARAM(model.enabled ? TRUE : FALSE, 0));
      state.enabled = model.enabled;
    }
    std::wstring hint = Widen(model.hint);
    if (!state.known || state.hint != hint) {
      state.hint = std::move(hint);
      if (toolTip_) {
        TOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = toolBar_;
        ti.uId = def.cmd;
        ti.lpszText = state.hint.data();
        SendMessageW(toolTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
      }
    }
    state.known = true;
  }
}

void MainWindow::SyncMenus() {
  HMENU file = GetSubMenu(menuBar_, 0), help = GetSubMenu(menuBar_, 1);
  for (size_t i = 0; i < std::size(kMenus); ++i) {
    const MenuDef& def = kMenus[i];
    if (!def.model) continue;
    const MenuItem& model = form_.*def.model;
    MenuState& state = menuState_[i];
    if (state.known && state.enabled == model.enabled && state.caption == model.caption) continue;
    HMENU menu = def.owner == kFileMenu ? file : def.owner == kHelpMenu ? help : popup_;
    std::wstring caption = Widen(model.caption);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_STATE;
    info.dwTypeData = caption.data();
    info.fState = (model.enabled ? MFS_ENABLED : MFS_DISABLED) |
                  (def.cmd == kCmdOpen1 ? MFS_DEFAULT : 0);
    if (def.kind == kSubmenu) {
      // A submenu is found by its place in the Help menu.
      int n = GetMenuItemCount(help);
      for (int k = 0; k < n; ++k) {
        if (GetSubMenu(help, k)) SetMenuItemInfoW(help, k, TRUE, &info);
      }
    } else {
      SetMenuItemInfoW(menu, def.cmd, FALSE, &info);
    }
    state = {model.enabled, model.caption, true};
  }
}

void MainWindow::SyncStatusBar() {
  if (form_.StatusBar1.revision == statusRevision_) return;
  for (int i = 0; i < 4; ++i) {
    std::wstring text = Widen(form_.StatusBar1.Get(i));
    SendMessageW(statusBar_, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(text.c_str()));
  }
  statusRevision_ = form_.StatusBar1.revision;
  // A scan repaints the bar while it runs, before the queue is pumped.
  UpdateWindow(statusBar_);
}

void MainWindow::SyncTabs() {
  int tab = form_.PageControl1.activeIndex, sub = form_.PageControl2.activeIndex;
  if (tab == shownTab_ && sub == shownSubTab_) return;
  if (SendMessageW(pageControl1_, TCM_GETCURSEL, 0, 0) != tab)
    SendMessageW(pageControl1_, TCM_SETCURSEL, tab, 0);
  if (SendMessageW(pageControl2_, TCM_GETCURSEL, 0, 0) != sub)
    SendMessageW(pageControl2_, TCM_SETCURSEL, sub, 0);
  shownTab_ = tab;
  shownSubTab_ = sub;
  ShowSheets();
}

void MainWindow::ShowSheets() {
  const bool cache = shownTab_ == kTabBrowserCache;
  const bool more = cache && shownSubTab_ == kSubTabMore;
  for (int i : {0, 1, 2, 4}) {
    int tabOfList = i == 4 ? kTabDeadShortcuts : i;
    lists_[i].Show(shownTab_ == tabOfList);
  }
  ShowWindow(pageControl2_, cache ? SW_SHOW : SW_HIDE);
  lists_[3].Show(cache && !more);
  ShowWindow(moreSheet_.hwnd(), more ? SW_SHOW : SW_HIDE);
}

void MainWindow::SyncLists() {
  for (int i = 0; i < 5; ++i) {
    ListSync& sync = listSync_[i];
    uint64_t revision, selectionRevision;
    int count, caret;
    std::function<bool(int)> selected;
    if (i == 3) {
      const TextList& list = form_.ListBox4;
      revision = list.revision();
      selectionRevision = list.selectionRevision();
      count = list.Count();
      caret = list.itemIndex;
      selected = [&list](int r) { return list.Selected(r); };
    } else {
      const ResultList& list = *form_.ResultListOfTab(i == 4 ? kTabDeadShortcuts : i);
      revision = list.revision();
      selectionRevision = list.selectionRevision();
      count = list.Count();
      caret = list.itemIndex;
      selected = [&list](int r) { return list.Selected(r); };
    }
    if (revision != sync.revision) {
      lists_[i].SetCount(count);
      sync.revision = revision;
      sync.selectionRevision = ~0ull;
    }
    if (selectionRevision != sync.selectionRevision || caret != sync.caret) {
      lists_[i].ApplySelection(count, selected, caret);
      sync.selectionRevision = selectionRevision;
      sync.caret = caret;
    }
  }
}

void MainWindow::SyncMoreSheet() {
  if (!groupBox2_) return;
  const Bounds& g2 = form_.GroupBox2;
  const Bounds& g3 = form_.GroupBox3;
  const Bounds* edits[4] = {&form_.NProfile, &form_.NCacheDir, &form_.OProgramDir, &form_.OCacheDir};
  const Bounds* buttons[4] = {&form_.SpeedButton1, &form_.SpeedButton2, &form_.SpeedButton3,
                              &form_.SpeedButton4};
  std::vector<int> wanted = {g2.left, g2.width, g3.left, g3.width};
  for (int i = 0; i < 4; ++i) {
    wanted.insert(wanted.end(),
                  {edits[i]->left, edits[i]->width, buttons[i]->left, buttons[i]->width});
  }
  if (wanted == moreApplied_) return;
  moreApplied_ = wanted;

  // Places on the "More" page.
  const int top = dpi_(kGroupTop);
  MoveWindow(groupBox2_, dpi_(g2.left), top, dpi_(g2.width), dpi_(kGroupHeight), TRUE);
  MoveWindow(groupBox3_, dpi_(g3.left), top, dpi_(g3.width), dpi_(kGroupHeight), TRUE);
  for (int i = 0; i < 4; ++i) {
    const int groupLeft = dpi_(i < 2 ? g2.left : g3.left);
    const int rowTop = top + dpi_(kPathRowTop[i % 2]);
    const int* w = &wanted[4 + i * 4];  // edit left, edit width, button left, button width
    MoveWindow(pathLabels_[i], groupLeft + dpi_(w[0]), rowTop, dpi_(w[1]), dpi_(14), TRUE);
    MoveWindow(pathEdits_[i], groupLeft + dpi_(w[0]), rowTop + dpi_(16), dpi_(w[1]),
               dpi_(kEditHeight), TRUE);
    MoveWindow(browseButtons_[i], groupLeft + dpi_(w[2]), rowTop + dpi_(16), dpi_(w[3]),
               dpi_(kEditHeight), TRUE);
  }
  // The page paints under its children (for the group boxes' sake), so a
  // move repaints all of it, children included.
  RedrawWindow(moreSheet_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// ---- Events ----

void MainWindow::OnListSelection(int listIndex, std::vector<int> rows, int caret) {
  if (listIndex == 3) {
    form_.ListBox4.SetSelection(rows);
    form_.ListBox4.itemIndex = caret;
    listSync_[3].selectionRevision = form_.ListBox4.selectionRevision();
    listSync_[3].caret = caret;
    Sync();
    return;
  }
  const int tab = listIndex == 4 ? kTabDeadShortcuts : listIndex;
  ResultList& list = *form_.ResultListOfTab(tab);
  list.SetSelection(rows);
  list.itemIndex = caret;
  listSync_[listIndex].selectionRevision = list.selectionRevision();
  listSync_[listIndex].caret = caret;
  static constexpr Handler kClicks[5] = {&TMainForm::ListBox1Click, &TMainForm::ListBox2Click,
                                         &TMainForm::ListBox3Click, nullptr,
                                         &TMainForm::ListBox5Click};
  Run([this, listIndex] { (form_.*kClicks[listIndex])(); });
}

void MainWindow::DrawMenuPicture(const DRAWITEMSTRUCT& item) const {
  for (const MenuDef& def : kMenus) {
    if (def.kind != kItem || static_cast<UINT>(def.cmd) != item.itemID || def.image < 0) continue;
    const int size = images_.size();
    const int x = item.rcItem.left + dpi_(2);
    const int y = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - size) / 2;
    IMAGELISTDRAWPARAMS p{};
    p.cbSize = sizeof p;
    p.himl = images_.list();
    p.i = def.image;
    p.hdcDst = item.hDC;
    p.x = x;
    p.y = y;
    p.rgbBk = CLR_NONE;
    p.rgbFg = CLR_NONE;
    p.fStyle = ILD_TRANSPARENT;
    if (item.itemState & (ODS_GRAYED | ODS_DISABLED)) {
      p.fState = ILS_SATURATE;  // a disabled item shows a grey picture
    }
    ImageList_DrawIndirect(&p);
    return;
  }
}

void MainWindow::ShowPopup(POINT screen) {
  Sync();
  TrackPopupMenu(popup_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0,
                 hwnd(), nullptr);
}

void MainWindow::OnCommand(int id, HWND from) {
  if (from == toolBar_ && from) {
    // A click reaches only an enabled button.
    if (!SendMessageW(toolBar_, TB_ISBUTTONENABLED, id, 0)) return;
    for (const ToolDef& def : kTools) {
      if (def.cmd == id && def.click) Run([this, &def] { (form_.*def.click)(); });
    }
    return;
  }
  if (from) return;  // notifications of the "More" controls: not wired here
  for (const MenuDef& def : kMenus) {
    if (def.kind != kItem || def.cmd != id) continue;
    if (def.model && !(form_.*def.model).enabled) return;  // a disabled item sends nothing
    if (def.click) Run([this, &def] { (form_.*def.click)(); });
    return;
  }
}

void MainWindow::OnNotify(const NMHDR& hdr, LRESULT& result, bool& handled) {
  if (hdr.hwndFrom == pageControl1_ && hdr.code == TCN_SELCHANGE) {
    int index = static_cast<int>(SendMessageW(pageControl1_, TCM_GETCURSEL, 0, 0));
    Run([this, index] { form_.UserSelectsTab(index); });
    handled = true;
  } else if (hdr.hwndFrom == pageControl2_ && hdr.code == TCN_SELCHANGE) {
    int index = static_cast<int>(SendMessageW(pageControl2_, TCM_GETCURSEL, 0, 0));
    Run([this, index] { form_.UserSelectsSubTab(index); });
    handled = true;
  } else if (hdr.code == TTN_GETDISPINFOW && hdr.hwndFrom == toolTip_) {
    auto& info = *reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(&hdr));
    for (size_t i = 0; i < std::size(kTools); ++i) {
      if (kTools[i].cmd != 0 && static_cast<UINT_PTR>(kTools[i].cmd) == hdr.idFrom) {
        info.lpszText = buttonState_[i].hint.data();
        info.hinst = nullptr;
      }
    }
    handled = true;
    result = 0;
  }
}

LRESULT MainWindow::CopyMenuText(int id, wchar_t* out) const {
  HMENU menus[] = {GetSubMenu(menuBar_, 0), GetSubMenu(menuBar_, 1), popup_};
  for (HMENU menu : menus) {
    wchar_t text[kRowTextCapacity];
    int n = GetMenuStringW(menu, id, text, kRowTextCapacity, MF_BYCOMMAND);
    if (n > 0 || GetMenuState(menu, id, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
      if (out) lstrcpynW(out, text, kRowTextCapacity);
      return n;
    }
  }
  // The submenu items live one level down.
  for (int k = 0; k < GetMenuItemCount(menus[1]); ++k) {
    if (HMENU sub = GetSubMenu(menus[1], k)) {
      wchar_t text[kRowTextCapacity];
      int n = GetMenuStringW(sub, id, text, kRowTextCapacity, MF_BYCOMMAND);
      if (n > 0) {
        if (out) lstrcpynW(out, text, kRowTextCapacity);
        return n;
      }
    }
  }
  return -1;
}

int MainWindow::MenuEnabled(int id) const {
  HMENU menus[] = {GetSubMenu(menuBar_, 0), GetSubMenu(menuBar_, 1), popup_};
  for (HMENU menu : menus) {
    UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    if (state != static_cast<UINT>(-1)) return (state & (MF_DISABLED | MF_GRAYED)) ? 0 : 1;
  }
  return -1;
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (created_) {
        Layout();
        ResizeFromModel();
      }
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_NOTIFY: {
      LRESULT result = 0;
      bool handled = false;
      OnNotify(*reinterpret_cast<const NMHDR*>(lp), result, handled);
      if (handled) return result;
      break;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (item->CtlType != ODT_MENU) break;
      item->itemWidth = images_.size() + dpi_(4);
      item->itemHeight = images_.size() + dpi_(2);
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item->CtlType != ODT_MENU) break;
      DrawMenuPicture(*item);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_SETCURSOR:
      if (ui_.hourglass()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      ApplyDpi(HIWORD(wp));
      SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    default:
      // Explorer started again: the notification area is new and empty.
      if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
        trayAdded_ = false;
        AddTrayIcon();
        return 0;
      }
      break;
    case kMsgTrayIcon:
      if (LOWORD(lp) == WM_LBUTTONDBLCLK) Run([this] { form_.TrayIconDblClick(); });
      return 0;
    case kMsgGetMenuCaption:
      return CopyMenuText(static_cast<int>(wp), reinterpret_cast<wchar_t*>(lp));
    case kMsgGetMenuEnabled:
      return MenuEnabled(static_cast<int>(wp));
    case WM_CLOSE: {
      bool mayClose = true;
      Run([this, &mayClose] { mayClose = form_.FormCloseQuery(); });
      if (mayClose) DestroyWindow(hwnd());
      return 0;
    }
    case WM_DESTROY:
      RemoveTrayIcon();
      created_ = false;
      ui_.SetBeforePump(nullptr);
      form_.view = nullptr;
      PostQuitMessage(0);
      return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

// ---- FormView ----

void MainWindow::ShowFirst() {
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  UpdateWindow(hwnd());
  shownOnce_ = true;
  Run([this] { form_.FormShow(); });
}

void MainWindow::Show() {
  const bool wasHidden = !IsWindowVisible(hwnd());
  ShowWindow(hwnd(), IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(hwnd());
  if (wasHidden && shownOnce_) Run([this] { form_.FormShow(); });
}

void MainWindow::Hide() { ShowWindow(hwnd(), SW_HIDE); }

void MainWindow::Close() { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

}  // namespace scourly::gui
