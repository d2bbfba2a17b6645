// The one version of the product, shared by every version resource
// (version_info.rc, included by scourly.rc and purgix.rc).
#pragma once

#define SCOURLY_VERSION_MAJOR 2
#define SCOURLY_VERSION_MINOR 2
#define SCOURLY_VERSION_PATCH 0
#define SCOURLY_VERSION_BUILD 0
#define SCOURLY_VERSION_TEXT "2.2.0.0"
#define SCOURLY_COMPANY "Velmora"
#define SCOURLY_PRODUCT "Scourly"
#define SCOURLY_COPYRIGHT "Copyright (C) 2026 Velmora"
