// The command line's hand-off between two processes and its output.
#include "app/CommandLine_win32.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "ui/Win32Handle.h"
#include "ui/Window.h"

namespace app {

namespace {

constexpr ULONG_PTR kAnswerMagic = 0x444D5841;  // "DMXA"
constexpr DWORD kLongestAnswer = 4096;
// Present on the main window of a copy that takes commands.
constexpr char kCommandsProperty[] = "Dormix.Commands";
constexpr char kAnswerClass[] = "DormixAnswer";
constexpr DWORD kAnswerTimeoutMs = 10000;

// The text of a WM_COPYDATA of this kind: a NUL-terminated text of at most
// `longest` bytes, the terminator counted, with no NUL before its end.
const char* CopiedText(LPARAM data, ULONG_PTR magic, DWORD longest) {
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(data);
  if (!copy || copy->dwData != magic || copy->cbData == 0 || copy->cbData > longest || !copy->lpData) return nullptr;
  const char* text = static_cast<const char*>(copy->lpData);
  return std::memchr(text, '\0', copy->cbData) == text + copy->cbData - 1 ? text : nullptr;
}

// The second process's message-only window, to which the running copy sends
// the answer's text while the second process waits for its exit code.
class AnswerWindow : public ui::Window {
 public:
  AnswerWindow() { CreateHandle(kAnswerClass, "", 0, 0, 0, 0, 0, 0, HWND_MESSAGE); }
  std::string text;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg != WM_COPYDATA) return Window::WndProc(msg, wParam, lParam);
    const char* answer = CopiedText(lParam, kAnswerMagic, kLongestAnswer);
    if (!answer) return FALSE;
    text = answer;
    return TRUE;
  }
};

// The main window of the copy that runs, waiting a little for one that is
// still starting: its file mapping exists before its windows do.
HWND RunningCopy() {
  const DWORD start = GetTickCount();
  do {
    for (HWND w = FindWindowExA(nullptr, nullptr, "TForm1", nullptr); w; w = FindWindowExA(nullptr, w, "TForm1", nullptr))
      if (GetPropA(w, kCommandsProperty)) return w;
    Sleep(50);
  } while (GetTickCount() - start < kAnswerTimeoutMs);
  return nullptr;
}

bool IsAnswerWindow(HWND window) {
  char name[sizeof kAnswerClass + 1] = {};
  return window && GetClassNameA(window, name, sizeof name) && std::strcmp(name, kAnswerClass) == 0;
}

// Owns a handle whose failure value is INVALID_HANDLE_VALUE.
ui::unique_handle Owned(HANDLE handle) { return ui::unique_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle); }

// Writes all of the text to a file, a pipe or a console.
void Write(HANDLE out, const std::string& text) {
  DWORD written = 0;
  for (std::size_t done = 0; done < text.size(); done += written)
    if (!WriteFile(out, text.data() + done, static_cast<DWORD>(text.size() - done), &written, nullptr) || !written)
      return;
}

}  // namespace

void TakeCommands(HWND mainWindow) { SetPropA(mainWindow, kCommandsProperty, mainWindow); }

LRESULT ReceiveCommand(WPARAM sender, LPARAM data, const std::function<Answer(const Command&)>& serve) {
  const char* text = CopiedText(data, kCommandMagic, kLongestCommand);
  if (!text) return 2;
  const auto parsed = ParseCommandLine(Words(text));
  const Command* command = std::get_if<Command>(&parsed);
  if (!command || command->kind == Command::Kind::Usage) return 2;
  const Answer answer = serve(*command);
  // Only to a window made for the answer: the sender names it, and another
  // process could name any window.
  const HWND answerWindow = reinterpret_cast<HWND>(sender);
  if (!answer.text.empty() && IsAnswerWindow(answerWindow)) {
    const std::string reply = answer.text.substr(0, kLongestAnswer - 1);
    COPYDATASTRUCT copy{kAnswerMagic, static_cast<DWORD>(reply.size() + 1), const_cast<char*>(reply.c_str())};
    DWORD_PTR result = 0;
    SendMessageTimeoutA(answerWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy),
                        SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerTimeoutMs, &result);
  }
  return answer.code;
}

Answer HandOff(const Command& command) {
  const HWND running = RunningCopy();
  if (!running) return {1, "The running Dormix was not found."};
  AnswerWindow answerWindow;
  std::string text = CommandText(command);
  COPYDATASTRUCT copy{kCommandMagic, static_cast<DWORD>(text.size() + 1), text.data()};
  DWORD_PTR code = 0;
  // Not SMTO_BLOCK: the answer's text arrives while this call waits.
  if (!SendMessageTimeoutA(running, WM_COPYDATA, reinterpret_cast<WPARAM>(answerWindow.Handle()),
                           reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &code))
    return {1, "The running Dormix did not answer."};
  return {static_cast<int>(code), answerWindow.text};
}

void Print(const Answer& answer, bool boxed) {
  if (answer.text.empty()) return;
  const std::string text = answer.text.back() == '\n' ? answer.text : answer.text + "\n";
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  const DWORD type = out && out != INVALID_HANDLE_VALUE ? GetFileType(out) : FILE_TYPE_UNKNOWN;
  // NUL is a character device too, but no console: written to as a file.
  DWORD mode = 0;
  if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE || (type == FILE_TYPE_CHAR && !GetConsoleMode(out, &mode)))
    return Write(out, text);
  if (AttachConsole(ATTACH_PARENT_PROCESS)) {
    const ui::unique_handle console = Owned(CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                                        nullptr));
    if (console) Write(console.get(), text);
    FreeConsole();
    return;
  }
  if (boxed) MessageBoxA(nullptr, answer.text.c_str(), "Dormix", MB_OK | (answer.code ? MB_ICONERROR : MB_ICONINFORMATION));
}

void CloseStandardHandles() {
  // A parent may have given one handle for two of them: closed once.
  HANDLE seen[3] = {};
  const DWORD which[3] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
  for (int i = 0; i < 3; ++i) {
    seen[i] = GetStdHandle(which[i]);
    SetStdHandle(which[i], nullptr);
    if (std::find(seen, seen + i, seen[i]) != seen + i) continue;
    const ui::unique_handle closed = Owned(seen[i]);
  }
}

}  // namespace app
