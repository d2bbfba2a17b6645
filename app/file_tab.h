// The four file tabs (Unneeded Files, Recent Files, IE Favorites, Dead
// Shortcuts) share their list's behaviour: the refresh step, Clear and the
// deletions of files. Each adds its own scan.
#pragma once

#include <string>

#include "app/tab_page.h"
#include "lists/controls.h"

namespace scourly {

class TMainForm;

class FileTab : public TabPage {
 public:
  FileTab(TMainForm& form, int tab, ResultList& list);

  ResultList& List() { return list_; }

  // The refresh step: a click in the list, or its sheet coming into view.
  void Refresh();

  void SheetShow() override { Refresh(); }
  int RowCount() const override { return list_.Count(); }
  void ClearList() override { list_.Clear(); }
  void DeleteSelected(bool toRecycleBin) override;
  void DeleteAll() override;

 protected:
  std::string& TotalSizeText();

  TMainForm& form_;
  const int tab_;
  ResultList& list_;
};

}  // namespace scourly
