// Down: the main window TForm1, which is also the options window, with the
// popup menu shared with the tray icon.
#pragma once
#include <string>

#include "hotkeys/HotKeyManager_win32.h"
#include "menu/BarPopupMenu_win32.h"
#include "tray/TarvelTrayIcon.h"
#include "ui/Containers.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Form.h"
#include "ui/ImageList.h"
#include "ui/MediaPlayer.h"
#include "ui/Menus.h"
#include "ui/Timer.h"

class TForm1 : public ui::TForm {
 public:
  using TForm::TForm;

  void FormCreate(ui::TComponent& sender);
  void FormDestroy(ui::TComponent& sender);
  void FormHide(ui::TComponent& sender);
  void Exit1Click(ui::TComponent& sender);
  void CheckBox1Click(ui::TComponent& sender);
  void ShutDown1Click(ui::TComponent& sender);
  void LogOff1Click(ui::TComponent& sender);
  void Hibernate1Click(ui::TComponent& sender);
  void StandBy1Click(ui::TComponent& sender);
  void Restart1Click(ui::TComponent& sender);
  void ShutDownMonitor1Click(ui::TComponent& sender);
  void ScreenSaver1Click(ui::TComponent& sender);
  void ProtectionPanel1Click(ui::TComponent& sender);
  // Hides the whole application from the screen and the taskbar.
  void MyHide();

  ui::TImage* Image1;
  ui::TPageControl* PageControl1;
  ui::TTabSheet *TabSheet4, *TabSheet1, *TabSheet2, *TabSheet3, *TabSheet5;
  ui::TLabel *Label1, *Label2, *Label3, *Label4, *Label5;
  ui::TMaskEdit* MaskEdit1;
  ui::TComboBox* ComboBox1;
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

  ui::TTimer *Timer1, *Timer3;
  hotkeys::THotKeyManager* HotKeyManager1;
  ui::TOpenDialog* OpenDialog1;
  ui::TImageList *ImageList1, *ImageList2;
  menu::TBarPopupMenu* BarPopupMenu1;
  ui::TMenuItem *Main1, *StopSystem1, *Exit1, *Help1, *About1, *ShutDown1, *LogOff1, *Hibernate1,
      *StandBy1, *Restart1, *ShutDownMonitor1, *ScreenSaver1, *ProtectionPanel1;
  tray::TTarvelTrayIcon* TarvelTrayIcon1;

 protected:
  const char* ClassName() const override { return "TForm1"; }
  void Design() override;

 private:
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
