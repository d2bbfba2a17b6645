#include "options/uoptions.h"

#include "about/help_links.h"
#include "lists/app_title.h"

namespace scourly {

TUOptionsDialog::TUOptionsDialog(Platform& platform)
    : platform_(platform), settings_(platform.fs) {}

std::string UnreadableSettingsText(const std::string& path) {
  return path +
         " could not be read, so the options shown are not the ones it holds. Replace it with "
         "the options shown?";
}

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
  // The options on view did not come from a file that cannot be read; it
  // may hold what the user wants kept.
  if (settings_.Unreadable() &&
      platform_.ui.ShowMessage(UnreadableSettingsText(settings_.Path()), kAppTitle,
                               MsgButtons::kYesNo, MsgIcon::kInformation) != MsgResult::kYes)
    return;
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
