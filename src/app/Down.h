// Down: the main window TForm1, which is also the options window.
#pragma once
#include "ui/Form.h"

class TForm1 : public ui::TForm {
 public:
  using TForm::TForm;

  void FormCreate(ui::TComponent& sender);
  void FormDestroy(ui::TComponent& sender);
  void FormHide(ui::TComponent& sender);
  void Exit1Click(ui::TComponent& sender);
  // Hides the whole application from the screen and the taskbar.
  void MyHide();

 protected:
  const char* ClassName() const override { return "TForm1"; }
  void Design() override;
};

extern TForm1* Form1;
