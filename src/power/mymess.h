// mymess: the pre-operation notice TForm2, a countdown before a session ends.
#pragma once
#include "ui/Form.h"

class TForm2 : public ui::TForm {
 public:
  using TForm::TForm;

 protected:
  const char* ClassName() const override { return "TForm2"; }
  void Design() override;
};

extern TForm2* Form2;
