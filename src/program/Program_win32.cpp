// Finding and starting a program on Windows: an executable by
// CreateProcess, a batch file by the system's command interpreter, anything
// else by the program the shell opens it with.
#include <windows.h>
#include <shellapi.h>

#include "program/Program.h"
#include "ui/Win32Handle.h"
#include "ui/Window.h"

namespace program {

namespace {

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FullPath(const std::string& path) {
  char full[3 * MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return length && length < sizeof full ? std::string(full, length) : std::string();
}

// The started process, held until it ends; none when the shell handed the
// file to a program that was running already.
class Started final : public schedule::Programs {
 public:
  explicit Started(HANDLE process) : process_(process) {}
  bool Running() override { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

 private:
  ui::unique_handle process_;
};

std::string SystemProgram(const char* name) {
  char folder[MAX_PATH];
  const UINT length = GetSystemDirectoryA(folder, sizeof folder);
  return std::string(folder, length < sizeof folder ? length : 0) + "\\" + name;
}

}  // namespace

std::optional<std::string> Locate(const std::string& program) {
  const bool bare = program.find_first_of("\\/:") == std::string::npos;
  for (const std::string& name : {program, program + ".exe"}) {
    if (IsFile(name)) return FullPath(name);
    char found[3 * MAX_PATH];
    const DWORD length = bare ? SearchPathA(nullptr, name.c_str(), nullptr, sizeof found, found, nullptr) : 0;
    if (length && length < sizeof found && IsFile(found)) return std::string(found, length);
  }
  return std::nullopt;
}

std::variant<std::unique_ptr<schedule::Programs>, std::string> Start(const schedule::Run& run) {
  const std::string folder = Folder(run.program);
  if (KindOf(run.program) == Kind::kDocument) {
    SHELLEXECUTEINFOA shell{};
    shell.cbSize = sizeof shell;
    shell.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    shell.lpFile = run.program.c_str();
    shell.lpParameters = run.arguments.empty() ? nullptr : run.arguments.c_str();
    shell.lpDirectory = folder.c_str();
    shell.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&shell)) return ui::OSErrorText(GetLastError());
    return std::make_unique<Started>(shell.hProcess);
  }
  const bool batch = KindOf(run.program) == Kind::kBatch;
  const std::string application = batch ? SystemProgram("cmd.exe") : run.program;
  std::string line = batch ? "\"" + application + "\" " + CommandLineOf(run) : CommandLineOf(run);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(application.c_str(), line.data(), nullptr, nullptr, FALSE,
                      run.console ? CREATE_NEW_CONSOLE : CREATE_NO_WINDOW, nullptr, folder.c_str(), &startup, &started))
    return ui::OSErrorText(GetLastError());
  const ui::unique_handle thread(started.hThread);
  return std::make_unique<Started>(started.hProcess);
}

}  // namespace program
