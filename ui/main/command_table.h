// The main window's commands in one place: each toolbar button and menu item
// with its id, its model in TMainForm, its picture and the handler a click
// runs. The window builds its toolbar and menus from these tables, copies the
// models onto them, and routes clicks through them.
#pragma once

#include <functional>
#include <vector>

#include "app/main_form.h"

namespace scourly::gui {

using Click = std::function<void(TMainForm&)>;

// A toolbar button, left to right; cmd 0 is a separator (a gap of 8 pixels).
struct ToolCommand {
  int cmd;
  ToolButton TMainForm::*model;
  int image;
  Click click;
};

enum class MenuOwner { kFile, kHelp, kPopup };
enum class MenuKind { kItem, kSeparator, kSubmenu, kSubmenuEnd };

// A menu entry in menu order.
struct MenuCommand {
  MenuOwner owner;
  MenuKind kind;
  int cmd;
  MenuItem TMainForm::*model;  // null: a fixed caption
  int image;                    // -1: none
  Click click;
  const wchar_t* fixedCaption;
};

const std::vector<ToolCommand>& ToolCommands();
const std::vector<MenuCommand>& MenuCommands();

}  // namespace scourly::gui
