// The application object.
#include "ui/Application.h"

#include <vector>

#include "ui/Error.h"
#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/Title.h"

namespace ui {

namespace {
TApplication* instance = nullptr;
}

TApplication& Application() { return *instance; }

namespace {
// The last resort for an error nobody can show: the debugger's output.
// Call only inside a catch block.
void LogException() noexcept {
  try {
    throw;
  } catch (const std::exception& e) {
    OutputDebugStringA(e.what());
  } catch (...) {
    OutputDebugStringA("Unknown error");
  }
}
}  // namespace

void HandleCallbackException() noexcept {
  if (instance)
    instance->HandleException();
  else
    LogException();
}

TApplication::TApplication() { instance = this; }

TApplication::~TApplication() {
  // Forms first: their destroy events still find the application window.
  DestroyComponents();
  DestroyHandle();
  instance = nullptr;
}

std::string ExecutablePath() {
  std::vector<char> path(MAX_PATH);
  // A path that fills the buffer may have been cut: try a larger one. (In
  // UTF-8 a path of MAX_PATH characters takes up to three times the bytes.)
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return std::string(path.data(), length);
    path.resize(path.size() * 2);
  }
}

void TApplication::Initialize() {
  title_ = TitleFromPath(ExecutablePath());
  // Zero-sized and centred: while shown, it is only a taskbar button.
  CreateHandle("TApplication", title_.c_str(), 0,
               WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
               GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr);
}

void TApplication::AddForm(TForm& form) {
  struct MainFormGuard {
    TApplication& app;
    TForm& form;
    ~MainFormGuard() {
      if (!app.mainForm_) app.mainForm_ = &form;
    }
  } guard{*this, form};
  form.Create();
}

void TApplication::Run() {
  if (!terminated_ && showMainForm_ && mainForm_) {
    try {
      mainForm_->Show();
    } catch (...) {
      HandleException();
    }
  }
  ProcessMessages();
  if (!terminated_ && OnFirstIdle) {
    try {
      OnFirstIdle();
    } catch (...) {
      HandleException();
    }
  }
  while (!terminated_ && HandleMessage()) {
  }
}

void TApplication::Terminate() {
  if (!terminated_) PostQuitMessage(0);
  terminated_ = true;
}

bool TApplication::HandleMessage() {
  MSG msg;
  const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
  if (got == 0 || got == -1) {
    terminated_ = true;
    return false;
  }
  Dispatch(msg);
  return true;
}

void TApplication::Dispatch(MSG& msg) {
  if (PreTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

bool TApplication::PreTranslate(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  const HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  TForm* form = nullptr;
  for (std::size_t i = 0; i < ComponentCount() && !form; ++i)
    if (auto* f = dynamic_cast<TForm*>(&Component(i)); f && f->Handle() == root) form = f;
  if (form && form->PageKey(msg)) return true;
  if (TControl* control = TControl::FromHandle(msg.hwnd); control && control->PreTranslate(msg))
    return true;
  if (!form) return false;
  dialogKey_ = msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
  const bool used = IsDialogMessageA(root, &msg) != FALSE;
  dialogKey_ = false;
  return used;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      return;
    }
    Dispatch(msg);
  }
}

// A hidden application window is minimised in place, never shown: showing it
// minimised only for MyHide to hide it again would map it and add and take
// away a taskbar button, about 20 ms of start-up under Wine. It stays iconic,
// so that another copy's guard finds it to restore (SW_RESTORE undoes both).
void TApplication::Minimize() {
  if (IsIconic(Handle())) return;
  if (IsWindowVisible(Handle()))
    ShowWindow(Handle(), SW_MINIMIZE);
  else
    SetWindowLongA(Handle(), GWL_STYLE, GetWindowLongA(Handle(), GWL_STYLE) | WS_MINIMIZE);
}

void TApplication::ShowTaskbarButton() {
  if (!IsWindowVisible(Handle())) ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
}

// Closing the application window (its taskbar button's Close, or another
// program's WM_CLOSE) closes the main form instead of destroying the window
// that owns every form; a hidden one stays hidden (the power actions' own
// system commands still reach it).
LRESULT TApplication::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (LRESULT result = 0; TPopupMenu::OwnerMessage(msg, lParam, result)) return result;
  if (msg == WM_CLOSE) {
    if (mainForm_) mainForm_->Close();
    return 0;
  }
  if (msg == WM_SYSCOMMAND && !IsWindowVisible(Handle()) && ShowsWindow(wParam)) return 0;
  return Window::WndProc(msg, wParam, lParam);
}

void TApplication::HandleException() noexcept {
  try {
    try {
      throw;
    } catch (const std::exception& e) {
      if (OnException)
        OnException(e);
      else
        ShowMessageBox(e.what(), {}, MB_OK | MB_ICONSTOP);
    } catch (...) {
      ShowMessageBox("Unknown error", {}, MB_OK | MB_ICONSTOP);
    }
  } catch (...) {
    // The handler failed itself: log its error, keep running.
    LogException();
  }
}

int TApplication::ShowMessageBox(const std::string& text, const std::string& caption, UINT flags, HWND owner) {
  return ::MessageBoxA(owner ? owner : Handle(), text.c_str(), (caption.empty() ? title_ : caption).c_str(), flags);
}

}  // namespace ui
