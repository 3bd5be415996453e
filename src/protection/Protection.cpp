// Protection: the lock panel's close gate and password field.
#include "protection/Protection.h"

#include "resource.h"

namespace protection {
bool CloseAllowed = false;
}

TForm4* Form4 = nullptr;

void TForm4::Design() {
  SetBorderStyle(ui::TBorderStyle::bsNone);
  SetStayOnTop(true);
  SetColor(ui::clBlack);
  SetWindowState(ui::TWindowState::wsMaximized);
  SetBounds(0, 0, 1024, 721);
  OnCloseQuery = ui::Bind(this, &TForm4::FormCloseQuery);

  // The field lies over the banner, so it is made first: it stays on top.
  MaskEdit1 = &Make<ui::TMaskEdit>("MaskEdit1", *this);
  MaskEdit1->SetBounds(496, 368, 121, 21);
  MaskEdit1->SetPasswordChar('*');
  MaskEdit1->OnKeyPress = ui::Bind(this, &TForm4::MaskEdit1KeyPress);
  Image3 = &Make<ui::TImage>("Image3", *this);
  Image3->SetBounds(296, 347, 450, 70);
  Image3->SetAutoSize(true);
  Image3->SetPicture(IDB_PANEL_BANNER);
}

void TForm4::FormCloseQuery(ui::TComponent&, bool& canClose) { canClose = protection::CloseAllowed; }

// Runs before the key takes effect: the field's text is the one from before
// the key, and the key itself still goes into the field afterwards.
void TForm4::MaskEdit1KeyPress(ui::TComponent&, char&) {
  if (MaskEdit1->Text() == (currentPassword ? currentPassword() : std::string())) {
    protection::CloseAllowed = true;
    Close();
  } else {
    protection::CloseAllowed = false;
  }
}

// Every showing locks anew: an earlier unlock left the gate open and the
// password in the field, and either would open the panel without it.
void TForm4::ShowPanel() {
  if (!Visible()) {
    protection::CloseAllowed = false;
    MaskEdit1->SetText("");
  }
  SetActiveWindow(Handle());
  Show();
}
