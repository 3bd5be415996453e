// about: the About window TForm3.
#pragma once
#include "ui/Form.h"

class TForm3 : public ui::TForm {
 public:
  using TForm::TForm;

 protected:
  const char* ClassName() const override { return "TForm3"; }
  void Design() override;
};

extern TForm3* Form3;
