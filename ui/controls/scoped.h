// Owners of what Win32 pairs by hand: a device context, an object selected
// into one, a menu, an icon, COM on this thread. Each releases in its
// destructor, so the release happens on every path, errors included.
#pragma once

#include <windows.h>
#include <objbase.h>

namespace scourly::gui {

class ScopedGetDC {
 public:
  explicit ScopedGetDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ScopedGetDC(const ScopedGetDC&) = delete;
  ScopedGetDC& operator=(const ScopedGetDC&) = delete;
  ~ScopedGetDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

class ScopedCompatibleDC {
 public:
  explicit ScopedCompatibleDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
  ScopedCompatibleDC(const ScopedCompatibleDC&) = delete;
  ScopedCompatibleDC& operator=(const ScopedCompatibleDC&) = delete;
  ~ScopedCompatibleDC() {
    if (dc_) DeleteDC(dc_);
  }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ object)
      : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
  ~ScopedSelectObject() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

class ScopedMenu {
 public:
  explicit ScopedMenu(HMENU menu = nullptr) : menu_(menu) {}
  ScopedMenu(const ScopedMenu&) = delete;
  ScopedMenu& operator=(const ScopedMenu&) = delete;
  ~ScopedMenu() { reset(); }
  void reset(HMENU menu = nullptr) {
    if (menu_) DestroyMenu(menu_);
    menu_ = menu;
  }
  HMENU get() const { return menu_; }
  // Hands the menu to a window, which destroys it with itself.
  HMENU release() {
    HMENU menu = menu_;
    menu_ = nullptr;
    return menu;
  }

 private:
  HMENU menu_;
};

class ScopedIcon {
 public:
  explicit ScopedIcon(HICON icon = nullptr) : icon_(icon) {}
  ScopedIcon(const ScopedIcon&) = delete;
  ScopedIcon& operator=(const ScopedIcon&) = delete;
  ~ScopedIcon() { reset(); }
  void reset(HICON icon = nullptr) {
    if (icon_) DestroyIcon(icon_);
    icon_ = icon;
  }
  HICON get() const { return icon_; }

 private:
  HICON icon_;
};

// COM for this thread, apartment-threaded, for as long as the object lives.
class ScopedCom {
 public:
  ScopedCom() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ScopedCom(const ScopedCom&) = delete;
  ScopedCom& operator=(const ScopedCom&) = delete;
  ~ScopedCom() {
    if (ok_) CoUninitialize();
  }

 private:
  bool ok_;
};

}  // namespace scourly::gui
