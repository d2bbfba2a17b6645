// ImageList1: the 31 pictures of the toolbar, the tabs and the menus, loaded
// from the strip drawn for the window's DPI.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "ui/controls/window.h"

namespace scourly::gui {

inline constexpr int kImageCount = 31;

class ImageStrip {
 public:
  ImageStrip() = default;
  ImageStrip(const ImageStrip&) = delete;
  ImageStrip& operator=(const ImageStrip&) = delete;
  ~ImageStrip();

  // Loads the strip whose pictures suit `dpi` (16 px at 96 DPI, 24 at 144,
  // 32 at 192 and above). Replaces what was loaded before.
  void Load(int dpi);

  // Exchanges pictures with `other` (the new strip takes over, the old one
  // goes with `other`).
  void Swap(ImageStrip& other) {
    std::swap(list_, other.list_);
    std::swap(size_, other.size_);
  }

  HIMAGELIST list() const { return list_; }
  int size() const { return size_; }
  static int SizeForDpi(int dpi);

 private:
  void Release();

  HIMAGELIST list_ = nullptr;
  int size_ = 16;
};

}  // namespace scourly::gui
