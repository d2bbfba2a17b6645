#include "options/file_type.h"

#include "lists/app_title.h"

namespace scourly {

bool IsValidFileExtension(const std::string& text) {
  const size_t dot = text.find('.');
  if (dot == std::string::npos) return false;
  // Characters, not bytes: a letter beyond ASCII is several bytes in UTF-8
  // but one character to the user who typed it.
  size_t characters = 0;
  for (size_t i = dot + 1; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++characters;
  }
  return characters == 3;
}

TFileTypeDlg::TFileTypeDlg(Ui& ui) : ui_(ui) {}

bool TFileTypeDlg::Execute() {
  ModalResult = TModalResult::mrNone;
  FormShow();
  if (view) view->ShowModal();
  return ModalResult == TModalResult::mrOk;
}

void TFileTypeDlg::FormShow() {
  Edit1.text.clear();
  ActiveControl = Focus::kEdit1;
}

void TFileTypeDlg::OKBtnClick() {
  if (!IsValidFileExtension(Edit1.text)) {
    ui_.ShowMessage(kBadExtensionMessage, kAppTitle, MsgButtons::kOk, MsgIcon::kNone);
    return;
  }
  ModalResult = TModalResult::mrOk;
  if (view) view->Hide();
}

void TFileTypeDlg::CancelBtnClick() {
  ModalResult = TModalResult::mrCancel;
  if (view) view->Hide();
}

}  // namespace scourly
