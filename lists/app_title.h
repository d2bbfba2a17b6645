#pragma once

namespace scourly {

// The application's title: the caption of the main window and of every
// message box.
inline constexpr const char* kAppTitle = "Scourly";

}  // namespace scourly
