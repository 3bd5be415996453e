// Down: the main window TForm1, which is also the options window, with the
// popup menu shared with the tray icon.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Actions.h"
#include "app/OperationClock.h"
#include "app/OptionChecks.h"
#include "app/Settings.h"

#include "command/Handoff.h"
#include "hotkeys/HotKeyManager_win32.h"
#include "menu/BarPopupMenu_win32.h"
#include "schedule/Countdown.h"
#include "tray/TarvelTrayIcon.h"
#include "ui/Containers.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Form.h"
#include "ui/ImageList.h"
#include "ui/MediaPlayer.h"
#include "ui/Menus.h"
#include "ui/Timer.h"

// The main window owns the program's state variables (in State, as the
// settings store moves them) and is the host of the operation clock and of
// the one-off countdown.
class TForm1 : public ui::TForm, private app::ClockHost, private schedule::CountdownHost {
 public:
  using TForm::TForm;

  void FormCreate(ui::TComponent& sender);
  void FormDestroy(ui::TComponent& sender);
  void FormHide(ui::TComponent& sender);
  void FormClose(ui::TComponent& sender, ui::TCloseAction& action);
  void Timer1Timer(ui::TComponent& sender);
  // The options window's own clock display: Timer1 stops while a notice
  // counts and during the pause after a firing, and "Now:" must not lag.
  void Timer2Timer(ui::TComponent& sender);
  void Timer3Timer(ui::TComponent& sender);
  void StopSystem1Click(ui::TComponent& sender);
  void Main1Click(ui::TComponent& sender);
  // After a start whose settings could not all be read: opens the options
  // window as "Main" does, once the windows are made.
  void OpenOptionsAfterFailedStart();
  void Exit1Click(ui::TComponent& sender);
  void About1Click(ui::TComponent& sender);
  // The eight action items of the menu, by their index in app::Actions.
  void ActionClick(int action);
  void HotKeyManager1HotKeyPressed(std::uint32_t hotKey, std::uint16_t index);
  // RadioButton1 to RadioButton7: the operation code of the button.
  void RadioButtonClick(ui::TComponent& sender);
  void CheckBox1Click(ui::TComponent& sender);
  void CheckBox2Click(ui::TComponent& sender);
  void BitBtn1Click(ui::TComponent& sender);
  void BitBtn2Click(ui::TComponent& sender);
  void Button1Click(ui::TComponent& sender);
  // "Days...": the week in its own window; in effect at once, stored by Ok.
  void DaysButtonClick(ui::TComponent& sender);
  void LoadSettings();
  void SaveSettings();
  // Hides the whole application from the screen and the taskbar.
  void MyHide();

  // The menu items that cancel and postpone a one-off countdown and the
  // countdown's tick (Down_commands.cpp, with the command line's host).
  void CancelCountdown1Click(ui::TComponent& sender);
  void PostponeCountdown1Click(ui::TComponent& sender);
  void CountdownTimerTimer(ui::TComponent& sender);
  // The clock's Timer1 started or stopped (the clock's pause, a notice). A
  // pending countdown ticks with it while it runs, and on CountdownTimer
  // while it does not: one wake a second, not two.
  void SetClockTimer(bool enabled);
  // The notice's Postpone: it closes with no action now, and its action
  // becomes the pending countdown `span` from now. Nothing happens once it
  // is answered, or while another countdown is pending: false.
  bool PostponeNotice(schedule::Seconds span);
  // The notice's count was cut by a long sleep: the countdown's notice is
  // the countdown's to report, any other says so in a balloon.
  void NoticeSlept();
  // The notice was answered with Ok, or its count reached zero.
  void NoticeAnswered();
  // The notice of an action opens (before its modal run), and has closed:
  // while it counts, the menu greys what it refuses.
  void NoticeOpening();
  void NoticeClosed();
  ui::TMenuItem *CancelCountdown1, *PostponeCountdown1;
  ui::TTimer* CountdownTimer;
  // "Countdown...": the countdown window, made at its first opening
  // (Down_countdown.cpp). Greyed while the options window is open.
  void Countdown1Click(ui::TComponent& sender);
  ui::TMenuItem* Countdown1;
  // Where a "/quiet" countdown reads the machine's load.
  std::function<std::unique_ptr<schedule::LoadSampler>()> LoadSource = schedule::SystemLoad;

  // OperationCode, RememberPosition, ClockEnabled and ShortcutTexts live
  // here; the other fields are read from the controls when needed.
  app::Settings State;
  bool OptionsOpen = false;

  ui::TImage* Image1;
  ui::TPageControl* PageControl1;
  ui::TTabSheet *TabSheet4, *TabSheet1, *TabSheet2, *TabSheet3, *TabSheet5;
  ui::TLabel *Label1, *Label2, *Label3, *Label4, *Label5;
  ui::TMaskEdit* MaskEdit1;
  ui::TComboBox* ComboBox1;
  ui::TButton* DaysButton;
  ui::TGroupBox* RadioGroup1;
  ui::TRadioButton *RadioButton1, *RadioButton2, *RadioButton3, *RadioButton4, *RadioButton5,
      *RadioButton6, *RadioButton7;
  ui::TCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox5;
  ui::TMaskEdit *MaskEdit2, *MaskEdit3, *MaskEdit4;
  ui::THotKey *HotKey1, *HotKey2, *HotKey3, *HotKey4, *HotKey5, *HotKey6, *HotKey7, *HotKey8;
  ui::TLabel *Label17, *Label18;
  ui::TEdit *Edit1, *Edit2;
  ui::TButton* Button1;
  ui::TMediaPlayer* MediaPlayer1;
  ui::TBitBtn *BitBtn1, *BitBtn2;
  ui::TLabel* Label19;  // said when a policy sets any setting

  ui::TTimer *Timer1, *Timer2, *Timer3;
  hotkeys::THotKeyManager* HotKeyManager1;
  ui::TOpenDialog* OpenDialog1;
  ui::TImageList *ImageList1, *ImageList2;
  menu::TBarPopupMenu* BarPopupMenu1;
  ui::TMenuItem *Main1, *StopSystem1, *Exit1, *Help1, *About1, *ShutDown1, *LogOff1, *Hibernate1,
      *StandBy1, *Restart1, *ShutDownMonitor1, *ScreenSaver1, *ProtectionPanel1;
  // The action items and hotkey controls in action order.
  std::array<ui::TMenuItem*, app::kActionCount> ActionItems;
  std::array<ui::THotKey*, app::kActionCount> HotKeys;
  std::array<ui::TRadioButton*, 7> RadioButtons;
  tray::TTarvelTrayIcon* TarvelTrayIcon1;

 protected:
  const char* ClassName() const override { return "TForm1"; }
  void Design() override;
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  // The store's view of the window: its controls and state variables.
  app::Settings Gather() const;
  // Puts loaded settings into the controls and variables, in load order.
  void Apply(const app::Settings& settings);
  // The eight hotkeys registered anew from ShortcutTexts, and the menu's
  // shortcut texts with them; a combination refused stays unregistered.
  void RegisterShortcuts();
  void ShowShortcutsInMenu();
  // Ok's answer to a field it does not accept.
  void Refuse(const app::Refusal& refusal);
  // The policies in State: their controls greyed, and the window's note.
  void ShowPolicies();
  // WM_SETTINGCHANGE "Policy": the settings loaded and saved as at start.
  void PolicyChanged();
  bool policyChanged_ = false;

  // What the clock reads and drives.
  app::LocalMinute Now() override;
  void SetClockText(const std::string& text) override;
  void SetEnabledText(const std::string& text) override;
  void SetSideBarText(const std::string& text) override;
  void SetTrayTip(const std::string& tip) override;
  void SetTrayIconIndex(int index) override;
  void ActivateTrayIcon() override;
  bool ClockItemChecked() override;
  void SetClockItem(bool checked, const std::string& caption) override;
  std::string SetTime() override;
  // Runs an action's routine: the menu, the hotkeys, the clock and the
  // command line all come here.
  void Run(app::Routine routine, std::optional<bool> force) override;
  // WM_COPYDATA and the command line's action run after its answer.
  LRESULT CommandMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void SetTimer1(bool enabled) override;
  void SetTimer3(bool enabled) override;
  void SaveClockState() override;
  // After the options window's modal run, however it ended.
  void EndOptions();
  // The item's command waits for the notice shown, if any.
  bool HeldByNotice(ui::TMenuItem& item);
  // Main, About and "Countdown..." greyed while a notice counts, and
  // "Countdown..." while the options window is open.
  void EnableWindowItems();
  // The balloon that says where Dormix runs, and its first showing.
  void ShowWhereItRuns();
  void IntroduceOnce();
  bool noticeCounting_ = false;

  // What the countdown reads and drives.
  void RunJob(const schedule::Job& job) override;
  bool NoticeShown() override;
  void AnswerNotice() override;
  void ShowCaption(const std::string& caption) override;
  void ReportMissed(const std::string& text) override;
  // A countdown's program started, `caption` naming the countdown; the
  // action after it then waits for its end.
  void StartProgram(const schedule::Job& job, const std::string& caption);
  // What the last program's start failed with, for /status; "" once one starts.
  std::string runFailure_;
  // Closes the shown notice with Cancel, as its button does.
  void AnswerNoticeWithCancel();
  // Before a routine that may show the notice: what its Postpone carries
  // on, unless a notice is shown already (the routine then shows none).
  void RememberNoticeJob(app::Routine routine, bool byForce);

  // What the command line's commands read and drive.
  class CommandHost : public command::HandoffHost {
   public:
    explicit CommandHost(TForm1& form) : form_(form) {}
    command::Situation Now() override;
    bool Cancel() override;
    bool Postpone(std::int64_t seconds) override;
    bool PostponeNotice(std::int64_t seconds) override;
    std::optional<command::Answer> Start(const command::Command& command) override;
    std::string Caption() override;
    std::string CountdownStatus() override;
    std::string ClockStatus() override;
    void PostRun() override;
    void Run(const command::Command& command) override;
    void Reply(command::Sender sender, const command::Answer& answer) override;

   private:
    TForm1& form_;
  };

  schedule::Countdown countdown_{schedule::SystemTimeBase(), *this};
  // The action of the notice shown, by the force it was asked with.
  schedule::Job noticeJob_;
  app::OperationClock clock_{*this, State, countdown_, schedule::SystemTimeBase()};
  bool openOptionsAtStart_ = false;
  CommandHost commandHost_{*this};
  command::Handoff handoff_{commandHost_, app::CommandVerbs()};

  void DesignClockPage();
  void DesignGeneralPage();
  void DesignProtectionPage();
  void DesignShortcutsPage();
  void DesignMessagesPage();
  void DesignMenu();
  void DesignTrayIcon();
};

extern TForm1* Form1;
// The protection password in plain text; empty for none.
extern std::string CurrentPassword;
// Act by force: follows the "Force Action" check box.
extern bool ForceFlag;
