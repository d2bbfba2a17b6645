// Window toolkit services the logic calls directly: message boxes, the
// hourglass cursor, message pumping and long work with the windows answering.
#pragma once

#include <functional>
#include <string>

namespace scourly {

enum class MsgButtons { kOk, kYesNo };
enum class MsgIcon { kNone, kInformation, kError };
enum class MsgResult { kOk, kYes, kNo };

class Ui {
 public:
  virtual ~Ui() = default;

  virtual MsgResult ShowMessage(const std::string& text, const std::string& caption,
                               MsgButtons buttons, MsgIcon icon) = 0;

  // The application's standard error box (error icon, OK).
  virtual void ShowError(const std::string& text) = 0;

  // Whole-application hourglass cursor on or off.
  virtual void SetHourglass(bool on) = 0;

  // Handles every message waiting for the application's windows, then
  // returns. Handlers of the main window may run inside this call.
  virtual void PumpMessages() = 0;

  // Runs `work`, which touches no window and changes no model the windows
  // draw, while the windows keep painting and answering but take no command;
  // returns when it is done, rethrowing what it threw.
  virtual void RunWhileAnswering(const std::function<void()>& work) = 0;
};

// Shows the hourglass for as long as it lives, also when the work in its
// scope ends in an error.
class ScopedHourglass {
 public:
  explicit ScopedHourglass(Ui& ui) : ui_(ui) { ui_.SetHourglass(true); }
  ~ScopedHourglass() { ui_.SetHourglass(false); }
  ScopedHourglass(const ScopedHourglass&) = delete;
  ScopedHourglass& operator=(const ScopedHourglass&) = delete;

 private:
  Ui& ui_;
};

}  // namespace scourly
