// Base of Scourly's own window classes: one window procedure per class binds
// the C++ object on WM_NCCREATE and forwards every later message to it.
#pragma once

#include <windows.h>

#include <string>

namespace scourly::gui {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window() = default;

  HWND hwnd() const { return hwnd_; }

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

std::wstring WindowText(HWND hwnd);

}  // namespace scourly::gui
