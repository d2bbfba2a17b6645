#include "options/browser_settings.h"

#include "lists/app_error.h"
#include "options/ini_file.h"
#include "options/settings_file.h"

namespace scourly {
namespace {

constexpr const char* kSection = "browsers";

const char* KeyOf(BrowserCategory category) {
  switch (category) {
    case BrowserCategory::kCache: return "Cache";
    case BrowserCategory::kCookies: return "Cookies";
    case BrowserCategory::kHistory: return "History";
  }
  return "";
}

std::string SettingsPath(FileSystem& fs) { return fs.ProgramFolder() + kSettingsFileName; }

}  // namespace

BrowserCategories ReadBrowserCategories(FileSystem& fs) {
  const BrowserCategories defaults;
  IniFile ini(fs, SettingsPath(fs));
  return {ini.ReadBool(kSection, KeyOf(BrowserCategory::kCache), defaults.cache),
          ini.ReadBool(kSection, KeyOf(BrowserCategory::kCookies), defaults.cookies),
          ini.ReadBool(kSection, KeyOf(BrowserCategory::kHistory), defaults.history)};
}

void WriteBrowserCategory(FileSystem& fs, BrowserCategory category, bool on) {
  IniFile ini(fs, SettingsPath(fs));
  ini.WriteBool(kSection, KeyOf(category), on);
  if (ini.Save() != 0) throw AppError("Unable to write to " + ini.path());
}

}  // namespace scourly
