#include "ui/main/command_table.h"

#include "ui/main/gui_ids.h"

namespace scourly::gui {
namespace {

// A click that runs a handler without arguments.
template <void (TMainForm::*handler)()>
void Run(TMainForm& form) {
  (form.*handler)();
}

// A Help menu link with its option number (the item's tag).
template <int tag>
void HelpLink(TMainForm& form) {
  form.NScourlyHelp1Click(tag);
}

template <int tag>
void ServicesLink(TMainForm& form) {
  form.ServicesLinkClick(tag);
}

}  // namespace

const std::vector<ToolCommand>& ToolCommands() {
  static const std::vector<ToolCommand> tools = {
      {kCmdFindFilesTB, &TMainForm::FindFilesTB, 0, Run<&TMainForm::FindFilesTBClick>},
      {kCmdStopTB, &TMainForm::StopTB, 28, Run<&TMainForm::StopTBClick>},
      {kCmdClearTB, &TMainForm::ClearTB, 29, Run<&TMainForm::ClearTBClick>},
      {0, nullptr, 0, nullptr},
      {kCmdDeleteAllTB, &TMainForm::DeleteAllTB, 16, Run<&TMainForm::DeleteAllTBClick>},
      {kCmdDeleteSelTB, &TMainForm::DeleteSelTB, 13, Run<&TMainForm::Delete1Click>},
      {kCmdDeletePerTB, &TMainForm::DeletePerTB, 1, Run<&TMainForm::DeletePerTBClick>},
      {kCmdOpenTB, &TMainForm::OpenTB, 8, Run<&TMainForm::OpenTBClick>},
      {0, nullptr, 0, nullptr},
      {kCmdSelectAllTB, &TMainForm::SelectAllTB, 2, Run<&TMainForm::SelectAllTBClick>},
      {kCmdInvertSelTB, &TMainForm::InvertSelTB, 26, Run<&TMainForm::InvertSelTBClick>},
      {0, nullptr, 0, nullptr},
      {kCmdToolButton1, &TMainForm::ToolButton1, 30, Run<&TMainForm::ToolButton1Click>},
      {0, nullptr, 0, nullptr},
      {kCmdOptionsTB, &TMainForm::OptionsTB, 3, Run<&TMainForm::OptionsTBClick>},
  };
  return tools;
}

const std::vector<MenuCommand>& MenuCommands() {
  using enum MenuOwner;
  using enum MenuKind;
  static const std::vector<MenuCommand> menus = {
      {kFile, kItem, kCmdScanUnneededFiles1, &TMainForm::ScanUnneededFiles1, 14,
       Run<&TMainForm::ScanUnneededFiles1Click>, nullptr},
      {kFile, kItem, kCmdScanforRecentDocuments1, &TMainForm::ScanforRecentDocuments1, 5,
       Run<&TMainForm::ScanforRecentDocuments1Click>, nullptr},
      {kFile, kItem, kCmdScanforFavorites1, &TMainForm::ScanforFavorites1, 9,
       Run<&TMainForm::ScanforFavorites1Click>, nullptr},
      {kFile, kItem, kCmdScanforIECahefiles1, &TMainForm::ScanforIECahefiles1, 7,
       Run<&TMainForm::ScanforIECahefiles1Click>, nullptr},
      {kFile, kItem, kCmdScanforDeadShortcuts1, &TMainForm::ScanforDeadShortcuts1, 4,
       Run<&TMainForm::ScanforDeadShortcuts1Click>, nullptr},
      {kFile, kSeparator, 0, nullptr, -1, nullptr, nullptr},
      {kFile, kItem, kCmdOptions1, &TMainForm::Options1, 3, Run<&TMainForm::Options1Click>,
       nullptr},
      {kFile, kItem, kCmdDeletionLog1, &TMainForm::DeletionLog1, -1,
       Run<&TMainForm::DeletionLog1Click>, nullptr},
      {kFile, kSeparator, 0, nullptr, -1, nullptr, nullptr},
      {kFile, kItem, kCmdExit1, &TMainForm::Exit1, 6, Run<&TMainForm::Exit1Click>, nullptr},

      {kHelp, kItem, kCmdNScourlyHelp1, &TMainForm::NScourlyHelp1, 11, HelpLink<1>, nullptr},
      {kHelp, kItem, kCmdHomePage1, &TMainForm::HomePage1, 10, HelpLink<7>, nullptr},
      {kHelp, kItem, kCmdFrequentlyAskedQuestions1, &TMainForm::FrequentlyAskedQuestions1, 25,
       HelpLink<2>, nullptr},
      {kHelp, kItem, kCmdProductUpdate1, &TMainForm::ProductUpdate1, 22, HelpLink<3>, nullptr},
      {kHelp, kSeparator, 0, nullptr, -1, nullptr, nullptr},
      {kHelp, kItem, kCmdCommentsandSuggestions1, &TMainForm::CommentsandSuggestions1, 18,
       HelpLink<4>, nullptr},
      {kHelp, kItem, kCmdReportBug1, &TMainForm::ReportBug1, 19, HelpLink<5>, nullptr},
      {kHelp, kSeparator, 0, nullptr, -1, nullptr, nullptr},
      {kHelp, kItem, kCmdVelmoraProducts1, &TMainForm::VelmoraProducts1, 17, HelpLink<8>, nullptr},
      {kHelp, kSubmenu, 0, &TMainForm::DevelopmentServices1, -1, nullptr, nullptr},
      {kHelp, kItem, kCmdServiceLink1, nullptr, -1, ServicesLink<1>,
       L"Custom &Software Development"},
      {kHelp, kSeparator, 0, nullptr, -1, nullptr, nullptr},
      {kHelp, kItem, kCmdServiceLink2, nullptr, -1, ServicesLink<2>, L"&Web Site Development"},
      {kHelp, kItem, kCmdServiceLink3, nullptr, -1, ServicesLink<3>,
       L"Windows &Application Development"},
      {kHelp, kSubmenuEnd, 0, nullptr, -1, nullptr, nullptr},
      {kHelp, kItem, kCmdAdvertisewithUs1, &TMainForm::AdvertisewithUs1, 15, HelpLink<10>,
       nullptr},
      {kHelp, kSeparator, 0, nullptr, -1, nullptr, nullptr},
      {kHelp, kItem, kCmdAboutDlg, &TMainForm::AboutDlg, 21, Run<&TMainForm::AboutDlgClick>,
       nullptr},

      {kPopup, kItem, kCmdFindFiles1, &TMainForm::FindFiles1, 0, Run<&TMainForm::FindFiles1Click>,
       nullptr},
      {kPopup, kSeparator, 0, nullptr, -1, nullptr, nullptr},
      {kPopup, kItem, kCmdOpen1, &TMainForm::Open1, 8, Run<&TMainForm::Open1Click>, nullptr},
      {kPopup, kItem, kCmdDelete1, &TMainForm::Delete1, 13, Run<&TMainForm::Delete1Click>,
       nullptr},
      {kPopup, kItem, kCmdDeletePermanently1, &TMainForm::DeletePermanently1, 1,
       Run<&TMainForm::DeletePermanently1Click>, nullptr},
      {kPopup, kSeparator, 0, nullptr, -1, nullptr, nullptr},
      // The keep items sit apart, and the form's own items keep their places
      // from either end of the menu.
      {kPopup, kItem, kCmdNeverListFile1, &TMainForm::NeverListFile1, -1,
       Run<&TMainForm::NeverListFile1Click>, nullptr},
      {kPopup, kItem, kCmdNeverListFolder1, &TMainForm::NeverListFolder1, -1,
       Run<&TMainForm::NeverListFolder1Click>, nullptr},
      {kPopup, kSeparator, 0, nullptr, -1, nullptr, nullptr},
      {kPopup, kItem, kCmdSelectAll1, &TMainForm::SelectAll1, 2, Run<&TMainForm::SelectAll1Click>,
       nullptr},
      {kPopup, kItem, kCmdInvertSelection1, &TMainForm::InvertSelection1, 26,
       Run<&TMainForm::InvertSelection1Click>, nullptr},
  };
  return menus;
}

}  // namespace scourly::gui
