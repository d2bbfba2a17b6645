#include "ui/dialogs/file_type_window.h"

#include "res/resource_ids.h"

namespace scourly::gui {

bool FileTypeWindow::Create(HWND owner) {
  if (!Dialog::Create(owner, IDD_FILE_TYPE)) return false;
  form_.view = this;
  return true;
}

void FileTypeWindow::ApplyDpi() {
  SizeClient(230, 114);
  SIZE label = TextSize(IDC_FILETYPE_LABEL1);
  MoveWindow(Item(IDC_FILETYPE_LABEL1), dpi()(24), dpi()(16), label.cx, label.cy, TRUE);
  Place(IDC_FILETYPE_EDIT1, 24, 32, 177, 21);
  Place(IDOK, 23, 68, 75, 25);
  Place(IDCANCEL, 127, 68, 75, 25);
}

void FileTypeWindow::Sync() {
  if (!hwnd()) return;
  const std::wstring wanted = Widen(form_.Edit1.text);
  if (WindowText(Item(IDC_FILETYPE_EDIT1)) != wanted) {
    syncing_ = true;
    SetDlgItemTextW(hwnd(), IDC_FILETYPE_EDIT1, wanted.c_str());
    syncing_ = false;
  }
}

void FileTypeWindow::AfterShow() {
  if (form_.ActiveControl == TFileTypeDlg::Focus::kEdit1) FocusItem(IDC_FILETYPE_EDIT1);
}

void FileTypeWindow::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDC_FILETYPE_EDIT1:
      if (code == EN_CHANGE && !syncing_) {
        // The text exactly as typed: no trimming, no change of case.
        std::string text = Narrow(WindowText(Item(IDC_FILETYPE_EDIT1)));
        Run([this, &text] { form_.Edit1.text = std::move(text); });
      }
      break;
    case IDOK:  // the button or Enter
      if (code == BN_CLICKED) Run([this] { form_.OKBtnClick(); });
      break;
    case IDCANCEL:  // the button, Esc or the close box
      if (code == BN_CLICKED) Run([this] { form_.CancelBtnClick(); });
      break;
  }
}

}  // namespace scourly::gui
