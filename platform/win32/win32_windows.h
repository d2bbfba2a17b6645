// The real Windows, every service at once: what the program runs on, and
// what the Windows tests use when they drive the logic as the program does.
#pragma once

#include "platform/platform.h"
#include "platform/win32/win32_date_format.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_url_cache.h"
#include "platform/win32/win32_version.h"

namespace scourly {

struct Win32Windows {
  Win32FileSystem fs;
  Win32Ui ui;
  Win32Locale locale;
  Win32Purgix purgix;
  Win32Shell shell;
  Win32UrlCache urlCache;
  Win32Registry registry;
  Win32DateFormat dateFormat;
  Win32VersionInfo version;
  Platform platform{fs, ui, locale, purgix, shell, urlCache, registry, dateFormat, version};
};

}  // namespace scourly
