// Where a run of the command line writes. Scourly.exe is a program of the
// window subsystem, so Windows gives it no console: it writes to the handles
// it was started with when they lead somewhere (a redirection to a file or a
// pipe, or a console handed down), and otherwise to its parent's console,
// which it attaches to. Started from Explorer or the Task Scheduler there is
// none, and only the output file and the exit code tell what happened.
#pragma once

#include <windows.h>

#include <string_view>

#include "cli/command_line.h"

namespace scourly {

class Win32Console : public Console {
 public:
  Win32Console();
  ~Win32Console();
  Win32Console(const Win32Console&) = delete;
  Win32Console& operator=(const Win32Console&) = delete;

  void Out(std::string_view text) override { Write(out_, text); }
  void Err(std::string_view text) override { Write(err_, text); }
  bool OutIsFile() const override { return out_.file; }

 private:
  struct Stream {
    HANDLE handle = nullptr;
    bool console = false;  // written as UTF-16 text, else as UTF-8 bytes
    bool file = false;     // a file on disk
  };
  static Stream Inherited(DWORD which);
  static void Write(const Stream& stream, std::string_view text);

  Stream out_, err_;
  HANDLE parentConsole_ = INVALID_HANDLE_VALUE;  // CONOUT$ of the console attached to
};

}  // namespace scourly
