// An error that escapes an event handler. The window that ran the handler
// shows its text in the application's standard error box and goes on.
#pragma once

#include <stdexcept>
#include <string>

namespace scourly {

class AppError : public std::runtime_error {
 public:
  explicit AppError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace scourly
