#include <gtest/gtest.h>

#include "lists/app_error.h"
#include "options/uoptions.h"
#include "platform/fake/fake_windows.h"

namespace scourly {
namespace {

using fake::FakeView;
using fake::FakeWindows;

constexpr const char* kIni = "C:\\Program Files\\Scourly\\settings.ini";

TEST(OptionsDialog, ShowingReloadsAndOkSavesThenHides) {
  FakeWindows win;
  TUOptionsDialog dialog(win.platform);
  FakeView view;
  dialog.view = &view;
  dialog.FormCreate();
  ASSERT_TRUE(win.fs.Exists(kIni));

  // Unsaved edits are dropped by the next showing.
  dialog.options.OptionBox.Add("*.log", true);
  dialog.Show();
  EXPECT_EQ(dialog.options.OptionBox.Count(), 6);
  EXPECT_EQ(view.shows, 1);

  dialog.options.OptionBox.items[0].checked = false;
  dialog.options.TempFiles.checked = true;
  dialog.OKBtnClick();
  EXPECT_EQ(view.hides, 1);
  EXPECT_EQ(dialog.settings().ReadScanSettings().totalChecked, 5);
  EXPECT_TRUE(dialog.settings().ReadScanSettings().tempFiles);

  // A settings file deleted while the program runs: the next showing writes
  // the defaults again.
  win.fs.Take(kIni);
  dialog.ShowModal();
  EXPECT_EQ(view.modalShows, 1);
  EXPECT_EQ(dialog.settings().ReadScanSettings().totalChecked, 6);
  EXPECT_FALSE(dialog.options.TempFiles.checked);
}

TEST(OptionsDialog, OkThatCannotWriteKeepsTheDialogOpen) {
  FakeWindows win;
  TUOptionsDialog dialog(win.platform);
  FakeView view;
  dialog.view = &view;
  dialog.FormCreate();
  win.fs.Find(kIni)->attributes |= kAttrReadOnly;
  EXPECT_THROW(dialog.OKBtnClick(), AppError);
  EXPECT_EQ(view.hides, 0);
}

// A settings file that is there but cannot be read is not replaced by OK
// without a word: the user is asked, and "No" keeps it and the dialog.
TEST(OptionsDialog, OkAsksBeforeReplacingAFileItCouldNotRead) {
  FakeWindows win;
  TUOptionsDialog dialog(win.platform);
  FakeView view;
  dialog.view = &view;
  const std::string kept = "[options]\r\nextn0=*.mine\r\ntotal_extn=0\r\ntotal_chkd=1\r\n";
  win.fs.WriteFile(kIni, kept);
  win.fs.Find(kIni)->unreadable = true;
  dialog.Show();
  ASSERT_EQ(dialog.options.OptionBox.Count(), 0);

  dialog.OKBtnClick();  // answered No
  ASSERT_EQ(win.ui.messages.size(), 1u);
  EXPECT_EQ(win.ui.messages[0].text, UnreadableSettingsText(kIni));
  EXPECT_EQ(win.ui.messages[0].buttons, MsgButtons::kYesNo);
  EXPECT_EQ(win.fs.Content(kIni), kept);
  EXPECT_EQ(view.hides, 0);
  EXPECT_TRUE(dialog.Visible());

  win.ui.answers.push_back(MsgResult::kYes);
  dialog.OKBtnClick();
  EXPECT_NE(win.fs.Content(kIni), kept);
  EXPECT_EQ(view.hides, 1);

  // A file that reads well is saved without a question.
  win.fs.Find(kIni)->unreadable = false;
  dialog.Show();
  dialog.OKBtnClick();
  EXPECT_EQ(win.ui.messages.size(), 2u);
}

}  // namespace
}  // namespace scourly
