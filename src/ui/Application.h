// The application object: the hidden window behind the taskbar button, the
// title, the message loop, the forms it creates and owns, and the top-level
// error handler.
#pragma once
#include <windows.h>

#include <exception>
#include <string>
#include <utility>

#include "ui/Component.h"
#include "ui/Window.h"

namespace ui {

class TForm;

class TApplication : public TComponent, public Window {
 public:
  TApplication();
  ~TApplication() override;

  // Creates the application window; the title comes from the executable's name.
  void Initialize();
  const std::string& Title() const { return title_; }

  // Creates a form, applies its design and runs its creation handler. The
  // first form created is the main form. An error is shown by the error
  // handler and creation of the program's other forms goes on.
  template <typename T>
  void CreateForm(T*& reference) {
    reference = nullptr;
    try {
      // Not Make: a form loads itself in Create, with its design.
      T& form = static_cast<T&>(Insert(std::make_unique<T>(this), std::string()));
      reference = &form;
      AddForm(form);
    } catch (...) {
      HandleException();
    }
  }

  // Shows the main form (unless told not to or terminating), then dispatches
  // messages until Terminate. OnFirstIdle runs once, as soon as no message
  // is waiting: start-up is over then.
  void Run();
  Event<> OnFirstIdle;
  // A request: the loop ends when control next returns to it.
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Dispatches the messages waiting in the queue, then returns.
  void ProcessMessages();
  // Dispatches one message, waiting for it; false after WM_QUIT.
  bool HandleMessage();
  void Minimize();
  void SetShowMainForm(bool show) { showMainForm_ = show; }
  TForm* MainForm() const { return mainForm_; }

  // A message box owned by `owner` (the application window when null),
  // captioned with the title when no caption is given; the button chosen.
  int ShowMessageBox(const std::string& text, const std::string& caption = {}, UINT flags = MB_OK,
                     HWND owner = nullptr);

  // Shows the text of the exception being handled in a message box, or hands
  // it to OnException when that is assigned. Call only inside a catch block.
  // Never throws: a handler that fails itself is logged to the debugger.
  void HandleException() noexcept;
  Event<const std::exception&> OnException;

  // True once for the IDOK or IDCANCEL that the dialog manager sends, as it
  // handles Enter or Esc in this application's loop: the same WM_COMMAND
  // posted or sent by another program is none.
  bool TakeDialogKey() { return std::exchange(dialogKey_, false); }

  // Shows the application window again, restored, when the main form is
  // shown: the other forms are owned by it and have no button of their own.
  void ShowTaskbarButton();

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void AddForm(TForm& form);
  // Keyboard messages for the focused control and the dialog keys of forms.
  bool PreTranslate(MSG& msg);
  void Dispatch(MSG& msg);

  std::string title_;
  bool terminated_ = false;
  bool showMainForm_ = true;
  bool dialogKey_ = false;
  TForm* mainForm_ = nullptr;
};

TApplication& Application();

// For catch blocks: hands the error being handled to the application's
// handler; with no application object (a test of a component alone) it is
// written to the debugger's output. Never throws.
void HandleCallbackException() noexcept;

// The one guard of every Win32 callback (window, subclass and timer
// procedures, enumeration callbacks): an exception thrown by `body` never
// unwinds into system frames, which with mingw on i686 ends the process.
// The error goes to the application's handler and `onError` is answered.
template <typename R, typename F>
R Guarded(R onError, F&& body) noexcept {
  try {
    return body();
  } catch (...) {
    HandleCallbackException();
    return onError;
  }
}

}  // namespace ui
