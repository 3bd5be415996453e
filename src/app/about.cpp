// about: the About window.
#include "app/about.h"

TForm3* Form3 = nullptr;

void TForm3::Design() {
  SetCaption("About...");
  SetBorderStyle(ui::TBorderStyle::bsDialog);
  SetStayOnTop(true);
  SetColor(ui::clWhite);
  SetBounds(CW_USEDEFAULT, CW_USEDEFAULT, 415, 160);
}
