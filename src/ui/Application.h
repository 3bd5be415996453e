// The application object: the hidden window behind the taskbar button, the
// title, the message loop, the forms it creates and owns, and the top-level
// error handler.
#pragma once
#include <windows.h>

#include <exception>
#include <string>

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
      T& form = Make<T>(std::string());
      reference = &form;
      AddForm(form);
    } catch (...) {
      HandleException();
    }
  }

  // Shows the main form (unless told not to or terminating), then dispatches
  // messages until Terminate.
  void Run();
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

  // A message box owned by the application window, captioned with the title
  // when no caption is given; the button the user chose.
  int ShowMessageBox(const std::string& text, const std::string& caption = {}, UINT flags = MB_OK);

  // Shows the text of the exception being handled in a message box, or hands
  // it to OnException when that is assigned. Call only inside a catch block.
  void HandleException();
  Event<const std::exception&> OnException;

  // Shows the application window again, restored, when the main form is
  // shown: the other forms are owned by it and have no button of their own.
  void ShowTaskbarButton();

 private:
  void AddForm(TForm& form);
  // Keyboard messages for the focused control and the dialog keys of forms.
  bool PreTranslate(MSG& msg);
  void Dispatch(MSG& msg);

  std::string title_;
  bool terminated_ = false;
  bool showMainForm_ = true;
  TForm* mainForm_ = nullptr;
};

TApplication& Application();

// For the catch blocks of window procedures and callbacks: hands the error
// being handled to the application's handler; with no application object
// (a test of a component alone) it is written to the debugger's output.
void HandleCallbackException();

}  // namespace ui
