#include "options/uoptions.h"

namespace scourly {

TUOptionsDialog::TUOptionsDialog(Platform& platform)
    : platform_(platform), settings_(platform.fs) {}

void TUOptionsDialog::FormCreate() { settings_.Load(options); }

void TUOptionsDialog::ResetClick() { SettingsFile::ResetFileTypes(options); }

void TUOptionsDialog::OKBtnClick() {
  settings_.Save(options);
  if (view) view->Hide();
}

void TUOptionsDialog::Show() {
  FormCreate();
  if (view) view->Show();
}

void TUOptionsDialog::ShowModal() {
  FormCreate();
  if (view) view->ShowModal();
}

}  // namespace scourly
