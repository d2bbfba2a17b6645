// What a file tab's scan works on: the tab's result list, its total-size
// text, the shared status bar and Find Files button, and the main window's
// StopFlag, read live so a Stop handled while the scan pumps is seen.
#pragma once

#include <string>

#include "lists/controls.h"
#include "options/keep_list.h"

namespace scourly {

struct FileTabScan {
  ResultList& list;               // ListBox2, ListBox3 or ListBox5
  std::string& totalSizeText;     // the tab's TotalSizeText
  StatusBar& bar;                 // StatusBar1
  ToolButton& findFilesTB;        // disabled while the scan runs; the caller enables it
  const bool& stopFlag;           // StopFlag
  int pumpBudgetMs = 30;          // between two message pumps; 0 pumps at every point
  const KeepList* keep = nullptr; // what the scan never lists (null: nothing is kept)
};

}  // namespace scourly
