// A program or script started as a countdown's action ("/run"): found from
// the name a command gives, started in its own folder as the user Dormix
// runs as, and watched until it ends when an action follows it.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "schedule/Countdown.h"

namespace program {

// "C:\b\backup.cmd": "backup.cmd".
std::string FileName(const std::string& path);
// "C:\b\backup.cmd": "C:\b"; "C:\x.exe": "C:\".
std::string Folder(const std::string& path);
// How it is started: an executable directly, a batch file by the command
// interpreter, anything else by the program the shell opens it with.
enum class Kind { kExecutable, kBatch, kDocument };
Kind KindOf(const std::string& path);
// Its command line, the program's path quoted, then its arguments.
// A batch file's is the interpreter's "/c" argument, quoted once more as the
// interpreter reads it.
std::string CommandLineOf(const schedule::Run& run);
// The countdown's name for it, short enough for a caption: "Run backup.cmd".
std::string RunName(const std::string& path);

// The program's full path (Win32): a name with a folder taken from the
// current one, a bare name from the current folder or else the search
// path, ".exe" added where the name alone is no file. Nothing when there is
// no such file.
std::optional<std::string> Locate(const std::string& program);
// Starts it (Win32): no handle of Dormix inherited, a console program
// without a console window unless `console`. The started process, which
// runs until it ends; or the system's text of why it did not start.
std::variant<std::unique_ptr<schedule::Programs>, std::string> Start(const schedule::Run& run);

}  // namespace program
