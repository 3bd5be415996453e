// Protection: the full-screen lock panel TForm4.
#pragma once
#include "ui/Form.h"

class TForm4 : public ui::TForm {
 public:
  using TForm::TForm;

 protected:
  const char* ClassName() const override { return "TForm4"; }
  void Design() override;
};

extern TForm4* Form4;
