// The command line's hand-off between two processes and its output.
#include "command/Handoff_win32.h"

#include <cstring>
#include <optional>
#include <string>

#include "command/RunTrust.h"
#include "program/Program.h"
#include "schedule/Countdown.h"
#include "ui/Title.h"
#include "ui/Utf8.h"
#include "ui/Window.h"

namespace command {

namespace {

constexpr ULONG_PTR kAnswerMagic = 0x444D5841;  // "DMXA"
constexpr DWORD kLongestAnswer = 4096;
// Present on the main window of a copy that takes commands.
constexpr char kCommandsProperty[] = "Dormix.Commands";
constexpr char kAnswerClass[] = "DormixAnswer";
constexpr DWORD kAnswerTimeoutMs = 10000;
// An action's answer waits for its notice to open: the sound file opened
// first may be slow to load.
constexpr DWORD kLaterAnswerTimeoutMs = 60000;

// The bytes of a WM_COPYDATA of this kind, without the NUL that ends them:
// at most `longest` bytes, that NUL counted, and no other NUL unless `many`
// (packed arguments).
std::optional<std::string> Copied(LPARAM data, ULONG_PTR magic, DWORD longest, bool many) {
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(data);
  if (!copy || copy->dwData != magic || copy->cbData == 0 || copy->cbData > longest || !copy->lpData) return {};
  const std::string bytes(static_cast<const char*>(copy->lpData), copy->cbData);
  if (bytes.back() != '\0' || (!many && bytes.find('\0') != bytes.size() - 1)) return {};
  return bytes.substr(0, bytes.size() - (many ? 0 : 1));
}

// The second process's message-only window, to which the running copy sends
// the answer: its exit code as one digit, then its text.
class AnswerWindow : public ui::Window {
 public:
  AnswerWindow() { CreateHandle(kAnswerClass, "", 0, 0, 0, 0, 0, 0, HWND_MESSAGE); }
  std::optional<Answer> answer;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg != WM_COPYDATA) return Window::WndProc(msg, wParam, lParam);
    const std::optional<std::string> copied = Copied(lParam, kAnswerMagic, kLongestAnswer, false);
    if (!copied || copied->empty() || (*copied)[0] < '0' || (*copied)[0] > '2') return FALSE;
    answer = Answer{(*copied)[0] - '0', copied->substr(1)};
    return TRUE;
  }
};

// The main window of the copy that runs, waiting for one that is still
// starting: its file mapping exists before its windows do. A copy this
// process started may first show an error and wait for the user; one that
// ended may have found another copy starting.
HWND RunningCopy(HANDLE starting) {
  const DWORD start = GetTickCount();
  do {
    for (HWND w = FindWindowExA(nullptr, nullptr, "TForm1", nullptr); w; w = FindWindowExA(nullptr, w, "TForm1", nullptr))
      if (GetPropA(w, kCommandsProperty)) return w;
    Sleep(50);
  } while ((starting && WaitForSingleObject(starting, 0) == WAIT_TIMEOUT) || GetTickCount() - start < kAnswerTimeoutMs);
  return nullptr;
}

bool IsAnswerWindow(HWND window) {
  char name[sizeof kAnswerClass + 1] = {};
  return window && GetClassNameA(window, name, sizeof name) && std::strcmp(name, kAnswerClass) == 0;
}

// Writes all of the text to a file, a pipe or a console: a console takes it
// as characters, whatever its code page.
void Write(HANDLE out, const std::string& text) {
  DWORD written = 0, mode = 0;
  if (GetConsoleMode(out, &mode)) {
    const std::wstring wide = ui::Wide(text);
    for (std::size_t done = 0; done < wide.size(); done += written)
      if (!WriteConsoleW(out, wide.data() + done, static_cast<DWORD>(wide.size() - done), &written, nullptr) || !written)
        return;
    return;
  }
  for (std::size_t done = 0; done < text.size(); done += written)
    if (!WriteFile(out, text.data() + done, static_cast<DWORD>(text.size() - done), &written, nullptr) || !written)
      return;
}

}  // namespace

void TakeCommands(HWND mainWindow) { SetPropA(mainWindow, kCommandsProperty, mainWindow); }

LRESULT ReceiveCommand(WPARAM sender, LPARAM data, Handoff& handoff, Verbs verbs) {
  // A copy of another version may write what this one refuses: it says why.
  const std::optional<std::string> packed = Copied(data, kCommandMagic, kLongestCommand, true);
  const auto parsed = packed ? ParseCommandLine(Unpacked(*packed), verbs)
                             : decltype(ParseCommandLine({}, verbs))("The running Dormix could not read the command.");
  const Command* command = std::get_if<Command>(&parsed);
  if (command && command->run) {
    // The sender is the process that made the answer window it names.
    DWORD senderId = 0;
    if (IsAnswerWindow(reinterpret_cast<HWND>(sender))) GetWindowThreadProcessId(reinterpret_cast<HWND>(sender), &senderId);
    if (const std::optional<std::string> refusal = RunRefusalFor(senderId ? std::optional<std::uint32_t>(senderId) : std::nullopt)) {
      Reply(sender, {1, *refusal});
      return 1;
    }
  }
  const std::optional<Answer> answer = !command ? Answer{2, std::get<std::string>(parsed)}
                                       : command->kind == Command::Kind::Usage ? Answer{2, kUsage}
                                                                               : handoff.Serve(*command, sender);
  if (!answer) return kAnswerFollows;
  Reply(sender, *answer);
  return answer->code;
}

void Reply(Sender sender, const Answer& answer) {
  // Only to a window made for the answer: the sender names it, and another
  // process could name any window.
  const HWND answerWindow = reinterpret_cast<HWND>(sender);
  if (!IsAnswerWindow(answerWindow)) return;
  const std::string reply = std::to_string(answer.code) + std::string(ui::FirstCharacters(answer.text, answer.text.size(), kLongestAnswer - 2));
  COPYDATASTRUCT copy{kAnswerMagic, static_cast<DWORD>(reply.size() + 1), const_cast<char*>(reply.c_str())};
  DWORD_PTR result = 0;
  SendMessageTimeoutA(answerWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                      kAnswerTimeoutMs, &result);
}

bool NamesThisProgram(const std::string& program) {
  if (program.empty()) return false;
  if (schedule::IsProcessId(program)) return program.size() <= 10 && std::stoull(program) == GetCurrentProcessId();
  const std::string exe = ui::ExecutablePath();
  const std::string file = exe.substr(exe.rfind('\\') + 1);
  for (const std::string& name : ProgramNames(program))
    if (lstrcmpiA(name.c_str(), file.c_str()) == 0) return true;
  return false;
}

ui::unique_handle StartCopy() {
  const std::string exe = ui::ExecutablePath();
  const std::string folder = exe.substr(0, exe.rfind('\\'));
  std::string line = "\"" + exe + "\"";
  // No standard handles: a pipe or file of the caller's would stay open
  // while the copy runs.
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  PROCESS_INFORMATION started{};
  // A job that does not let its processes go refuses the first.
  for (const DWORD flags : {DWORD{CREATE_BREAKAWAY_FROM_JOB}, DWORD{0}}) {
    if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, flags, nullptr, folder.c_str(), &startup,
                        &started))
      continue;
    const ui::unique_handle thread(started.hThread);
    return ui::unique_handle(started.hProcess);
  }
  return {};
}

Answer HandOff(const Command& command, Verbs verbs, HANDLE starting) {
  const HWND running = RunningCopy(starting);
  if (!running) return {1, "The running Dormix was not found."};
  AnswerWindow answerWindow;
  std::string packed = Packed(CommandArguments(command, verbs));
  COPYDATASTRUCT copy{kCommandMagic, static_cast<DWORD>(packed.size()), packed.data()};
  DWORD_PTR code = 0;
  const Answer silent{1, "The running Dormix did not answer."};
  // Not SMTO_BLOCK: the answer arrives while this call waits.
  if (!SendMessageTimeoutA(running, WM_COPYDATA, reinterpret_cast<WPARAM>(answerWindow.Handle()),
                           reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &code))
    return silent;
  if (code != kAnswerFollows) return {static_cast<int>(code), answerWindow.answer ? answerWindow.answer->text : ""};
  for (const DWORD start = GetTickCount(); !answerWindow.answer && GetTickCount() - start < kLaterAnswerTimeoutMs;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 500, QS_SENDMESSAGE);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  return answerWindow.answer.value_or(silent);
}

std::optional<int> Launch(const std::vector<std::string>& arguments, Verbs verbs, ui::unique_handle& guard) {
  std::optional<Command> command;
  if (!arguments.empty()) {
    const auto parsed = ParseCommandLine(arguments, verbs);
    if (const auto* error = std::get_if<std::string>(&parsed)) {
      Print({2, *error + "\n" + kTryUsage}, true);
      return 2;
    }
    command = std::get<Command>(parsed);
    if (command->kind == Command::Kind::Usage) {
      Print({0, kUsage}, true);
      return 0;
    }
    // Named from this process's folder, which the running copy does not share.
    if (command->run)
      if (const std::optional<std::string> found = program::Locate(command->run->program)) command->run->program = *found;
  }
  // Only the name matters: nothing is ever read or written.
  guard.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READONLY, 0, 32, "Dormix"));
  if (!guard || GetLastError() == ERROR_ALREADY_EXISTS) {
    if (!command) {
      if (const HWND running = RunningCopy(nullptr)) PostMessageA(running, kStartedAgainMessage, 0, 0);
      return 0;
    }
    const Answer answer = HandOff(*command, verbs);
    Print(answer, answer.code != 0);
    return answer.code;
  }
  if (!command) return std::nullopt;
  // With no copy running there is no countdown to cancel, postpone or report.
  if (command->kind != Command::Kind::Run) {
    Print({1, "Dormix is not running."}, true);
    return 1;
  }
  // A copy of its own takes the tray, so that this process ends with its
  // answer as a caller waiting for it expects; the name is free for it.
  guard.reset();
  const ui::unique_handle copy = StartCopy();
  const Answer answer = copy ? HandOff(*command, verbs, copy.get()) : Answer{1, "Dormix could not be started."};
  Print(answer, answer.code != 0);
  return answer.code;
}

void Print(const Answer& answer, bool boxed) {
  if (answer.text.empty()) return;
  const std::string text = answer.text.back() == '\n' ? answer.text : answer.text + "\n";
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  const DWORD type = out && out != INVALID_HANDLE_VALUE ? GetFileType(out) : FILE_TYPE_UNKNOWN;
  // NUL is a character device too, but no console: written to as a file.
  DWORD mode = 0;
  if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE || (type == FILE_TYPE_CHAR && !GetConsoleMode(out, &mode)))
    return Write(out, WindowsLines(text));
  if (type == FILE_TYPE_CHAR) return Write(out, text);
  if (AttachConsole(ATTACH_PARENT_PROCESS)) {
    const ui::unique_handle console = ui::Owned(CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                                        nullptr));
    if (console) Write(console.get(), text);
    FreeConsole();
    return;
  }
  if (!boxed) return;
  // The box wraps the text itself: the lines that go on an item join it.
  std::string joined = answer.text;
  for (std::size_t at; (at = joined.find("\n   ")) != std::string::npos;) joined.replace(at, 4, " ");
  MessageBoxA(nullptr, joined.c_str(), "Dormix", MB_OK | (answer.code ? MB_ICONERROR : MB_ICONINFORMATION));
}

}  // namespace command
