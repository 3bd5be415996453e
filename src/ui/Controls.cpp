// Controls: creation, subclassing, reflection and each control's behaviour.
#include "ui/Controls.h"

#include <commctrl.h>

#include <cstring>
#include <map>

#include "ui/Application.h"
#include "ui/Error.h"
#include "ui/Form.h"
#include "ui/Keys.h"
#include "ui/Library.h"
#include "ui/Picture.h"
#include "ui/Scale.h"
#include "ui/Window.h"

namespace ui {

TControl::~TControl() {
  if (handle_) DestroyWindow(handle_);
}

TForm& TControl::Form() const {
  for (TComponent* c = Owner(); c; c = c->Owner())
    if (auto* form = dynamic_cast<TForm*>(c)) return *form;
  throw Error("control without a form");
}

namespace {
// Our controls by window, looked up for every message a control gets: kept
// here, where a window property would cost a round trip to Wine's server
// each time. Any other window, another program's included, is none.
std::map<HWND, TControl*>& Controls() {
  static std::map<HWND, TControl*> controls;
  return controls;
}
}  // namespace

TControl* TControl::FromHandle(HWND hwnd) {
  const auto it = Controls().find(hwnd);
  return it == Controls().end() ? nullptr : it->second;
}

// A control made at run time on a shown form needs its window at once.
void TControl::Loaded() {
  if (Form().Visible()) HandleNeeded();
}

HWND TControl::HandleNeeded() {
  if (handle_) return handle_;
  static int nextId = 100;  // clear of IDOK and IDCANCEL, which the dialog keys send
  const HWND parent = parent_.ClientHandle();
  LoadCommonControls();  // the hotkey and tab control classes, and the look of the others
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | Style() | (visible_ ? WS_VISIBLE : 0) |
                      (enabled_ ? 0 : WS_DISABLED) | (tabStop_ ? WS_TABSTOP : 0) | (group_ ? WS_GROUP : 0);
  const RECT r = PixelBounds();
  handle_ = CreateWindowExA(ExStyle(), WindowClass(), caption_.c_str(), style, r.left, r.top, r.right - r.left,
                            r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)),
                            GetModuleHandleA(nullptr), nullptr);
  if (!handle_) RaiseLastOSError();
  // Subclassed the classic way: the common controls' helpers for it would
  // load that library for every program start.
  Controls()[handle_] = this;
  classProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TControl::SubclassProc)));
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(Font(), Dpi())), FALSE);
  AdjustSize();
  HandleCreated();
  return handle_;
}

int TControl::Dpi() const { return Form().Dpi(); }

RECT TControl::PixelBounds() const {
  const int dpi = Dpi();
  const int left = Scaled(left_, dpi), top = Scaled(top_, dpi);
  return {left, top, left + Scaled(width_, dpi), top + Scaled(height_, dpi)};
}

void TControl::UpdateBounds() {
  if (!handle_) return;
  const RECT r = PixelBounds();
  MoveWindow(handle_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void TControl::DpiChanged() {
  if (!handle_) return;
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(Font(), Dpi())), TRUE);
  UpdateBounds();
  AdjustSize();
}

LRESULT CALLBACK TControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TControl* self = FromHandle(hwnd);
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    const WNDPROC classProc = self->classProc_;
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProc));
    Controls().erase(hwnd);
    self->handle_ = nullptr;
    return CallWindowProcA(classProc, hwnd, msg, wParam, lParam);
  }
  const bool outer = std::exchange(self->inOwnProc_, true);
  const LRESULT result = Guarded(LRESULT{0}, [&] { return self->ControlProc(msg, wParam, lParam); });
  if (FromHandle(hwnd) == self) self->inOwnProc_ = outer;
  return result;
}

LRESULT TControl::ControlProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefaultProc(msg, wParam, lParam);
}

LRESULT TControl::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(classProc_, handle_, msg, wParam, lParam);
}

bool TControl::Notified(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void TControl::SetBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  UpdateBounds();
}

// Sized before the text goes in, so that the text is painted in its new box.
void TControl::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  AdjustSize();
  if (handle_) SetWindowTextA(handle_, caption_.c_str());
}

void TControl::SetTabStop(bool tabStop) {
  tabStop_ = tabStop;
  if (handle_)
    SetWindowLongA(handle_, GWL_STYLE, (GetWindowLongA(handle_, GWL_STYLE) & ~WS_TABSTOP) | (tabStop ? WS_TABSTOP : 0));
}

void TControl::SetVisible(bool visible) {
  visible_ = visible;
  if (handle_) ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE);
}

void TControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (handle_) EnableWindow(handle_, enabled);
}

void TControl::SetFont(const TFont& font) {
  font_ = font;
  if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font, Dpi())), TRUE);
  AdjustSize();
}

const TFont& TControl::Font() const { return font_ ? *font_ : Form().Font(); }

void TControl::SetFocus() {
  if (handle_) ::SetFocus(handle_);
}

bool ReflectToControl(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, HBRUSH background,
                      LRESULT& result) {
  HWND child = nullptr;
  switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      child = reinterpret_cast<HWND>(lParam);
      break;
    case WM_NOTIFY:
      // The sender's control number, not the record lParam points to.
      child = GetDlgItem(window, static_cast<int>(wParam));
      break;
    case WM_DRAWITEM:
      child = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->CtlType == ODT_MENU
                  ? nullptr
                  : reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
      break;
    default:
      return false;
  }
  TControl* control = TControl::FromHandle(child);
  if (!control) return false;
  // A button's click that its button did not send: taken from the queue, or
  // sent by another thread or program. It clicks nothing.
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && !control->TakeOwnNotification()) {
    result = 0;
    return true;
  }
  if (control->Notified(msg, wParam, lParam, result)) return true;
  if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN) {
    const HDC dc = reinterpret_cast<HDC>(wParam);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ThemedRGB(control->Font().color, PaintRole::Text));
    result = reinterpret_cast<LRESULT>(background);
    return true;
  }
  return false;
}

void TLabel::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  AdjustSize();
}

// Measured once the label has its window: fonts are not touched at start.
void TLabel::AdjustSize() {
  if (!autoSize_ || !Handle()) return;
  SIZE size{};
  {
    const WindowDC screen(nullptr);
    SelectedObject font(screen.get(), FontHandle(Font(), Dpi()));
    const std::wstring caption = Wide(Caption());
    GetTextExtentPoint32W(screen.get(), caption.c_str(), static_cast<int>(caption.size()), &size);
  }
  if (measured_ && measured_->cx == size.cx && measured_->cy == size.cy) return;
  measured_ = size;
  UpdateBounds();
}

TLabel& ReaderLabel(TComponent& owner, TWinContainer& parent, const std::string& name, int x, int y,
                    const std::string& caption) {
  TLabel& label = owner.Make<TLabel>(name, parent);
  label.SetBounds(x, y, 0, 0);
  label.SetCaption(caption);
  return label;
}

RECT TLabel::PixelBounds() const {
  RECT r = TControl::PixelBounds();
  if (autoSize_ && measured_) {
    r.right = r.left + measured_->cx;
    r.bottom = r.top + measured_->cy;
  }
  return r;
}

void TButton::Click() {
  Fire(OnClick, *this);
  if (modalResult_) Form().SetModalResult(modalResult_);
}

bool TButton::Notified(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
  Click();
  result = 0;
  return true;
}

// Enter clicks the focused button, whichever it is; no button is the default.
bool TButton::PreTranslate(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_RETURN) return false;
  Click();
  return true;
}

void TCheckBox::HandleCreated() {
  SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (Handle()) SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!Loading()) Fire(OnClick, *this);
}

bool TCheckBox::Notified(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
  checked_ = SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  Fire(OnClick, *this);
  result = 0;
  return true;
}

void TRadioButton::SetChecked(bool checked) {
  if (checked)
    for (std::size_t i = 0; i < Owner()->ComponentCount(); ++i) {
      auto* other = dynamic_cast<TRadioButton*>(&Owner()->Component(i));
      if (other && other != this && &other->Parent() == &Parent() && other->Checked()) {
        other->TCheckBox::SetChecked(false);
        other->SetTabStop(false);
      }
    }
  SetTabStop(checked);
  TCheckBox::SetChecked(checked);
}

bool TRadioButton::Notified(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
  SetChecked(true);
  result = 0;
  return true;
}

std::string TEdit::Text() const {
  if (!Handle()) return text_;
  std::string text(GetWindowTextLengthA(Handle()) + 1, '\0');
  text.resize(GetWindowTextA(Handle(), text.data(), static_cast<int>(text.size())));
  return text;
}

void TEdit::SetText(const std::string& text) {
  text_ = text;
  if (Handle()) SetWindowTextA(Handle(), text.c_str());
}

bool TEdit::Notified(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  if (msg != WM_COMMAND || HIWORD(wParam) != EN_CHANGE) return false;
  Fire(OnChange, *this);
  result = 0;
  return true;
}

void TEdit::HandleCreated() {
  if (passwordChar_) SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<BYTE>(passwordChar_), 0);
  if (maxLength_) SendMessageA(Handle(), EM_LIMITTEXT, maxLength_, 0);
  SetWindowTextA(Handle(), text_.c_str());
}

LRESULT TEdit::ControlProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CHAR: {
      char key = static_cast<char>(wParam);
      Fire(OnKeyPress, *this, key);
      if (key) CharTyped(key, wParam, lParam);
      return 0;
    }
    case WM_GETDLGCODE: {
      // Enter and Esc deliver characters to the key handler, as in an edit
      // of a window with no default or cancel button; Tab stays a dialog key.
      LRESULT code = DefaultProc(msg, wParam, lParam);
      const auto* m = reinterpret_cast<const MSG*>(lParam);
      if (m && m->message == WM_KEYDOWN && (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
        code |= DLGC_WANTMESSAGE;
      return code;
    }
    default:
      return TControl::ControlProc(msg, wParam, lParam);
  }
}

void TEdit::CharTyped(char key, WPARAM, LPARAM lParam) {
  if (key != '\r' && key != '\x1b') DefaultProc(WM_CHAR, static_cast<BYTE>(key), lParam);
}

void TMaskEdit::SetEditMask(const std::string& mask) {
  mask_.emplace(mask);
  SetMaxLength(static_cast<int>(mask_->Length()));
}

std::string TMaskEdit::Text() const { return mask_ ? mask_->Text() : TEdit::Text(); }

void TMaskEdit::SetText(const std::string& text) {
  if (!mask_) return TEdit::SetText(text);
  mask_->SetText(text);
  Show();
}

void TMaskEdit::Show() {
  TEdit::SetText(mask_->DisplayText());
  if (Handle()) SendMessageA(Handle(), EM_SETSEL, mask_->Caret(), mask_->Caret());
}

void TMaskEdit::TakeSelection() {
  DWORD start = 0, end = 0;
  if (Handle()) SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  mask_->Select(start, end);
}

void TMaskEdit::CharTyped(char key, WPARAM wParam, LPARAM lParam) {
  if (!mask_) return TEdit::CharTyped(key, wParam, lParam);
  TakeSelection();
  if (key == '\b')
    mask_->Backspace();
  else if (static_cast<unsigned char>(key) >= 32 && !mask_->Type(key))
    MessageBeep(MB_OK);
  Show();
}

LRESULT TMaskEdit::ControlProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (mask_) {
    if ((msg == WM_KEYDOWN && wParam == VK_DELETE) || msg == WM_CLEAR || msg == WM_CUT) {
      if (msg == WM_CUT) DefaultProc(WM_COPY, 0, 0);
      TakeSelection();
      mask_->Delete();
      Show();
      return 0;
    }
    if (msg == WM_PASTE) {
      std::string pasted;
      if (OpenClipboard(Handle())) {
        if (const HANDLE data = GetClipboardData(CF_TEXT))
          if (const auto* text = static_cast<const char*>(GlobalLock(data))) {
            // Another program may have put text there without its NUL.
            pasted.assign(text, strnlen(text, GlobalSize(data)));
            GlobalUnlock(data);
          }
        CloseClipboard();
      }
      TakeSelection();
      for (char c : pasted) mask_->Type(c);
      Show();
      return 0;
    }
  }
  return TEdit::ControlProc(msg, wParam, lParam);
}

unsigned THotKey::HotKey() const {
  if (!Handle()) return hotKey_;
  const auto value = static_cast<unsigned>(SendMessageA(Handle(), HKM_GETHOTKEY, 0, 0));
  const unsigned mods = HIBYTE(LOWORD(value));
  return LOBYTE(value) | (mods & HOTKEYF_SHIFT ? 0x2000u : 0) | (mods & HOTKEYF_CONTROL ? 0x4000u : 0) |
         (mods & HOTKEYF_ALT ? 0x8000u : 0);
}

void THotKey::SetHotKey(unsigned word) {
  hotKey_ = word & 0xE0FF;
  if (!Handle()) return;
  const unsigned vk = hotKey_ & 0xFF;
  const BYTE mods = (hotKey_ & 0x2000 ? HOTKEYF_SHIFT : 0) | (hotKey_ & 0x4000 ? HOTKEYF_CONTROL : 0) |
                    (hotKey_ & 0x8000 ? HOTKEYF_ALT : 0) | (IsExtendedNavigationKey(vk) ? HOTKEYF_EXT : 0);
  SendMessageA(Handle(), HKM_SETHOTKEY, MAKEWORD(vk, mods), 0);
}

void THotKey::HandleCreated() {
  SendMessageA(Handle(), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_ALT, 0));
  SetHotKey(hotKey_);
}

void TComboBox::SetItems(std::vector<std::string> items, int itemIndex) {
  items_ = std::move(items);
  itemIndex_ = itemIndex;
  if (Handle()) HandleCreated();
}

int TComboBox::ItemIndex() const {
  return Handle() ? static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0)) : itemIndex_;
}

void TComboBox::SetItemIndex(int itemIndex) {
  itemIndex_ = itemIndex;
  if (Handle()) SendMessageA(Handle(), CB_SETCURSEL, itemIndex, 0);
}

bool TComboBox::Notified(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  if (msg != WM_COMMAND || HIWORD(wParam) != CBN_SELCHANGE) return false;
  Fire(OnChange, *this);
  result = 0;
  return true;
}

void TComboBox::HandleCreated() {
  SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
  for (const auto& item : items_) SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageA(Handle(), CB_SETCURSEL, itemIndex_, 0);
}

void TImage::SetPicture(int resourceId) {
  pictureId_ = resourceId;
  master_.reset();
  Repaint();
}

void TImage::SetPainter(Painter painter) {
  painter_ = painter;
  Repaint();
}

void TImage::Repaint() {
  picture_.reset();
  if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

SIZE TImage::PictureSize() const {
  if (painter_) return {Bounds().right - Bounds().left, Bounds().bottom - Bounds().top};
  if (!master_ && pictureId_) master_ = LoadPicture(pictureId_);
  BITMAP bm{};
  if (master_) GetObjectA(master_.get(), sizeof bm, &bm);
  return {bm.bmWidth / 2, bm.bmHeight / 2};
}

RECT TImage::PixelBounds() const {
  RECT r = TControl::PixelBounds();
  if (autoSize_) {
    const SIZE size = PictureSize();
    r.right = r.left + Scaled(size.cx, Dpi());
    r.bottom = r.top + Scaled(size.cy, Dpi());
  }
  return r;
}

HBITMAP TImage::Picture(SIZE size) const {
  if (picture_ && pictureSize_.cx == size.cx && pictureSize_.cy == size.cy) return picture_.get();
  pictureSize_ = size;
  if (painter_) {
    picture_ = PaintedPicture(painter_, size.cx, size.cy);
  } else {
    PictureSize();  // loads the master
    picture_ = master_ ? ScaledPicture(master_.get(), size.cx, size.cy) : unique_hbitmap();
  }
  return picture_.get();
}

SIZE TImage::DrawnSize(int width, int height) const {
  if (fit_ == TImageFit::Stretch || painter_) return {width, height};
  const SIZE design = PictureSize();
  return {Scaled(design.cx, Dpi()), Scaled(design.cy, Dpi())};
}

void TImage::HandleCreated() {
  RECT r;
  GetClientRect(Handle(), &r);
  if (const SIZE size = DrawnSize(r.right, r.bottom); size.cx > 0 && size.cy > 0) Picture(size);
}

bool TImage::Notified(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
  if (msg != WM_DRAWITEM) return false;
  const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  FillRect(draw->hDC, &draw->rcItem, Parent().Background());
  const int w = draw->rcItem.right - draw->rcItem.left, h = draw->rcItem.bottom - draw->rcItem.top;
  const SIZE size = DrawnSize(w, h);
  if (size.cx > 0 && size.cy > 0)
    if (const HBITMAP picture = Picture(size)) DrawPicture(draw->hDC, (w - size.cx) / 2, (h - size.cy) / 2, picture);
  result = TRUE;
  return true;
}

}  // namespace ui
