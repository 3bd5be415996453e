// The program's four windows, made in start-up order and connected to each
// other, to the pre-operation notice and to the power actions.
#include "app/Startup.h"

#include "app/Down.h"
#include "app/about.h"
#include "command/Handoff_win32.h"
#include "hotkeys/HotKeyManager.h"
#include "power/Notice.h"
#include "power/QuorinFunction.h"
#include "power/mymess.h"
#include "protection/Protection.h"

namespace {

// What the notice reads and drives lives in the main window (the Messages
// page, the media player, the clock timer) and in the notice window Form2.
class MainNoticeHost : public power::NoticeHost {
 public:
  void SetClockTimer(bool enabled) override;
  bool PlaySoundChecked() override;
  std::string SoundFileName() override;
  void OpenPlayer(const std::string& fileName) override;
  void StartPlaying() override;
  bool ShowMessageChecked() override;
  std::string MessageTime() override;
  bool NoticeShown() override;
  void StartCountdown() override;
  int ShowNoticeModal() override;
};

void MainNoticeHost::SetClockTimer(bool enabled) { Form1->SetClockTimer(enabled); }
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
void MainNoticeHost::StartCountdown() { Form2->StartCount(); }
int MainNoticeHost::ShowNoticeModal() {
  Form1->NoticeOpening();
  struct Closed {
    ~Closed() { Form1->NoticeClosed(); }
  } closed;
  return Form2->ShowModal();
}

void ConnectWindows() {
  static MainNoticeHost host;
  power::SetPowerPlatform(&power::SystemPowerPlatform());
  power::SetNoticeHost(&host);
  Form2->stopSound = [] {
    if (Form1->CheckBox5->Checked()) Form1->MediaPlayer1->Stop();
  };
  Form2->postpone = [] { Form1->PostponeNotice(command::kDefaultPostpone); };
  Form2->missed = [] { Form1->NoticeSlept(); };
  Form2->answered = [] { Form1->NoticeAnswered(); };
  Form4->currentPassword = [] { return CurrentPassword; };
  ui::TMenuItem::ShortCutText = [](unsigned word) { return hotkeys::HotKeyToText(word, true); };
  command::TakeCommands(Form1->Handle());
}

}  // namespace

void CreateWindows(ui::TApplication& application) {
  application.CreateForm(Form1);
  application.CreateForm(Form3);
  application.CreateForm(Form4);
  application.CreateForm(Form2);
  ConnectWindows();
  Form1->OpenOptionsAfterFailedStart();
  // The lock panel comes up at once when called, the first time too: its
  // controls are made as soon as start-up is over.
  application.OnFirstIdle = [] {
    if (Form4) Form4->CreateControlHandles();
  };
}
