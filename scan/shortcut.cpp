#include "scan/shortcut.h"

namespace scourly {

bool GetShortcutInfo(Shell& shell, const std::string& path, TShortcutInfo& info) {
  ShortcutFields fields;
  if (!shell.ReadShortcut(path, fields) || fields.path.empty()) return false;
  info.Path = std::move(fields.path);
  info.WorkingDirectory = std::move(fields.workingDirectory);
  info.Arguments = std::move(fields.arguments);
  info.Description = std::move(fields.description);
  info.IconLocation = std::move(fields.iconLocation);
  info.IconIndex = fields.iconIndex;
  return true;
}

bool GetShortcutTarget(Shell& shell, const std::string& path, std::string& target) {
  TShortcutInfo info;
  if (!GetShortcutInfo(shell, path, info)) return false;
  target = std::move(info.Path);
  return true;
}

}  // namespace scourly
