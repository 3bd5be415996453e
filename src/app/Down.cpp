// Down: the main window's creation sequence, hiding and ending.
#include "app/Down.h"

#include "power/QuorinFunction.h"
#include "ui/Application.h"

TForm1* Form1 = nullptr;
std::string CurrentPassword;

void TForm1::FormCreate(ui::TComponent&) {
  CurrentPassword.clear();
  power::CheckSingleInstance();
  MyHide();
}

void TForm1::FormDestroy(ui::TComponent&) { power::ReleaseSingleInstance(); }

void TForm1::FormHide(ui::TComponent&) { MyHide(); }

void TForm1::Exit1Click(ui::TComponent&) { ui::Application().Terminate(); }

void TForm1::MyHide() {
  ui::TApplication& app = ui::Application();
  app.SetShowMainForm(false);
  app.Minimize();
  ShowWindow(app.Handle(), SW_HIDE);
}
