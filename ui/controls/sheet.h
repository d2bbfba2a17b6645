// A page of a tab control: a dialog-coloured panel that holds the page's
// controls and passes their notifications on to the window that owns it.
#pragma once

#include <windows.h>

#include "ui/controls/window.h"

namespace scourly::gui {

class Sheet : public Window {
 public:
  void Create(HWND parent, int id);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace scourly::gui
