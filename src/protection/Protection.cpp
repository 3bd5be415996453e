// Protection: the lock panel.
#include "protection/Protection.h"

TForm4* Form4 = nullptr;

void TForm4::Design() {
  SetBorderStyle(ui::TBorderStyle::bsNone);
  SetStayOnTop(true);
  SetColor(ui::clBlack);
  SetWindowState(ui::TWindowState::wsMaximized);
  SetBounds(0, 0, 1024, 721);
}
