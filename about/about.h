// The About window's logic: one instance for the whole run, shown without
// blocking the main window; its link opens the maker's web site.
#pragma once

#include <string>

#include "platform/shell.h"
#include "platform/views.h"

namespace scourly {

class TAboutDialog {
 public:
  explicit TAboutDialog(Shell& shell);

  // Label1, the link over the picture.
  struct LinkLabel {
    std::string caption;
  } Label1;

  // "&About Scourly": shows the window, or brings it forward when it is
  // already open.
  void Show();
  // A click on Label1.
  void Label1Click();

  FormView* view = nullptr;  // set by the window that draws the dialog

 private:
  Shell& shell_;
};

}  // namespace scourly
