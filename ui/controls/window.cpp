#include "ui/controls/window.h"

#include <exception>

#include "ui/controls/scoped.h"

namespace scourly::gui {
namespace {

std::function<void(const std::string&)>& ErrorReporter() {
  static std::function<void(const std::string&)> report;
  return report;
}

void ReportError(const std::string& text) {
  if (ErrorReporter()) {
    ErrorReporter()(text);
    return;
  }
  MessageBoxA(nullptr, text.c_str(), "Scourly", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace

void RunReportingErrors(const std::function<void()>& step,
                        const std::function<void(const std::string&)>& report) {
  try {
    step();
  } catch (const std::exception& e) {
    report(e.what());
  } catch (...) {
    report("Unexpected error");
  }
}

Window::~Window() {
  if (!hwnd_) return;
  HWND hwnd = hwnd_;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  DestroyWindow(hwnd);
}

void Window::SetErrorReporter(std::function<void(const std::string&)> report) {
  ErrorReporter() = std::move(report);
}

void Window::Register(const wchar_t* className, HBRUSH background, HICON icon) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &wc)) return;
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &Window::Procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.lpszClassName = className;
  RegisterClassExW(&wc);
}

HWND Window::Create(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int w, int h, HWND parent, HMENU menuOrId) {
  return CreateWindowExW(exStyle, className, title, style, x, y, w, h, parent, menuOrId,
                         GetModuleHandleW(nullptr), this);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  // Messages before WM_NCCREATE (WM_GETMINMAXINFO) find no object yet.
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  LRESULT result = 0;
  RunReportingErrors([&] { result = self->HandleMessage(msg, wp, lp); }, ReportError);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->OnDetached();
  }
  return result;
}

int Dpi::OfWindow(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static auto fn = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (fn && hwnd) {
    if (UINT dpi = fn(hwnd)) return static_cast<int>(dpi);
  }
  return OfSystem();
}

int Dpi::OfSystem() {
  ScopedGetDC dc(nullptr);
  int dpi = GetDeviceCaps(dc.get(), LOGPIXELSY);
  return dpi > 0 ? dpi : 96;
}

Font MakeFont(const wchar_t* face, int height) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return Font(CreateFontIndirectW(&lf));
}

HWND CreateChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id,
                 DWORD exStyle) {
  return CreateWindowExW(exStyle, cls, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace scourly::gui
