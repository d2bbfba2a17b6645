// Creating the main window and its controls, laying them out, and the fonts,
// pictures and sizes of each DPI.
#include <algorithm>

#include "lists/accessible_text.h"
#include "lists/app_title.h"
#include "res/resource_ids.h"
#include "ui/main/command_table.h"
#include "ui/main/gui_ids.h"
#include "ui/main/main_window.h"

namespace scourly::gui {
namespace {

const std::vector<TabControl::Tab> kTabs = {
    {L"Unneeded Files", 14}, {L"Recent Files", 5}, {L"IE Favorites", 9},
    {L"Browser Cache", 7},   {L"Dead Shortcuts", 4},
};
const std::vector<TabControl::Tab> kSubTabs = {
    {L"IE Cache", -1}, {L"    More    ", -1}, {L"Web Browsers", -1}};

const std::vector<ListColumn> kResultColumns = {
    {L"File Name", 175}, {L"Location", 200}, {L"Size (B)", 60}, {L"Time Stamp", 75}};

void SetFont(HWND hwnd, HFONT font) {
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

HICON LoadIconSized(int cxMetric, int cyMetric) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SCOURLY),
                                       IMAGE_ICON, GetSystemMetrics(cxMetric),
                                       GetSystemMetrics(cyMetric), 0));
}

}  // namespace

void MainWindow::Create() {
  dpi_ = Dpi(Dpi::OfSystem());
  icon_.reset(LoadIconSized(SM_CXICON, SM_CYICON));
  smallIcon_.reset(LoadIconSized(SM_CXSMICON, SM_CYSMICON));
  Register(kMainWindowClass, GetSysColorBrush(COLOR_BTNFACE), icon_.get());
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");

  // 578 x 393 outer size at 96 DPI, centred on the desktop.
  int w = dpi_(578), h = dpi_(393);
  int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  CreateMenus();
  Window::Create(WS_EX_APPWINDOW, kMainWindowClass, Widen(kAppTitle).c_str(),
                 WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y, w, h, nullptr, menuBar_);
  if (!hwnd()) {
    DestroyMenu(menuBar_);  // no window took it
    menuBar_ = nullptr;
    return;
  }
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
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
  std::vector<ToolBarControl::Button> buttons;
  for (const ToolCommand& tool : ToolCommands()) buttons.push_back({tool.cmd, tool.image});
  toolBar_.Create(hwnd(), kIdToolBar1, buttons);
  buttonState_.assign(ToolCommands().size(), ButtonState{});
  statusBar_.Create(hwnd(), kIdStatusBar1);
  pageControl1_.Create(hwnd(), kIdPageControl1,
                       WS_VISIBLE | TCS_BUTTONS | TCS_FLATBUTTONS | TCS_FOCUSNEVER | TCS_MULTILINE,
                       kTabs);
  pageControl2_.Create(hwnd(), kIdPageControl2, 0, kSubTabs);
  CreateCacheSheet();
  CreateWebSheet();
  CreateLists();
  CreateMoreSheet();
  // Later siblings lie below earlier ones, but a page control must lie below
  // what shows on its pages. Bottom up: PageControl1, PageControl2, the two
  // pages of PageControl2, then everything else.
  for (HWND h : {webSheet_.hwnd(), moreSheet_.hwnd(), cacheSheet_.hwnd(), pageControl2_.hwnd(),
                 pageControl1_.hwnd()})
    SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  AddTabStops();
}

void MainWindow::CreateMenus() {
  menuBar_ = CreateMenu();
  HMENU file = CreatePopupMenu();
  HMENU help = CreatePopupMenu();
  popup_.reset(CreatePopupMenu());
  AppendMenuW(menuBar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(file), L"&File");
  AppendMenuW(menuBar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(help), L"&Help");
  HMENU submenu = nullptr;
  for (const MenuCommand& def : MenuCommands()) {
    HMENU target = def.owner == MenuOwner::kFile   ? file
                   : def.owner == MenuOwner::kHelp ? help
                                                   : popup_.get();
    if (submenu) target = submenu;
    std::wstring caption = def.model          ? Widen((form_.*def.model).caption)
                           : def.fixedCaption ? def.fixedCaption
                                              : L"";
    switch (def.kind) {
      case MenuKind::kSeparator:
        AppendMenuW(target, MF_SEPARATOR, 0, nullptr);
        break;
      case MenuKind::kSubmenu:
        submenu = CreatePopupMenu();
        AppendMenuW(target, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu),
                    caption.c_str());
        break;
      case MenuKind::kSubmenuEnd:
        submenu = nullptr;
        break;
      case MenuKind::kItem:
        AppendMenuW(target, MF_STRING, def.cmd, caption.c_str());
        break;
    }
  }
  SetMenuDefaultItem(popup_.get(), kCmdOpen1, FALSE);
  menuState_.assign(MenuCommands().size(), MenuState{});
}

void MainWindow::CreateLists() {
  using Key = void (TMainForm::*)(int);
  using Header = void (TMainForm::*)(int);
  using Double = void (TMainForm::*)();
  static constexpr Key kKeys[6] = {&TMainForm::ListBox1KeyDown, &TMainForm::ListBox2KeyDown,
                                   &TMainForm::ListBox3KeyDown, &TMainForm::ListBox4KeyDown,
                                   &TMainForm::ListBox5KeyDown, &TMainForm::ListBox6KeyDown};
  static constexpr Header kHeaders[6] = {
      &TMainForm::ListBox1HeaderSectionClick, &TMainForm::ListBox2HeaderSectionClick,
      &TMainForm::ListBox3HeaderSectionClick, nullptr, &TMainForm::ListBox5HeaderSectionClick,
      &TMainForm::ListBox6HeaderSectionClick};
  static constexpr Double kDoubles[6] = {&TMainForm::ListBox1DblClick, &TMainForm::ListBox2DblClick,
                                         &TMainForm::ListBox3DblClick, nullptr,
                                         &TMainForm::ListBox5DblClick, &TMainForm::ListBox6DblClick};
  for (int i = 0; i < 6; ++i) {
    VirtualList::Events events;
    if (i == 3) {
      const TextList& list = form_.ListBox4;
      events.rowCount = [&list] { return list.Count(); };
      events.rowText = [&list](int row) { return list[row]; };
    } else {
      const ResultList& list = ResultListAt(i);
      events.rowCount = [&list] { return list.Count(); };
      events.rowText = [&list](int row) { return list[row].Text(); };
      events.cellText = [&list](int row, int column) { return ResultCell(list[row], column); };
      events.headerClick = [this, i](int section) {
        Run([this, i, section] { (form_.*kHeaders[i])(section); });
      };
      events.doubleClick = [this, i] { Run([this, i] { (form_.*kDoubles[i])(); }); };
    }
    events.keyDown = [this, i](int key) {
      // Only Delete is the program's; every other key is the list box's.
      if (key != kVkDelete) return false;
      Run([this, i, key] { (form_.*kKeys[i])(key); });
      return true;
    };
    events.selectionChanged = [this, i](std::vector<int> rows, int caret) {
      OnListSelection(i, std::move(rows), caret);
    };
    events.contextMenu = [this](POINT pt) { ShowPopup(pt); };
    // ListBox4 lives on the "IE Cache" page, ListBox6 on "Web Browsers".
    HWND parent = i == 3 ? cacheSheet_.hwnd() : i == kWebList ? webSheet_.hwnd() : hwnd();
    lists_[i].Create(parent, kIdListBox1 + i, i == 3 ? std::vector<ListColumn>{} : kResultColumns,
                     std::move(events));
    if (i == 3 || i == kWebList) lists_[i].Show(true);  // shown and hidden with its page
    // A screen reader names each list after its page.
    lists_[i].SetAccessibleName(i == 3          ? kSubTabs[kSubTabIECache].caption
                                : i == kWebList ? kSubTabs[kSubTabWebBrowsers].caption
                                                : kTabs[i].caption);
  }
}

// ---- DPI and layout ----

void MainWindow::ApplyDpi(int dpi) {
  dpi_ = Dpi(dpi);
  // The new fonts and pictures go onto the controls first; the old ones are
  // freed only once nothing uses them.
  Font mainFont = MakeFont(L"MS Sans Serif", dpi_.FontHeight(8));
  Font arialFont = MakeFont(L"Arial", dpi_.FontHeight(8));
  ImageStrip images;
  images.Load(dpi);
  HFONT main = mainFont.get(), arial = arialFont.get();
  SetFont(hwnd(), main);

  toolBar_.SetMetrics(images.list(), images.size(), main, dpi_);
  SetFont(statusBar_.hwnd(), main);
  SetFont(pageControl1_.hwnd(), arial);
  SendMessageW(pageControl1_.hwnd(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.list()));
  SendMessageW(pageControl1_.hwnd(), TCM_SETPADDING, 0, MAKELPARAM(dpi_(4), dpi_(3)));
  SetFont(pageControl2_.hwnd(), arial);
  for (VirtualList& list : lists_) list.SetMetrics(arial, dpi_);
  SetCacheSheetFonts(arial);
  SetMoreSheetFonts(arial);
  SetWebSheetFonts(arial);
  mainFont_ = std::move(mainFont);
  arialFont_ = std::move(arialFont);
  images_.Swap(images);

  // Menu pictures: the menus ask the window to draw them (WM_DRAWITEM), so
  // they come from ImageList1 with their transparency.
  for (const MenuCommand& def : MenuCommands()) {
    if (def.kind != MenuKind::kItem || def.image < 0) continue;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_BITMAP;
    info.hbmpItem = HBMMENU_CALLBACK;
    SetMenuItemInfoW(MenuOf(def.owner), def.cmd, FALSE, &info);
  }

  // Status panels 200, 125 and 125 pixels wide; the last one takes the rest.
  statusBar_.SetParts({200, 125, 125, 30}, dpi_);
  statusRevision_ = ~0ull;
  moreApplied_.clear();
  Layout();
}

void MainWindow::Layout() {
  if (!toolBar_.hwnd()) return;
  RECT client;
  GetClientRect(hwnd(), &client);
  const int toolBarHeight = dpi_(24), panelHeight = dpi_(8);
  MoveWindow(toolBar_.hwnd(), 0, 0, client.right, toolBarHeight, TRUE);
  statusBar_.FitToParent();
  const int top = toolBarHeight + panelHeight;
  MoveWindow(pageControl1_.hwnd(), 0, top, client.right,
             std::max<int>(0, client.bottom - statusBar_.Height() - top), TRUE);
  RECT page = pageControl1_.PageRect();
  const int pw = page.right - page.left, ph = page.bottom - page.top;
  for (int i : {0, 1, 2, 4}) lists_[i].Move(page.left, page.top, pw, ph);
  MoveWindow(pageControl2_.hwnd(), page.left, page.top, pw, ph, TRUE);
  RECT sub = pageControl2_.PageRect();
  for (HWND sheet : {cacheSheet_.hwnd(), moreSheet_.hwnd(), webSheet_.hwnd()})
    MoveWindow(sheet, sub.left, sub.top, sub.right - sub.left, sub.bottom - sub.top, TRUE);
  LayoutCacheSheet();
  LayoutWebSheet();
  moreApplied_.clear();
  SyncMoreSheet();
}

// The resize rule runs on every change of size, with the sheet width the
// window has now; the models then say where the "More" controls go.
void MainWindow::ResizeFromModel() {
  RECT sub = pageControl2_.PageRect();
  form_.MoreSheetWidth = dpi_.unscale(sub.right - sub.left);
  form_.Minimized = IsIconic(hwnd()) != FALSE;
  Run([this] { form_.FormResize(); });
}

}  // namespace scourly::gui
