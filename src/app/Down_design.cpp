// The main window's design: pages, controls, companions, menu items and tray icon.
#include <cstdint>
#include <string>

#include "app/Down.h"
#include "art/Artwork.h"
#include "hotkeys/HotKeyManager.h"
#include "resource.h"

namespace {

// The design helpers: each makes one named control with its geometry.
template <typename T>
T* Put(ui::TForm& form, ui::TWinContainer& parent, const char* name, int x, int y, int w, int h,
       const std::string& caption = {}) {
  T& control = form.Make<T>(name, parent);
  control.SetBounds(x, y, w, h);
  if (!caption.empty()) control.SetCaption(caption);
  return &control;
}

ui::TLabel* Label(ui::TForm& form, ui::TWinContainer& parent, const char* name, int x, int y,
                  const char* caption) {
  auto* label = Put<ui::TLabel>(form, parent, name, x, y, 0, 0, caption);
  label->SetAutoSize(true);
  return label;
}

void PageIcon(ui::TForm& form, ui::TTabSheet& sheet, const char* name, int resourceId) {
  Put<ui::TImage>(form, sheet, name, 8, 8, 32, 32)->SetPicture(resourceId);
}

ui::TFont ClockFont() {
  ui::TFont font;
  font.name = "Digital Readout Upright";
  font.fallback = "Tahoma";
  font.height = -16;
  font.style = ui::fsBold;
  return font;
}

constexpr unsigned kAltA = 32833;

}  // namespace

void TForm1::Design() {
  SetCaption("Dormix");
  SetBorderStyle(ui::TBorderStyle::bsSingle);
  SetBounds(429, 166, 449, 311);
  SetColor(ui::clBtnHighlight);
  OnCreate = ui::Bind(this, &TForm1::FormCreate);
  OnDestroy = ui::Bind(this, &TForm1::FormDestroy);
  OnHide = ui::Bind(this, &TForm1::FormHide);
  OnClose = ui::Bind(this, &TForm1::FormClose);

  Image1 = Put<ui::TImage>(*this, *this, "Image1", 0, 0, 449, 73);
  Image1->SetPainter(&art::Banner);
  PageControl1 = Put<ui::TPageControl>(*this, *this, "PageControl1", 0, 72, 449, 201);
  TabSheet4 = &Make<ui::TTabSheet>("TabSheet4", *PageControl1);
  TabSheet4->SetCaption("Operation Clock");
  TabSheet1 = &Make<ui::TTabSheet>("TabSheet1", *PageControl1);
  TabSheet1->SetCaption("General");
  TabSheet2 = &Make<ui::TTabSheet>("TabSheet2", *PageControl1);
  TabSheet2->SetCaption("Protection");
  TabSheet3 = &Make<ui::TTabSheet>("TabSheet3", *PageControl1);
  TabSheet3->SetCaption("Shortcuts");
  TabSheet5 = &Make<ui::TTabSheet>("TabSheet5", *PageControl1);
  TabSheet5->SetCaption("Messages");
  PageControl1->SetActivePage(*TabSheet4);
  DesignClockPage();
  DesignGeneralPage();
  DesignProtectionPage();
  DesignShortcutsPage();
  DesignMessagesPage();

  BitBtn1 = Put<ui::TBitBtn>(*this, *this, "BitBtn1", 272, 280, 81, 25, "Ok");
  BitBtn2 = Put<ui::TBitBtn>(*this, *this, "BitBtn2", 360, 280, 83, 25, "Cancel");
  // Two lines beside the buttons, wrapped by the label.
  Label19 = Put<ui::TLabel>(*this, *this, "Label19", 8, 279, 250, 28, "Some settings are managed by your administrator.");
  Label19->SetVisible(false);
  BitBtn1->OnClick = ui::Bind(this, &TForm1::BitBtn1Click);
  BitBtn2->OnClick = ui::Bind(this, &TForm1::BitBtn2Click);

  Timer1 = &Make<ui::TTimer>("Timer1");
  Timer1->OnTimer = ui::Bind(this, &TForm1::Timer1Timer);
  Timer2 = &Make<ui::TTimer>("Timer2");
  Timer2->SetEnabled(false);
  Timer2->OnTimer = ui::Bind(this, &TForm1::Timer2Timer);
  Timer3 = &Make<ui::TTimer>("Timer3");
  Timer3->SetEnabled(false);
  Timer3->OnTimer = ui::Bind(this, &TForm1::Timer3Timer);
  // Ticks while a one-off countdown is pending.
  CountdownTimer = &Make<ui::TTimer>("CountdownTimer");
  CountdownTimer->SetEnabled(false);
  CountdownTimer->OnTimer = ui::Bind(this, &TForm1::CountdownTimerTimer);
  HotKeyManager1 = &Make<hotkeys::THotKeyManager>("HotKeyManager1");
  HotKeyManager1->OnHotKeyPressed = ui::Bind(this, &TForm1::HotKeyManager1HotKeyPressed);
  OpenDialog1 = &Make<ui::TOpenDialog>("OpenDialog1");
  OpenDialog1->filter = "Wave File|*.wav|Mp3 File|*.mp3";
  ImageList1 = &Make<ui::TImageList>("ImageList1", 16, 16);
  ImageList1->LoadStrip(IDB_MENU_GLYPHS, RGB(255, 0, 255));
  ImageList2 = &Make<ui::TImageList>("ImageList2", 16, 16);
  ImageList2->AddIcon(IDI_TRAY_ENABLED);
  ImageList2->AddIcon(IDI_TRAY_DISABLED);
  DesignMenu();
  DesignTrayIcon();
}

void TForm1::DesignClockPage() {
  ui::TTabSheet& page = *TabSheet4;
  PageIcon(*this, page, "Image2", IDB_PAGE_CLOCK);
  Label3 = Label(*this, page, "Label3", 64, 24, "Now:");
  Label1 = Label(*this, page, "Label1", 136, 21, "Label1");
  Label1->SetFont(ClockFont());
  Label4 = Label(*this, page, "Label4", 64, 62, "Op. Time:");
  MaskEdit1 = Put<ui::TMaskEdit>(*this, page, "MaskEdit1", 136, 57, 65, 25);
  MaskEdit1->SetFont(ClockFont());
  MaskEdit1->SetEditMask("!90:00;1;_");
  MaskEdit1->SetText("  :  ");
  Label5 = Label(*this, page, "Label5", 64, 100, "Enabled:");
  Label2 = Label(*this, page, "Label2", 136, 100, "False");
  DaysButton = Put<ui::TButton>(*this, page, "DaysButton", 216, 57, 75, 25, "Days...");
  DaysButton->OnClick = ui::Bind(this, &TForm1::DaysButtonClick);
  ComboBox1 = Put<ui::TComboBox>(*this, page, "ComboBox1", 216, 57, 97, 100);
  ComboBox1->SetItems({"Daily"}, 0);
  ComboBox1->SetVisible(false);
}

void TForm1::DesignGeneralPage() {
  ui::TTabSheet& page = *TabSheet1;
  PageIcon(*this, page, "Image3", IDB_PAGE_GENERAL);
  RadioGroup1 = Put<ui::TGroupBox>(*this, page, "RadioGroup1", 48, 4, 177, 165, "Action");
  ui::TRadioButton** radios[] = {&RadioButton1, &RadioButton2, &RadioButton3, &RadioButton4,
                                 &RadioButton5, &RadioButton6, &RadioButton7};
  for (int code = 1; code <= 7; ++code) {
    const std::string name = "RadioButton" + std::to_string(code);
    ui::TRadioButton* radio = Put<ui::TRadioButton>(*this, *RadioGroup1, name.c_str(), 12, code * 20 - 2, 150, 17,
                                                    app::ActionOfCode(code)->caption);
    radio->OnClick = ui::Bind(this, &TForm1::RadioButtonClick);
    *radios[code - 1] = RadioButtons[code - 1] = radio;
  }
  RadioButton1->SetChecked(true);
  CheckBox2 = Put<ui::TCheckBox>(*this, page, "CheckBox2", 240, 14, 180, 17, "Remember Form Position");
  CheckBox3 = Put<ui::TCheckBox>(*this, page, "CheckBox3", 240, 38, 180, 17, "Autostart");
  CheckBox1 = Put<ui::TCheckBox>(*this, page, "CheckBox1", 240, 146, 180, 17, "Force Action");
  CheckBox1->OnClick = ui::Bind(this, &TForm1::CheckBox1Click);
  CheckBox2->OnClick = ui::Bind(this, &TForm1::CheckBox2Click);
}

void TForm1::DesignProtectionPage() {
  ui::TTabSheet& page = *TabSheet2;
  PageIcon(*this, page, "Image4", IDB_PAGE_PROTECTION);
  const char* captions[] = {"Old Password:", "New Passsword:", "Re-enter Password:"};
  ui::TMaskEdit** edits[] = {&MaskEdit2, &MaskEdit3, &MaskEdit4};
  for (int i = 0; i < 3; ++i) {
    const std::string label = "Label" + std::to_string(6 + i), edit = "MaskEdit" + std::to_string(2 + i);
    Label(*this, page, label.c_str(), 64, 28 + i * 36, captions[i]);
    *edits[i] = Put<ui::TMaskEdit>(*this, page, edit.c_str(), 192, 24 + i * 36, 161, 21);
    (*edits[i])->SetPasswordChar('*');
  }
}

void TForm1::DesignShortcutsPage() {
  ui::TTabSheet& page = *TabSheet3;
  PageIcon(*this, page, "Image5", IDB_PAGE_SHORTCUTS);
  ui::THotKey** keys[] = {&HotKey1, &HotKey2, &HotKey3, &HotKey4, &HotKey5, &HotKey6, &HotKey7, &HotKey8};
  for (int i = 0; i < app::kActionCount; ++i) {
    const int column = i / 4, row = i % 4;
    const std::string label = "Label" + std::to_string(9 + i), key = "HotKey" + std::to_string(i + 1);
    Label(*this, page, label.c_str(), 48 + column * 184, 20 + row * 36, app::Actions[i].shortcutLabel);
    *keys[i] = HotKeys[i] = Put<ui::THotKey>(*this, page, key.c_str(), 124 + column * 228, 16 + row * 36,
                                             column ? 84 : 96, 21);
    HotKeys[i]->SetHotKey(kAltA);
  }
}

void TForm1::DesignMessagesPage() {
  ui::TTabSheet& page = *TabSheet5;
  PageIcon(*this, page, "Image6", IDB_PAGE_MESSAGES);
  CheckBox4 = Put<ui::TCheckBox>(*this, page, "CheckBox4", 56, 16, 220, 17,
                                 "Show message before operation:");
  Label17 = Label(*this, page, "Label17", 74, 46, "Show message:");
  Edit1 = Put<ui::TEdit>(*this, page, "Edit1", 168, 42, 41, 21);
  Edit1->SetNumbersOnly(true);
  Label18 = Label(*this, page, "Label18", 216, 46, "sec");
  CheckBox5 = Put<ui::TCheckBox>(*this, page, "CheckBox5", 56, 80, 120, 17, "Play Sound");
  ui::ReaderLabel(*this, page, "Label20", 74, 104, "Sound file:");
  Edit2 = Put<ui::TEdit>(*this, page, "Edit2", 74, 104, 273, 21);
  Button1 = Put<ui::TButton>(*this, page, "Button1", 354, 102, 75, 25, "Browse");
  Button1->OnClick = ui::Bind(this, &TForm1::Button1Click);
  MediaPlayer1 = &Make<ui::TMediaPlayer>("MediaPlayer1");
}

void TForm1::DesignMenu() {
  BarPopupMenu1 = &Make<menu::TBarPopupMenu>("BarPopupMenu1");
  BarPopupMenu1->images = ImageList1;
  BarPopupMenu1->BarWidth = 20;
  BarPopupMenu1->BitmapVertAlignment = menu::bvaMiddle;
  BarPopupMenu1->GradientEnd = ui::clSkyBlue;
  BarPopupMenu1->VerticalFont = {
      .Name = "Tahoma", .Height = -16, .Color = ui::clWhite, .Bold = true, .Italic = true};
  BarPopupMenu1->VerticalText = "Dormix";
  BarPopupMenu1->VerticalTextOffsetY = -15;
  popupMenu = BarPopupMenu1;
  const struct {
    ui::TMenuItem** item;
    const char* name;
    const char* caption;
    int image;
    unsigned command;
    void (TForm1::*click)(ui::TComponent&);
  } items[] = {
      {&Main1, "Main1", "Main", 0, app::kMainCommand, &TForm1::Main1Click},
      {&StopSystem1, "StopSystem1", "Disable ShutDown Clock", 17, app::kClockCommand, &TForm1::StopSystem1Click},
      {&Exit1, "Exit1", "Exit", 5, app::kExitCommand, &TForm1::Exit1Click},
      {&Help1, "Help1", "Help", 21, app::kHelpCommand, nullptr},
      {&About1, "About1", "About ...", 3, app::kAboutCommand, &TForm1::About1Click},
  };
  auto add = [this](const char* name, const char* caption, int image, unsigned command) {
    ui::TMenuItem& item = Make<ui::TMenuItem>(name, *BarPopupMenu1);
    item.caption = caption;
    item.imageIndex = image;
    item.SetCommand(command);
    return &item;
  };
  // Above the others, shown only while a one-off countdown is pending.
  CancelCountdown1 = add("CancelCountdown1", "", 15, app::kCancelCountdownCommand);
  CancelCountdown1->visible = false;
  CancelCountdown1->OnClick = ui::Bind(this, &TForm1::CancelCountdown1Click);
  PostponeCountdown1 = add("PostponeCountdown1", "Postpone 10 min", 17, app::kPostponeCountdownCommand);
  PostponeCountdown1->visible = false;
  PostponeCountdown1->OnClick = ui::Bind(this, &TForm1::PostponeCountdown1Click);
  for (const auto& d : items) {
    *d.item = add(d.name, d.caption, d.image, d.command);
    if (d.click) (*d.item)->OnClick = ui::Bind(this, d.click);
  }
  ui::TMenuItem** actionItems[] = {&ShutDown1, &LogOff1,          &Hibernate1,   &StandBy1,
                                   &Restart1,  &ShutDownMonitor1, &ScreenSaver1, &ProtectionPanel1};
  for (int i = 0; i < app::kActionCount; ++i) {
    const app::Action& action = app::Actions[i];
    ui::TMenuItem* item = add(action.menuItem, action.caption, action.glyph, action.command);
    item->shortCut = hotkeys::TextToHotKey(action.defaultShortcut, true) & 0xFFFF;
    item->OnClick = [this, i](ui::TComponent&) { ActionClick(i); };
    *actionItems[i] = ActionItems[i] = item;
  }
  // Last in the menu, after the thirteen items before it, which keep their order.
  Countdown1 = add("Countdown1", "Countdown...", -1, app::kCountdownCommand);
  Countdown1->OnClick = ui::Bind(this, &TForm1::Countdown1Click);
  StopSystem1->autoCheck = true;
  Help1->visible = false;
}

void TForm1::DesignTrayIcon() {
  TarvelTrayIcon1 = &Make<tray::TTarvelTrayIcon>("TarvelTrayIcon1", tray::Win32TrayPlatform());
  TarvelTrayIcon1->SetActive(false);
  TarvelTrayIcon1->SetIcon(static_cast<tray::IconHandle>(reinterpret_cast<std::uintptr_t>(ui::ProgramIcon(GetSystemMetrics(SM_CXSMICON)))));
  TarvelTrayIcon1->SetImageList(ImageList2);
  TarvelTrayIcon1->SetPopUpMenu(BarPopupMenu1);
  TarvelTrayIcon1->SetSingleTask(true);
}
