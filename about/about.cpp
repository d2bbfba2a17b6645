#include "about/about.h"

#include "about/help_links.h"

namespace scourly {

TAboutDialog::TAboutDialog(Shell& shell) : shell_(shell) {
  Label1.caption = SiteAddresses::kMakerSiteText;
}

void TAboutDialog::Show() {
  if (view) view->Show();
}

void TAboutDialog::Label1Click() { shell_.Open(SiteAddresses::kMakerSite, ShowCommand::kShowNormal); }

}  // namespace scourly
