// The services handed to every form: a small struct of references, so a test
// builds exactly the Windows it needs.
#pragma once

#include "platform/date_format.h"
#include "platform/filesystem.h"
#include "platform/locale.h"
#include "platform/purgix.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/ui.h"
#include "platform/url_cache.h"
#include "platform/version.h"

namespace scourly {

struct Platform {
  FileSystem& fs;
  Ui& ui;
  Locale& locale;
  Purgix& purgix;
  Shell& shell;
  UrlCache& urlCache;
  Registry& registry;
  DateFormat& dateFormat;
  VersionInfo& version;
};

}  // namespace scourly
