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
  KeepBoxIndex = -1;
  // Before the options: a failure to write their defaults leaves the keep
  // list read all the same.
  keep = KeepList::Read(platform_.fs, settings_.Path());
  KeepBox = keep;
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

void TUOptionsDialog::AddFileBtnClick() {
  if (std::optional<std::string> file = platform_.shell.BrowseForFile()) KeepBox.Add(*file);
}

void TUOptionsDialog::AddFolderBtnClick() {
  std::optional<std::string> folder = platform_.shell.BrowseForFolder(lastKeptFolder_);
  if (!folder || folder->empty()) return;
  lastKeptFolder_ = *folder;
  KeepBox.Add(folder->back() == '\\' ? *folder : *folder + "\\");
}

void TUOptionsDialog::RemoveKeepBtnClick() {
  if (KeepBoxIndex < 0 || KeepBoxIndex >= KeepBox.Count()) return;
  KeepBox.RemoveAt(KeepBoxIndex);
  KeepBoxIndex = -1;
}

bool TUOptionsDialog::AddKeep(const std::string& entry) {
  if (!keep.Add(entry)) return false;
  if (visible_) KeepBox.Add(entry);
  return true;
}

void TUOptionsDialog::SaveKeep() { keep.Write(platform_.fs, settings_.Path()); }

void TUOptionsDialog::OKBtnClick() {
  // The options on view did not come from a file that cannot be read; it
  // may hold what the user wants kept.
  if (settings_.Unreadable() &&
      platform_.ui.ShowMessage(UnreadableSettingsText(settings_.Path()), kAppTitle,
                               MsgButtons::kYesNo, MsgIcon::kInformation) != MsgResult::kYes)
    return;
  settings_.Save(options);
  // The section is written only when the list changed, so settings.ini stays
  // as it was for a user who keeps nothing.
  if (!(KeepBox == keep)) {
    keep = KeepBox;
    SaveKeep();
  }
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
