// The one version of the product, shared by every version resource.
#pragma once

#define SCOURLY_VERSION_MAJOR 1
#define SCOURLY_VERSION_MINOR 0
#define SCOURLY_VERSION_PATCH 0
#define SCOURLY_VERSION_BUILD 0
#define SCOURLY_VERSION_TEXT "1.0.0.0"
#define SCOURLY_COMPANY "Velmora"
#define SCOURLY_PRODUCT "Scourly"
#define SCOURLY_COPYRIGHT "Copyright (C) 2026 Velmora"
