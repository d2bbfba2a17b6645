// Where the Help menu, the file-type description button, the options
// dialog's link and the About window send the user's browser.
#pragma once

#include <string>

#include "platform/shell.h"
#include "platform/version.h"

namespace scourly {

// The three sites. The addresses are ours to choose (reserved example
// domains until the product has sites of its own); the page names and query
// keys appended to them are fixed, because the pages expect them.
struct SiteAddresses {
  static constexpr const char* kProductSite = "https://scourly.velmora.example/";
  static constexpr const char* kMakerSite = "https://www.velmora.example/";
  static constexpr const char* kRedirectSite = "https://go.velmora.example/";
  // The maker's address as the About window writes it.
  static constexpr const char* kMakerSiteText = "www.velmora.example";
};

// The tag of "Product &Update", the only link that carries the version.
inline constexpr int kProductUpdateTag = 3;

// "%d.%d" of the product version's major and minor numbers, read from the
// program's own version resource; empty when it has none.
std::string VersionText(VersionInfo& version);

// The redirection page for a Help menu item's tag.
std::string HelpLinkAddress(int tag, const std::string& versionText);
// The redirection page for an item of "&Development Services" (tag 1 to 3).
std::string ServiceLinkAddress(int tag);
// The product's page describing the file types.
std::string FileTypesPageAddress();

// The Help menu's links and the toolbar's "Description of File Types" button.
// The main window owns one and calls it from its handlers.
class THelpLinks {
 public:
  THelpLinks(Shell& shell, VersionInfo& version) : shell_(shell), version_(version) {}

  // Every top-level link item of the Help menu; `tag` is the item's tag.
  void NScourlyHelp1Click(int tag);
  // The three items of "&Development Services".
  void ServicesLinkClick(int tag);
  // ToolButton1, "Description of File Types".
  void ToolButton1Click();

 private:
  Shell& shell_;
  VersionInfo& version_;
};

}  // namespace scourly
