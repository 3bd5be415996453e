// about: the About window TForm3.
#pragma once
#include "ui/Controls.h"
#include "ui/Form.h"

class TForm3 : public ui::TForm {
 public:
  using TForm::TForm;
  void BitBtn1Click(ui::TComponent& sender);

  ui::TImage* Image1;
  ui::TStaticText* StaticText1;
  ui::TBitBtn* BitBtn1;

 protected:
  const char* ClassName() const override { return "TForm3"; }
  void Design() override;
};

extern TForm3* Form3;
