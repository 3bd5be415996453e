// Protection: the lock panel's close gate and password field.
#include "protection/Protection.h"

#include <algorithm>

#include "art/Artwork.h"
#include "ui/Scale.h"

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

  // The field's name for screen readers, just before it in z-order; of no
  // size, since the banner says it.
  Label1 = &Make<ui::TLabel>("Label1", *this);
  Label1->SetBounds(496, 368, 0, 0);
  Label1->SetCaption("Password:");
  // The field lies over the banner, so it is made first: it stays on top.
  MaskEdit1 = &Make<ui::TMaskEdit>("MaskEdit1", *this);
  MaskEdit1->SetBounds(496, 368, 121, 21);
  MaskEdit1->SetPasswordChar('*');
  MaskEdit1->OnKeyPress = ui::Bind(this, &TForm4::MaskEdit1KeyPress);
  Image3 = &Make<ui::TImage>("Image3", *this);
  Image3->SetBounds(296, 347, 450, 70);
  Image3->SetAutoSize(true);
  Image3->SetPainter(&art::PanelBanner);
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
  PlaceBanner();
  Show();
}

void TForm4::PlaceBanner() {
  constexpr int kLeft = 296, kTop = 347, kWidth = 450, kHeight = 70;
  // The monitor it covers once maximised, in design units.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoA(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& screen = monitor.rcMonitor;
  const int width = (screen.right - screen.left) * ui::kDesignDpi / Dpi();
  const int height = (screen.bottom - screen.top) * ui::kDesignDpi / Dpi();
  const int left = std::max(0, std::min(kLeft, width - kWidth)), top = std::max(0, std::min(kTop, height - kHeight));
  Image3->SetBounds(left, top, kWidth, kHeight);
  MaskEdit1->SetBounds(left + 200, top + 21, 121, 21);
  Label1->SetBounds(left + 200, top + 21, 0, 0);
}
