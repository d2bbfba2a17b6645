// A top-level window without content of its own yet, owned by the main
// window and hidden until shown. The dialogs start as these; each shows,
// hides and closes like a form, and its close box only hides it.
#pragma once

#include <windows.h>

#include "platform/views.h"
#include "ui/controls/window.h"

namespace scourly::gui {

class ShellForm : public Window, public FormView {
 public:
  // `client96` is the client size at 96 DPI; the window is centred on the
  // desktop.
  void Create(HWND owner, const wchar_t* caption, SIZE client96, DWORD style);

  void Show() override;
  void ShowModal() override;
  void Hide() override;
  void Close() override;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HWND owner_ = nullptr;
  bool modal_ = false;
};

}  // namespace scourly::gui
