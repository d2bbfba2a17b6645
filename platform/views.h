// What the logic asks of a window it does not draw itself: show, hide,
// close. The Win32 backend implements these over real windows; tests record.
#pragma once

namespace scourly {

class FormView {
 public:
  virtual ~FormView() = default;
  virtual void Show() = 0;       // shows, not modally, and brings to front
  virtual void ShowModal() = 0;  // returns when the window is closed
  virtual void Hide() = 0;
  virtual void Close() = 0;
};

}  // namespace scourly
