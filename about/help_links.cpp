#include "about/help_links.h"

#include <cstdio>

namespace scourly {
namespace {

constexpr const char* kNavigatePage = "navigate.php?p_id=3&opt=";

}  // namespace

std::string VersionText(VersionInfo& version) {
  const std::optional<ProductVersion> product = version.ProgramProductVersion();
  if (!product) return {};
  char text[32];
  std::snprintf(text, sizeof text, "%u.%u", product->mostSignificant >> 16,
                product->mostSignificant & 0xFFFFu);
  return text;
}

std::string HelpLinkAddress(int tag, const std::string& versionText) {
  std::string address = std::string(SiteAddresses::kRedirectSite) + kNavigatePage +
                        std::to_string(tag);
  if (tag == kProductUpdateTag) address += "&ver=" + versionText;
  return address;
}

std::string ServiceLinkAddress(int tag) {
  // 9 is the tag of the submenu "&Development Services" itself.
  return std::string(SiteAddresses::kRedirectSite) + kNavigatePage + "9_" + std::to_string(tag);
}

std::string FileTypesPageAddress() { return std::string(SiteAddresses::kProductSite) + "ftypes.cfm"; }

// The shell reports nothing back; a link that cannot be opened is left at
// that, as the user only asked to see a web page.
void THelpLinks::NScourlyHelp1Click(int tag) {
  const std::string version = tag == kProductUpdateTag ? VersionText(version_) : std::string();
  shell_.Open(HelpLinkAddress(tag, version), ShowCommand::kShow);
}

void THelpLinks::ServicesLinkClick(int tag) {
  shell_.Open(ServiceLinkAddress(tag), ShowCommand::kShow);
}

void THelpLinks::ToolButton1Click() { shell_.Open(FileTypesPageAddress(), ShowCommand::kShow); }

}  // namespace scourly
