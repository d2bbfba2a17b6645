#include "options/uoptions.h"

#include "about/help_links.h"

namespace scourly {

TUOptionsDialog::TUOptionsDialog(Platform& platform)
    : platform_(platform), settings_(platform.fs) {}

void TUOptionsDialog::FormCreate() {
  OptionBoxIndex = -1;  // the rows it pointed at are gone
  settings_.Load(options);
}

void TUOptionsDialog::AddClick() {
  if (!FileTypeDlg || !FileTypeDlg->Execute()) return;
  const std::string& mask = FileTypeDlg->Edit1.text;
  for (CheckItem& item : options.OptionBox.items) {
    if (item.text == mask) {
      item.checked = true;
      return;
    }
  }
  options.OptionBox.Add(mask, true);
}

void TUOptionsDialog::RemoveClick() {
  auto& items = options.OptionBox.items;
  if (OptionBoxIndex < 0 || OptionBoxIndex >= static_cast<int>(items.size())) return;
  items.erase(items.begin() + OptionBoxIndex);
  OptionBoxIndex = -1;
}

void TUOptionsDialog::CheckClick() {
  for (CheckItem& item : options.OptionBox.items) item.checked = true;
}

void TUOptionsDialog::Button1Click() {
  for (CheckItem& item : options.DrivesBox.items) item.checked = true;
}

void TUOptionsDialog::ResetClick() {
  SettingsFile::ResetFileTypes(options);
  OptionBoxIndex = -1;
}

// Whether a browser came up is the shell's business; nothing is reported.
void TUOptionsDialog::Label4Click() {
  platform_.shell.Open(FileTypesPageAddress(), ShowCommand::kShow);
}

void TUOptionsDialog::OKBtnClick() {
  settings_.Save(options);
  Hide();
}

void TUOptionsDialog::CancelBtnClick() { Hide(); }

void TUOptionsDialog::Hide() {
  visible_ = false;
  if (view) view->Hide();
}

void TUOptionsDialog::Show() {
  if (!visible_) FormCreate();
  visible_ = true;
  if (view) view->Show();
}

void TUOptionsDialog::ShowModal() {
  if (!visible_) FormCreate();
  visible_ = true;
  if (view) view->ShowModal();
  // A modal showing ends with the dialog hidden, also when the window was
  // closed without the logic's handlers (the program ending).
  visible_ = false;
}

}  // namespace scourly
