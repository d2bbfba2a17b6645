// A Ui for tests of the real logic under Wine: message boxes are recorded and
// answered from a script instead of blocking on a real window.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/ui.h"
#include "platform/win32/win32_windows.h"

namespace scourly::support {

class ScriptedUi : public Ui {
 public:
  struct Box {
    std::string text, caption;
    MsgButtons buttons;
    MsgIcon icon;
  };

  MsgResult ShowMessage(const std::string& text, const std::string& caption, MsgButtons buttons,
                       MsgIcon icon) override {
    boxes.push_back({text, caption, buttons, icon});
    if (buttons == MsgButtons::kOk) return MsgResult::kOk;
    if (answers.empty()) return MsgResult::kNo;
    MsgResult answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void SetHourglass(bool on) override { hourglass = on; }
  void PumpMessages() override { ++pumps; }
  void RunWhileAnswering(const std::function<void()>& work) override { work(); }

  std::deque<MsgResult> answers;  // for Yes/No questions, in order
  std::vector<Box> boxes;
  std::vector<std::string> errors;
  bool hourglass = false;
  int pumps = 0;
};

// The real Windows with a scripted Ui: what the Windows tests drive the
// logic on, as the program does, without message boxes that block.
struct ScriptedWindows {
  Win32Windows windows;
  ScriptedUi ui;
  Platform platform{windows.fs,       ui,
                    windows.locale,   windows.purgix,
                    windows.shell,    windows.urlCache,
                    windows.registry, windows.dateFormat,
                    windows.version};
};

}  // namespace scourly::support
