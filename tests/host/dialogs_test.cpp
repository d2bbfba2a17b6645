// The file type dialog, the options dialog's editing commands, the help links
// and the About window's link, against the in-memory Windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about/about.h"
#include "about/help_links.h"
#include "options/file_type.h"
#include "options/uoptions.h"
#include "platform/fake/fake_version.h"
#include "platform/fake/fake_windows.h"

namespace scourly {
namespace {

using fake::FakeView;
using fake::FakeWindows;

constexpr const char* kIni = "C:\\Program Files\\Scourly\\settings.ini";

TEST(FileTypeRule, ExactlyThreeCharactersAfterTheFirstDot) {
  struct Case {
    const char* text;
    bool passes;
  };
  const Case cases[] = {
      {"*.tmp", true},     {"*.bak", true},  {"*.---", true},   {"*.??~", true},
      {".abc", true},      {"a.b.c", true},  {" *.tmp", true},  {"x y.a b", true},
      {"*.~*", false},     {"*.html", false}, {"*.tm", false},  {"tmp", false},
      {"", false},         {"*.tmp ", false}, {".", false},     {"*.", false},
      {"*.tmp.", false},   {"abc.", false},
      // Three letters beyond ASCII are three characters, not six bytes.
      {"*.\xC3\xA4\xC3\xB6\xC3\xBC", true}, {"*.\xC3\xA4\xC3\xB6", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsValidFileExtension(c.text), c.passes) << '"' << c.text << '"';
}

// The user's part while the dialog is up: what they type and what they press.
struct FileTypeUser {
  std::vector<std::string> typed;  // one entry per press of OK
  bool cancelAtEnd = false;
};

void Drive(TFileTypeDlg& dialog, FakeView& view, const FileTypeUser& user) {
  view.whileModal = [&dialog, &view, user] {
    for (const std::string& text : user.typed) {
      dialog.Edit1.text = text;
      dialog.OKBtnClick();
      if (view.hides > 0) return;
    }
    if (user.cancelAtEnd) dialog.CancelBtnClick();
  };
}

TEST(FileTypeDialog, BadMaskIsReportedAndTheDialogStaysOpenUntilAGoodOne) {
  FakeWindows win;
  TFileTypeDlg dialog(win.ui);
  FakeView view;
  dialog.view = &view;
  dialog.Edit1.text = "left from before";
  bool sawEmptyField = false;
  view.whileModal = [&] {
    sawEmptyField = dialog.Edit1.text.empty() && dialog.ActiveControl == TFileTypeDlg::Focus::kEdit1;
    dialog.Edit1.text = "*.tmp ";
    dialog.OKBtnClick();
    EXPECT_EQ(view.hides, 0) << "a bad mask closed the dialog";
    EXPECT_EQ(dialog.Edit1.text, "*.tmp ") << "the text was not left as entered";
    dialog.Edit1.text = " *.TMP";
    dialog.OKBtnClick();
  };
  EXPECT_TRUE(dialog.Execute());
  EXPECT_TRUE(sawEmptyField) << "the field was not emptied and focused on showing";
  EXPECT_EQ(dialog.Edit1.text, " *.TMP") << "the mask was changed";
  EXPECT_EQ(view.hides, 1);
  ASSERT_EQ(win.ui.messages.size(), 1u);
  const fake::ShownMessage& box = win.ui.messages[0];
  EXPECT_EQ(box.text, "Incorrect format specified for file extension");
  EXPECT_EQ(box.caption, "Scourly");
  EXPECT_EQ(box.buttons, MsgButtons::kOk);
  EXPECT_EQ(box.icon, MsgIcon::kNone);
}

TEST(FileTypeDialog, CancelOrClosingEndsWithoutAMask) {
  FakeWindows win;
  TFileTypeDlg dialog(win.ui);
  FakeView view;
  dialog.view = &view;
  Drive(dialog, view, {{"*.bad!"}, true});
  EXPECT_FALSE(dialog.Execute());
  // The close box only hides the window: no OK either.
  view.whileModal = [&] { dialog.Edit1.text = "*.tmp"; };
  EXPECT_FALSE(dialog.Execute());
  EXPECT_TRUE(win.ui.messages.size() == 1u);
}

class OptionsDialogEditing : public ::testing::Test {
 protected:
  OptionsDialogEditing() : fileType(win.ui), dialog(win.platform) {
    fileType.view = &fileTypeView;
    dialog.FileTypeDlg = &fileType;
    dialog.view = &view;
    dialog.FormCreate();
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const CheckItem& item : dialog.options.OptionBox.items) texts.push_back(item.text);
    return texts;
  }
  std::vector<bool> Checks() const {
    std::vector<bool> checks;
    for (const CheckItem& item : dialog.options.OptionBox.items) checks.push_back(item.checked);
    return checks;
  }
  void Add(const std::string& typed) {
    fileTypeView.hides = 0;
    Drive(fileType, fileTypeView, {{typed}, true});
    dialog.AddClick();
  }

  FakeWindows win;
  TFileTypeDlg fileType;
  FakeView fileTypeView;
  TUOptionsDialog dialog;
  FakeView view;
};

const std::vector<std::string> kDefaultMasks = {"*.tmp", "*.---", "*.??~", "*.bak", "*.old", "*.~*"};

TEST_F(OptionsDialogEditing, AddChecksAnExistingMaskAndAppendsANewOneChecked) {
  dialog.options.OptionBox.items[3].checked = false;  // *.bak
  Add("*.bak");
  EXPECT_EQ(Texts(), kDefaultMasks) << "a duplicate was added";
  EXPECT_TRUE(dialog.options.OptionBox.items[3].checked);

  Add("*.BAK");  // another case is another mask
  Add("*.log");
  std::vector<std::string> expected = kDefaultMasks;
  expected.insert(expected.end(), {"*.BAK", "*.log"});
  EXPECT_EQ(Texts(), expected);
  EXPECT_EQ(Checks(), std::vector<bool>(8, true));

  Add("*.log?");  // refused by the rule, then cancelled
  Drive(fileType, fileTypeView, {{}, true});
  dialog.AddClick();
  EXPECT_EQ(Texts(), expected);
}

TEST_F(OptionsDialogEditing, RemoveTakesOnlyTheHighlightedRow) {
  dialog.RemoveClick();  // nothing highlighted
  EXPECT_EQ(Texts(), kDefaultMasks);

  dialog.options.OptionBox.items[2].checked = false;
  dialog.OptionBoxIndex = 2;
  dialog.RemoveClick();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"*.tmp", "*.---", "*.bak", "*.old", "*.~*"}));
  EXPECT_EQ(Checks(), std::vector<bool>(5, true));
  EXPECT_EQ(dialog.OptionBoxIndex, -1);
  dialog.RemoveClick();  // the highlight went with the row
  EXPECT_EQ(dialog.options.OptionBox.Count(), 5);
}

TEST_F(OptionsDialogEditing, CheckAllChecksEveryRowOfItsOwnList) {
  win.fs.AddDrive('D');
  dialog.FormCreate();
  for (CheckItem& item : dialog.options.OptionBox.items) item.checked = false;
  for (CheckItem& item : dialog.options.DrivesBox.items) item.checked = false;
  dialog.CheckClick();
  EXPECT_EQ(Checks(), std::vector<bool>(6, true));
  EXPECT_FALSE(dialog.options.DrivesBox.items[0].checked);
  dialog.Button1Click();
  ASSERT_EQ(dialog.options.DrivesBox.Count(), 2);
  EXPECT_TRUE(dialog.options.DrivesBox.items[0].checked && dialog.options.DrivesBox.items[1].checked);
}

TEST_F(OptionsDialogEditing, ResetThenCancelLeavesTheFileButKeepsTheResetListUntilShownAgain) {
  Add("*.log");
  dialog.options.TempFiles.checked = true;
  dialog.OKBtnClick();
  const std::string saved = win.fs.Content(kIni);
  dialog.PageControl1.activeIndex = kPageScanDrives;

  dialog.ResetClick();
  dialog.CancelBtnClick();
  EXPECT_EQ(view.hides, 2);
  EXPECT_EQ(win.fs.Content(kIni), saved) << "Cancel wrote the settings file";
  EXPECT_EQ(Texts(), kDefaultMasks) << "the reset list is not kept in memory";
  EXPECT_FALSE(dialog.options.TempFiles.checked);

  dialog.Show();
  std::vector<std::string> expected = kDefaultMasks;
  expected.push_back("*.log");
  EXPECT_EQ(Texts(), expected) << "showing did not reload the saved list";
  EXPECT_TRUE(dialog.options.TempFiles.checked);
  EXPECT_EQ(dialog.PageControl1.activeIndex, kPageScanDrives) << "the last page was not kept";
}

// The toolbar button pressed again while the dialog is open brings it
// forward; only a new showing reloads.
TEST_F(OptionsDialogEditing, AskingForTheOpenDialogAgainKeepsTheEditsUnderWay) {
  dialog.Show();
  Add("*.log");
  dialog.Show();
  EXPECT_EQ(dialog.options.OptionBox.Count(), 7) << "the edits were dropped";
  EXPECT_EQ(view.shows, 2);
  dialog.CancelBtnClick();
  dialog.Show();
  EXPECT_EQ(Texts(), kDefaultMasks) << "a new showing did not reload";
}

TEST_F(OptionsDialogEditing, UncheckingEveryFileTypeSavesNoCheckedType) {
  for (CheckItem& item : dialog.options.OptionBox.items) item.checked = false;
  dialog.OKBtnClick();
  EXPECT_EQ(dialog.settings().ReadScanSettings().totalChecked, 0);
  EXPECT_NE(win.fs.Content(kIni).find("total_chkd=0\r\n"), std::string::npos);
  EXPECT_EQ(view.hides, 1);
}

TEST(HelpLinks, EveryLinkOpensItsAddressWithTheShellsOpenVerb) {
  FakeWindows win;
  fake::FakeVersionInfo version;
  version.Set(2, 2);
  THelpLinks links(win.shell, version);
  const std::string go = "https://go.velmora.example/navigate.php?p_id=3&opt=";
  struct Case {
    const char* item;
    std::function<void()> click;
    std::string address;
  };
  const Case cases[] = {
      {"Scourly Online &Help", [&] { links.NScourlyHelp1Click(1); }, go + "1"},
      {"&Scourly Home Page", [&] { links.NScourlyHelp1Click(7); }, go + "7"},
      {"&Frequently Asked Questions", [&] { links.NScourlyHelp1Click(2); }, go + "2"},
      {"Product &Update", [&] { links.NScourlyHelp1Click(3); }, go + "3&ver=2.2"},
      {"&Comments and Suggestions", [&] { links.NScourlyHelp1Click(4); }, go + "4"},
      {"Report a &Bug", [&] { links.NScourlyHelp1Click(5); }, go + "5"},
      {"Other &Velmora Products", [&] { links.NScourlyHelp1Click(8); }, go + "8"},
      {"Ad&vertise with Us", [&] { links.NScourlyHelp1Click(10); }, go + "10"},
      {"first service", [&] { links.ServicesLinkClick(1); }, go + "9_1"},
      {"second service", [&] { links.ServicesLinkClick(2); }, go + "9_2"},
      {"third service", [&] { links.ServicesLinkClick(3); }, go + "9_3"},
      {"Description of File Types", [&] { links.ToolButton1Click(); },
       "https://scourly.velmora.example/ftypes.cfm"},
  };
  for (const Case& c : cases) {
    win.shell.opened.clear();
    c.click();
    ASSERT_EQ(win.shell.opened.size(), 1u) << c.item;
    EXPECT_EQ(win.shell.opened[0].target, c.address) << c.item;
    EXPECT_EQ(win.shell.opened[0].show, ShowCommand::kShow) << c.item;
  }
}

TEST(HelpLinks, ProductUpdateCarriesTheResourcesVersionOrNothing) {
  FakeWindows win;
  fake::FakeVersionInfo version;
  THelpLinks links(win.shell, version);
  version.Set(10, 65535, 7, 9);
  links.NScourlyHelp1Click(3);
  version.version.reset();  // a program without a version resource
  links.NScourlyHelp1Click(3);
  ASSERT_EQ(win.shell.opened.size(), 2u);
  EXPECT_EQ(win.shell.opened[0].target, "https://go.velmora.example/navigate.php?p_id=3&opt=3&ver=10.65535");
  EXPECT_EQ(win.shell.opened[1].target, "https://go.velmora.example/navigate.php?p_id=3&opt=3&ver=");
}

TEST(DialogLinks, OptionsAndAboutLinksOpenTheProductAndMakerSites) {
  FakeWindows win;
  TUOptionsDialog options(win.platform);
  options.Label4Click();
  TAboutDialog about(win.shell);
  FakeView aboutView;
  about.view = &aboutView;
  about.Show();
  about.Show();
  about.Label1Click();
  ASSERT_EQ(win.shell.opened.size(), 2u);
  EXPECT_EQ(win.shell.opened[0].target, "https://scourly.velmora.example/ftypes.cfm");
  EXPECT_EQ(win.shell.opened[0].show, ShowCommand::kShow);
  EXPECT_EQ(win.shell.opened[1].target, "https://www.velmora.example/");
  EXPECT_EQ(win.shell.opened[1].show, ShowCommand::kShowNormal);
  EXPECT_EQ(about.Label1.caption, "www.velmora.example");
  EXPECT_EQ(aboutView.shows, 2);
  EXPECT_EQ(aboutView.modalShows, 0) << "the About window blocks the main window";
}

}  // namespace
}  // namespace scourly
