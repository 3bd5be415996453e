// about: the About window.
#include "app/about.h"

#include "art/Artwork.h"

TForm3* Form3 = nullptr;

void TForm3::Design() {
  SetCaption("About...");
  SetBorderStyle(ui::TBorderStyle::bsDialog);
  SetStayOnTop(true);
  SetColor(ui::clWhite);
  SetBounds(CW_USEDEFAULT, CW_USEDEFAULT, 415, 160);

  Image1 = &Make<ui::TImage>("Image1", *this);
  Image1->SetBounds(8, 8, 401, 105);
  Image1->SetPainter(&art::AboutPicture);
  StaticText1 = &Make<ui::TStaticText>("StaticText1", *this);
  StaticText1->SetBounds(8, 112, 0, 0);
  StaticText1->SetAutoSize(true);
  StaticText1->SetCaption("Dormix v.1.1");
  ui::TFont bold;
  bold.height = -13;
  bold.style = ui::fsBold;
  StaticText1->SetFont(bold);
  BitBtn1 = &Make<ui::TBitBtn>("BitBtn1", *this);
  BitBtn1->SetBounds(336, 128, 75, 25);
  BitBtn1->SetCaption("Ok");
  BitBtn1->OnClick = ui::Bind(this, &TForm3::BitBtn1Click);
}

void TForm3::BitBtn1Click(ui::TComponent&) { Close(); }
