// A started program on a fake machine, shared by the tests of the main
// window's commands: C: (unchecked in the settings) and the test drive T:,
// masks "*.tmp" and "*.bak", and four files on T: that a scan lists.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_form.h"
#include "platform/fake/fake_windows.h"

namespace scourly {

struct ProgramOnTestDrive : ::testing::Test {
  static constexpr const char* kIni = "C:\\Program Files\\Scourly\\settings.ini";

  fake::FakeWindows win;
  TUOptionsDialog optionsDialog{win.platform};
  TMainForm form{win.platform, optionsDialog};

  ProgramOnTestDrive() {
    win.fs.AddDrive('T');
    win.fs.WriteFile(kIni,
                     "[options]\r\nextn0=*.tmp\r\nextn1=*.bak\r\ntotal_extn=1\r\ntotal_chkd=2\r\n"
                     "[drives]\r\ndrive0=C:\\\r\nchkd0=0\r\ndrive1=T:\\\r\ntotal_drives=1\r\n");
    win.fs.AddFile("T:\\a.tmp", 1000);
    win.fs.AddFile("T:\\d\\b.bak", 2500);
    win.fs.AddFile("T:\\d\\c.tmp", 100);
    win.fs.AddFile("T:\\e.txt", 0);
    form.pumpBudgetMs = 0;
    form.FormCreate();
    optionsDialog.FormCreate();
    form.FormShow();
  }

  static int RowOf(const ResultList& list, const std::string& path) {
    for (int i = 0; i < list.Count(); ++i) {
      if (list[i].FullPath() == path) return i;
    }
    return -1;
  }
  static std::vector<std::string> Paths(const ResultList& list) {
    std::vector<std::string> paths;
    for (const ResultRow& row : list.Rows()) paths.push_back(row.FullPath());
    return paths;
  }
};

}  // namespace scourly
