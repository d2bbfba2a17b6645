#include "ui/controls/image_strip.h"

#include "res/resource_ids.h"

namespace scourly::gui {

ImageStrip::~ImageStrip() { Release(); }

void ImageStrip::Release() {
  if (list_) ImageList_Destroy(list_);
  list_ = nullptr;
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
}

}  // namespace scourly::gui
