// Long work off the window thread, with the windows still answering.
#pragma once

#include <functional>

namespace scourly {

// Runs `work` on a thread of its own and returns when it is done, while this
// thread (the one that owns the program's windows) keeps them answering:
// messages sent to them are handled, they repaint, timers run. No command can
// start meanwhile: the thread's enabled top-level windows are disabled for
// the while (as under a modal dialog), keyboard and mouse input reaching them
// is dropped, and other posted messages wait in the queue until `work` is
// done. With `shareInput` the work thread shares this thread's input state,
// so a window it shows (a question of the shell) can be owned by the active
// window. An exception thrown by `work` is thrown again here.
void RunAnswering(const std::function<void()>& work, bool shareInput);

}  // namespace scourly
