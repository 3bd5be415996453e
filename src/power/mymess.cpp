// mymess: the pre-operation notice.
#include "power/mymess.h"

TForm2* Form2 = nullptr;

void TForm2::Design() {
  SetCaption("Operation form...");
  SetBorderStyle(ui::TBorderStyle::bsDialog);
  SetStayOnTop(true);
  SetColor(ui::clWhite);
  SetBounds(483, 201, 303, 68);
}
