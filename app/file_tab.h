// The four file tabs (Unneeded Files, Recent Files, IE Favorites, Dead
// Shortcuts) share their list's behaviour: the refresh step, Clear and the
// deletions of files. Each adds its own scan.
#pragma once

#include <string>
#include <vector>

#include "app/tab_page.h"
#include "lists/controls.h"
#include "scan/file_tab_scan.h"

namespace scourly {

class TMainForm;

class FileTab : public TabPage {
 public:
  FileTab(TMainForm& form, int tab, ResultList& list);
  // A list whose total-size text is not one of the main window's per-tab
  // texts (a sub-tab's list).
  FileTab(TMainForm& form, std::string& totalSizeText, ResultList& list);

  ResultList& List() { return list_; }

  // The refresh step: a click in the list, or its sheet coming into view.
  void Refresh();

  void SheetShow() override { Refresh(); }
  int RowCount() const override { return list_.Count(); }
  void ClearList() override { list_.Clear(); }
  void DeleteSelected(bool toRecycleBin) override;
  void DeleteAll() override;
  void SelectAll() override;
  void InvertSelection() override;
  void Open() override { OpenFile(); }

  // The current entry (the focused row, selected or not), opened with the
  // shell's "open" verb; every error is dropped.
  void OpenFile();
  // A key pressed in the list: Delete sends the selected rows to the Recycle
  // Bin, without the notice and leaving DeleteSelTB as it is.
  void KeyDown(int key);
  // A click on a column header: the panels' selection figures reset, then
  // the sort of that column ("File Name": the list box's sorted state).
  void HeaderSectionClick(int section);

 protected:
  std::string& TotalSizeText();
  // What the tab's scan works on.
  FileTabScan ScanModels();

  TMainForm& form_;
  std::string& totalSizeText_;  // the tab's TotalSizeText
  ResultList& list_;
};

}  // namespace scourly
