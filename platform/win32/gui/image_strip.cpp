#include "platform/win32/gui/image_strip.h"

#include <cstdint>
#include <cstring>

#include "res/resource_ids.h"

namespace scourly::gui {

ImageStrip::~ImageStrip() { Release(); }

void ImageStrip::Release() {
  if (list_) ImageList_Destroy(list_);
  list_ = nullptr;
  menuBitmaps_.clear();
}

int ImageStrip::SizeForDpi(int dpi) {
  if (dpi >= 192) return 32;
  if (dpi >= 132) return 24;
  return 16;
}

void ImageStrip::Load(int dpi) {
  Release();
  size_ = SizeForDpi(dpi);
  int resource = size_ == 32 ? IDB_IMAGES32 : size_ == 24 ? IDB_IMAGES24 : IDB_IMAGES16;
  Bitmap strip(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                               IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  list_ = ImageList_Create(size_, size_, ILC_COLOR32, kImageCount, 0);
  if (!strip.get() || !list_) return;
  ImageList_Add(list_, strip.get(), nullptr);

  // Menus draw a 32-bit item bitmap with per-pixel alpha, premultiplied.
  DIBSECTION dib{};
  if (GetObjectW(strip.get(), sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBitsPixel != 32) return;
  const auto* src = static_cast<const uint8_t*>(dib.dsBm.bmBits);
  const int stride = dib.dsBm.bmWidthBytes;
  const bool bottomUp = dib.dsBmih.biHeight > 0;
  for (int i = 0; i < kImageCount; ++i) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size_;
    bi.bmiHeader.biHeight = -size_;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bmp.get()) {
      menuBitmaps_.emplace_back();
      continue;
    }
    auto* dst = static_cast<uint8_t*>(bits);
    for (int y = 0; y < size_; ++y) {
      const uint8_t* row = src + (bottomUp ? size_ - 1 - y : y) * stride + i * size_ * 4;
      for (int x = 0; x < size_; ++x) {
        const uint8_t* p = row + x * 4;
        uint8_t* q = dst + (y * size_ + x) * 4;
        const unsigned a = p[3];
        q[0] = static_cast<uint8_t>(p[0] * a / 255);
        q[1] = static_cast<uint8_t>(p[1] * a / 255);
        q[2] = static_cast<uint8_t>(p[2] * a / 255);
        q[3] = static_cast<uint8_t>(a);
      }
    }
    menuBitmaps_.push_back(std::move(bmp));
  }
}

HBITMAP ImageStrip::MenuBitmap(int index) const {
  if (index < 0 || index >= static_cast<int>(menuBitmaps_.size())) return nullptr;
  return menuBitmaps_[index].get();
}

}  // namespace scourly::gui
