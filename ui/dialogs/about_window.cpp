#include "ui/dialogs/about_window.h"

#include <ole2.h>
#include <olectl.h>

#include <cstring>

#include "platform/win32/com_ptr.h"
#include "res/resource_ids.h"
#include "ui/controls/scoped.h"

namespace scourly::gui {
namespace {

constexpr COLORREF kLinkBackground = RGB(142, 101, 55);
constexpr int kPictureWidth = 400, kPictureHeight = 300;

}  // namespace

// OLE's picture loader decodes GIF on Windows and under Wine alike (through
// the imaging component), with no start-up of its own to manage.
Bitmap LoadGifResource(int resourceId, SIZE& size) {
  size = {};
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!info) return {};
  HGLOBAL loaded = LoadResource(module, info);
  const DWORD bytes = SizeofResource(module, info);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data || bytes == 0) return {};

  // The stream takes the copy over and frees it with itself.
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!copy) return {};
  void* target = GlobalLock(copy);
  std::memcpy(target, data, bytes);
  GlobalUnlock(copy);
  ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(copy, TRUE, reinterpret_cast<IStream**>(stream.PutVoid())))) {
    GlobalFree(copy);
    return {};
  }
  ComPtr<IPicture> picture;
  if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(bytes), FALSE, IID_IPicture,
                            picture.PutVoid())))
    return {};
  OLE_XSIZE_HIMETRIC widthHm = 0;
  OLE_YSIZE_HIMETRIC heightHm = 0;
  picture->get_Width(&widthHm);
  picture->get_Height(&heightHm);
  OLE_HANDLE handle = 0;
  short type = PICTYPE_NONE;
  picture->get_Type(&type);
  if (type != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle)) || !handle) return {};
  BITMAP bm{};
  if (!GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof bm, &bm)) return {};

  // A bitmap of our own: the picture object and its handle go with it.
  ScopedGetDC screen(nullptr);
  ScopedCompatibleDC dc(screen.get());
  Bitmap own(CreateCompatibleBitmap(screen.get(), bm.bmWidth, bm.bmHeight));
  {
    ScopedSelectObject select(dc.get(), own.get());
    RECT all{0, 0, bm.bmWidth, bm.bmHeight};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    picture->Render(dc.get(), 0, 0, bm.bmWidth, bm.bmHeight, 0, heightHm, widthHm, -heightHm,
                    nullptr);
  }
  size = {bm.bmWidth, bm.bmHeight};
  return own;
}

bool AboutWindow::Create(HWND owner) {
  if (!Dialog::Create(owner, IDD_ABOUT)) return false;
  form_.view = this;
  return true;
}

void AboutWindow::OnInit() {
  label1_.Attach(Item(IDC_ABOUT_LABEL1), kLinkBackground);
  // A sizable window shows the program's icon in its caption.
  HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SCOURLY),
                                             IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (icon) SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void AboutWindow::ApplyDpi() {
  const Dpi& d = dpi();
  // The picture drawn for the nearest scale at or above the DPI's.
  const int id = d.value() <= 96 ? IDR_ABOUT_GIF100 : d.value() <= 144 ? IDR_ABOUT_GIF150
                                                                       : IDR_ABOUT_GIF200;
  picture_ = LoadGifResource(id, pictureSize_);
  shownSize_ = picture_.get() ? SIZE{d(kPictureWidth), d(kPictureHeight)} : SIZE{};

  // 408 x 327 outside at 96 DPI, which is a client area of 400 x 300 under
  // the classic frame metrics: the client area is what the picture needs.
  SizeClient(kPictureWidth, kPictureHeight);
  Place(IDC_ABOUT_GIFIMAGE1, 0, 0, kPictureWidth, kPictureHeight);
  Place(IDC_ABOUT_LABEL1, 117, 260, 159, 14);
  label1_.SetFont(L"Verdana", 9, d);
}

void AboutWindow::Sync() {
  if (!hwnd()) return;
  std::wstring caption = Widen(form_.Label1.caption);
  if (WindowText(Item(IDC_ABOUT_LABEL1)) != caption)
    SetDlgItemTextW(hwnd(), IDC_ABOUT_LABEL1, caption.c_str());
}

void AboutWindow::DrawPicture(const DRAWITEMSTRUCT& item) const {
  FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (!picture_.get()) return;
  ScopedCompatibleDC source(item.hDC);
  ScopedSelectObject select(source.get(), picture_.get());
  if (shownSize_.cx == pictureSize_.cx && shownSize_.cy == pictureSize_.cy) {
    BitBlt(item.hDC, 0, 0, shownSize_.cx, shownSize_.cy, source.get(), 0, 0, SRCCOPY);
  } else {
    SetStretchBltMode(item.hDC, HALFTONE);
    SetBrushOrgEx(item.hDC, 0, 0, nullptr);
    StretchBlt(item.hDC, 0, 0, shownSize_.cx, shownSize_.cy, source.get(), 0, 0,
               pictureSize_.cx, pictureSize_.cy, SRCCOPY);
  }
}

void AboutWindow::OnCommand(int id, int code, HWND) {
  if (id == IDC_ABOUT_LABEL1 && code == STN_CLICKED) Run([this] { form_.Label1Click(); });
  // No buttons, so Esc (IDCANCEL) leaves the window open; only the close
  // box hides it.
}

bool AboutWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) {
  switch (msg) {
    case WM_CLOSE:
      Hide();
      result = TRUE;
      return true;
    case WM_CTLCOLORDLG:
      result = reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
      return true;
    case WM_CTLCOLORSTATIC:
      if (HBRUSH brush = label1_.Colour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp))) {
        result = reinterpret_cast<INT_PTR>(brush);
        return true;
      }
      return false;
    case WM_SETCURSOR:
      if (label1_.SetCursor(reinterpret_cast<HWND>(wp))) {
        SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, TRUE);
        result = TRUE;
        return true;
      }
      return false;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item.CtlID != IDC_ABOUT_GIFIMAGE1) return false;
      DrawPicture(item);
      result = TRUE;
      return true;
    }
  }
  return false;
}

}  // namespace scourly::gui
