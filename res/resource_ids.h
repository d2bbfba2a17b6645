// Resource identifiers of Scourly.exe, shared by the .rc file and the code.
#pragma once

#define IDI_SCOURLY 1
#define IDB_IMAGES16 101
#define IDB_IMAGES24 102
#define IDB_IMAGES32 103
