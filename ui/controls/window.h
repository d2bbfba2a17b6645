// Base of Scourly's own window classes: one window procedure per class binds
// the C++ object on WM_NCCREATE and forwards every later message to it,
// behind an exception barrier: nothing unwinds through user32; an error
// escaping a handler is shown in the application's standard error box.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace scourly::gui {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  // A window that outlives its object would call into freed memory: the
  // window is let go of, then destroyed.
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }

  // Where the barrier reports an error (the standard error box); until set,
  // a plain message box.
  static void SetErrorReporter(std::function<void(const std::string&)> report);

 protected:
  // Registers `className` once with this class's window procedure.
  static void Register(const wchar_t* className, HBRUSH background, HICON icon = nullptr);
  // CreateWindowEx with this object bound to the new window.
  HWND Create(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
              int y, int w, int h, HWND parent, HMENU menuOrId);

  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  // Called after WM_NCDESTROY; the handle is gone.
  virtual void OnDetached() {}

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
};

// Pixels at the window's DPI from pixels at 96 DPI.
class Dpi {
 public:
  explicit Dpi(int dpi = 96) : dpi_(dpi) {}
  int operator()(int px96) const { return MulDiv(px96, dpi_, 96); }
  int unscale(int px) const { return MulDiv(px, 96, dpi_); }
  int value() const { return dpi_; }
  // Font height for a point size, negative (character height) as LOGFONT wants.
  int FontHeight(int points) const { return -MulDiv(points, dpi_, 72); }

  static int OfWindow(HWND hwnd);
  static int OfSystem();

 private:
  int dpi_;
};

// Owns a GDI object (font, bitmap, brush); deletes it when destroyed.
template <class H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& o) noexcept : h_(o.h_) { o.h_ = nullptr; }
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = o.h_;
      o.h_ = nullptr;
    }
    return *this;
  }
  ~GdiObject() { reset(); }
  void reset(H h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  H get() const { return h_; }

 private:
  H h_ = nullptr;
};

using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;

Font MakeFont(const wchar_t* face, int height);

// Runs `step`; an error escaping it goes to `report` with its text, and
// nothing unwinds further: the barrier every handler runs behind.
void RunReportingErrors(const std::function<void()>& step,
                        const std::function<void(const std::string&)>& report);

// A child control of class `cls`, placed later by its owner's layout.
HWND CreateChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id,
                 DWORD exStyle = 0);

std::wstring WindowText(HWND hwnd);

}  // namespace scourly::gui
