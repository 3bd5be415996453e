// Group frames and page controls.
#include "ui/Containers.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/Form.h"
#include "ui/Scale.h"

namespace ui {

const char* TContainerControl::WindowClass() const {
  static const char* name = [] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "TWinControl";
    RegisterClassExA(&wc);
    return "TWinControl";
  }();
  return name;
}

LRESULT TContainerControl::ControlProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (ReflectToControl(Handle(), msg, wParam, lParam, Background(), result)) return result;
  if (msg == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(Handle(), &r);
    FillRect(reinterpret_cast<HDC>(wParam), &r, Background());
    return 1;
  }
  return TControl::ControlProc(msg, wParam, lParam);
}

LRESULT TGroupBox::ControlProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_PAINT) return TContainerControl::ControlProc(msg, wParam, lParam);
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(Handle(), &ps);
  RECT r;
  GetClientRect(Handle(), &r);
  SelectedObject font(dc, FontHandle(Font(), Dpi()));
  SIZE text{};
  const std::wstring caption = Wide(Caption());
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
  RECT frame = r;
  frame.top = text.cy / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  const int indent = Scaled(8, Dpi()), gap = Scaled(2, Dpi());
  RECT label{indent, 0, indent + text.cx + 2 * gap, text.cy};
  FillRect(dc, &label, Background());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ThemedRGB(Font().color, PaintRole::Text));
  TextOutW(dc, indent + gap, 0, caption.c_str(), static_cast<int>(caption.size()));
  EndPaint(Handle(), &ps);
  return 0;
}

TTabSheet::TTabSheet(TComponent* owner, TPageControl& pages)
    : TContainerControl(owner, pages), pages_(pages) {
  pages.pages_.push_back(this);
  SetVisible(false);
}

RECT TTabSheet::PixelBounds() const { return pages_.DisplayRect(); }

void TTabSheet::HandleCreated() {
  if (pages_.ActivePage() == this) pages_.SetActivePage(*this);
}

RECT TPageControl::DisplayRect() const {
  const RECT bounds = PixelBounds();
  RECT r{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
  if (Handle()) {
    GetClientRect(Handle(), &r);
    TabCtrl_AdjustRect(Handle(), FALSE, &r);
  }
  return r;
}

void TPageControl::HandleCreated() {
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(pages_[i]->Caption().c_str());
    SendMessageA(Handle(), TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
}

void TPageControl::SetActivePage(TTabSheet& page) {
  active_ = &page;
  if (!Handle()) return;
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    TTabSheet* sheet = pages_[i];
    if (sheet == &page) {
      TabCtrl_SetCurSel(Handle(), static_cast<int>(i));
      sheet->UpdateBounds();
    }
    sheet->SetVisible(sheet == &page);
  }
}

void TPageControl::SelectNextPage(bool forward) {
  if (pages_.empty() || !Handle()) return;
  const auto at = std::find(pages_.begin(), pages_.end(), active_);
  const std::size_t index = at == pages_.end() ? 0 : static_cast<std::size_t>(at - pages_.begin());
  const std::size_t count = pages_.size();
  SetActivePage(*pages_[(index + (forward ? 1 : count - 1)) % count]);
  if (!IsWindowVisible(GetFocus())) SetFocus();
}

// Any notification of the tab control shows the page of its selected tab:
// what the notification says is not read.
bool TPageControl::Notified(UINT msg, WPARAM, LPARAM, LRESULT& result) {
  if (msg != WM_NOTIFY) return false;
  const int index = TabCtrl_GetCurSel(Handle());
  if (index >= 0 && index < static_cast<int>(pages_.size()) && pages_[index] != active_)
    SetActivePage(*pages_[index]);
  result = 0;
  return true;
}

LRESULT TPageControl::ControlProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (ReflectToControl(Handle(), msg, wParam, lParam, Background(), result)) return result;
  return TControl::ControlProc(msg, wParam, lParam);
}

}  // namespace ui
