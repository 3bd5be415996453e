// The notice's host and the wiring between the windows.
#include "app/OperationNotice.h"

#include "app/Down.h"
#include "hotkeys/HotKeyManager.h"
#include "power/QuorinFunction.h"
#include "power/mymess.h"
#include "protection/Protection.h"

void MainNoticeHost::SetClockTimer(bool enabled) { Form1->Timer1->SetEnabled(enabled); }
bool MainNoticeHost::PlaySoundChecked() { return Form1->CheckBox5->Checked(); }
std::string MainNoticeHost::SoundFileName() { return Form1->Edit2->Text(); }

void MainNoticeHost::OpenPlayer(const std::string& fileName) {
  Form1->MediaPlayer1->fileName = fileName;
  Form1->MediaPlayer1->Open();
}

void MainNoticeHost::StartPlaying() { Form1->MediaPlayer1->Play(); }
bool MainNoticeHost::ShowMessageChecked() { return Form1->CheckBox4->Checked(); }
std::string MainNoticeHost::MessageTime() { return Form1->Edit1->Text(); }
bool MainNoticeHost::NoticeShown() { return Form2->Visible(); }
void MainNoticeHost::StartCountdown() { Form2->Timer1->SetEnabled(true); }
int MainNoticeHost::ShowNoticeModal() { return Form2->ShowModal(); }

void ConnectWindows() {
  static MainNoticeHost host;
  power::SetPowerPlatform(&power::SystemPowerPlatform());
  power::SetNoticeHost(&host);
  Form2->stopSound = [] {
    if (Form1->CheckBox5->Checked()) Form1->MediaPlayer1->Stop();
  };
  Form4->currentPassword = [] { return CurrentPassword; };
  ui::TMenuItem::ShortCutText = [](unsigned word) { return hotkeys::HotKeyToText(word, true); };
}
