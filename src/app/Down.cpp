// Down: the main window's creation sequence, hiding and ending.
#include "app/Down.h"

#include "power/QuorinFunction.h"
#include "protection/Protection.h"
#include "ui/Application.h"

TForm1* Form1 = nullptr;
std::string CurrentPassword;
bool ForceFlag = false;

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

void TForm1::CheckBox1Click(ui::TComponent&) { ForceFlag = CheckBox1->Checked(); }

void TForm1::ShutDown1Click(ui::TComponent&) { power::ShutDownSystem(ForceFlag); }
void TForm1::LogOff1Click(ui::TComponent&) { power::LogOffUser(ForceFlag); }
void TForm1::Hibernate1Click(ui::TComponent&) { power::HibernateSystem(ForceFlag); }
void TForm1::StandBy1Click(ui::TComponent&) { power::StandBySystem(ForceFlag); }
void TForm1::Restart1Click(ui::TComponent&) { power::RestartSystem(ForceFlag); }
void TForm1::ShutDownMonitor1Click(ui::TComponent&) { power::MonitorOff(); }
void TForm1::ScreenSaver1Click(ui::TComponent&) { power::StartScreenSaver(); }
void TForm1::ProtectionPanel1Click(ui::TComponent&) { Form4->ShowPanel(); }
