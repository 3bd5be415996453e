// Controls: child windows placed on a form, a tab sheet or a group frame.
// Each is a system control subclassed by the toolkit, or a small window of
// the toolkit's own; notifications sent to the parent are reflected to the
// control's object. A control's window is made when its form is first shown
// (or when something needs it), after its parent's: until then the object
// holds every property, and a window that is never shown costs nothing.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/Component.h"
#include "ui/EditMask.h"
#include "ui/Font.h"
#include "ui/Win32Handle.h"

namespace ui {

class TForm;

// Anything that holds controls: a form, a tab sheet, a group frame.
class TWinContainer {
 public:
  // The window the controls are placed on, made when first needed.
  virtual HWND ClientHandle() = 0;
  // Paints the container and the static-like controls on it.
  virtual HBRUSH Background() const = 0;

 protected:
  ~TWinContainer() = default;
};

class TControl : public TComponent {
 public:
  TControl(TComponent* owner, TWinContainer& parent) : TComponent(owner), parent_(parent) {}
  ~TControl() override;

  // The control's window; none until the form is first shown or something
  // asks for it with HandleNeeded.
  HWND Handle() const { return handle_; }
  // Makes the window (its parent's first) if there is none yet.
  HWND HandleNeeded();
  TForm& Form() const;

  // Bounds are design values, at 96 dpi; the window is laid out at its
  // form's dpi (PixelBounds).
  void SetBounds(int left, int top, int width, int height);
  RECT Bounds() const { return {left_, top_, left_ + width_, top_ + height_}; }
  // Where the window lies in its parent, in pixels at the form's dpi.
  virtual RECT PixelBounds() const;
  // Moves the window to PixelBounds.
  void UpdateBounds();
  int Dpi() const;
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  void SetTabStop(bool tabStop);
  // The first control of a group that the arrow keys move through, which
  // ends the group before it.
  void SetGroup(bool group) { group_ = group; }
  // A font of its own; otherwise the form's.
  void SetFont(const TFont& font);
  const TFont& Font() const;
  void SetFocus();

  Event<TComponent&> OnClick;

  // Reflected notification from the parent (WM_COMMAND, WM_NOTIFY,
  // WM_CTLCOLOR*, WM_DRAWITEM); true when handled. A WM_NOTIFY's lParam is
  // not to be read: Windows passes that message's pointer between programs
  // unchecked, so another program may send or post it with any address.
  virtual bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // A key message about to be dispatched while the control has the focus;
  // true when the control used it up.
  virtual bool PreTranslate(const MSG&) { return false; }
  // The control object of a window, if it is one of ours.
  static TControl* FromHandle(HWND hwnd);
  // True once for a notification the control's own window procedure sends
  // while it runs on this thread: what a real click or key sends, and no
  // message that another program posts or sends in its name.
  bool TakeOwnNotification() { return std::exchange(inOwnProc_, false); }

 protected:
  void Loaded() override;
  // The window class and styles the control is created with.
  virtual const char* WindowClass() const = 0;
  virtual DWORD Style() const { return 0; }
  virtual DWORD ExStyle() const { return 0; }
  // Runs once the window exists: push the recorded properties into it.
  virtual void HandleCreated() {}
  // Runs after every change of caption or font, and when the window is made.
  virtual void AdjustSize() {}
  // The form moved to another dpi: font, place and size again.
  virtual void DpiChanged();
  friend class TForm;
  virtual LRESULT ControlProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);
  TWinContainer& Parent() const { return parent_; }

 private:
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM);

  TWinContainer& parent_;
  HWND handle_ = nullptr;
  WNDPROC classProc_ = nullptr;
  std::string caption_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  bool tabStop_ = false;
  bool group_ = false;
  bool inOwnProc_ = false;
  std::optional<TFont> font_;
};

// Reflects a notification to `window` to the control of ours it is about;
// containers call it first in their window procedure. `background` paints
// static-like children that have no colour of their own.
bool ReflectToControl(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, HBRUSH background,
                      LRESULT& result);

class TLabel : public TControl {
 public:
  using TControl::TControl;
  // Sized to its text, on one line, whenever the text or the font changes.
  void SetAutoSize(bool autoSize);
  // Its wrapped lines break a word too long for one, as an edit's do.
  void SetBreakWords(bool breakWords) { breakWords_ = breakWords; }
  RECT PixelBounds() const override;

 protected:
  const char* WindowClass() const override { return "STATIC"; }
  DWORD Style() const override { return SS_LEFT | SS_NOPREFIX | (breakWords_ ? SS_EDITCONTROL : 0); }
  void AdjustSize() override;

 private:
  bool autoSize_ = false;
  bool breakWords_ = false;
  std::optional<SIZE> measured_;  // the text's extent, in pixels
};

// A field's name for screen readers where the design shows none: a label of
// no size made just before the field, so before it in z-order, which is
// where a reader looks.
TLabel& ReaderLabel(TComponent& owner, TWinContainer& parent, const std::string& name, int x, int y,
                    const std::string& caption);

// The About window's version line: a label by another name, kept so that the
// window holds the kinds of control its design names.
class TStaticText : public TLabel {
 public:
  using TLabel::TLabel;
};

class TButton : public TControl {
 public:
  TButton(TComponent* owner, TWinContainer& parent) : TControl(owner, parent) { SetTabStop(true); }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  // Clicks as a user would: OnClick, then the modal result goes to the form.
  void Click();
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool PreTranslate(const MSG& msg) override;

 protected:
  const char* WindowClass() const override { return "BUTTON"; }
  DWORD Style() const override { return BS_PUSHBUTTON; }

 private:
  int modalResult_ = 0;
};
using TBitBtn = TButton;

class TCheckBox : public TControl {
 public:
  TCheckBox(TComponent* owner, TWinContainer& parent) : TControl(owner, parent) { SetTabStop(true); }
  bool Checked() const { return checked_; }
  // A change of state runs OnClick, as a click would.
  void SetChecked(bool checked);
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 protected:
  const char* WindowClass() const override { return "BUTTON"; }
  DWORD Style() const override { return BS_AUTOCHECKBOX; }
  void HandleCreated() override;

 private:
  bool checked_ = false;
};

// Radio buttons sharing a parent form one group: checking one unchecks the
// rest. The checked one is the group's tab stop; the arrow keys move through
// the group when its first button starts one (SetGroup) and the next control
// after it starts another.
class TRadioButton : public TCheckBox {
 public:
  TRadioButton(TComponent* owner, TWinContainer& parent) : TCheckBox(owner, parent) { SetTabStop(false); }
  // Checking runs OnClick; the others of the group are unchecked quietly.
  void SetChecked(bool checked);
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 protected:
  // Automatic: the dialog manager's arrow keys check the one they reach.
  DWORD Style() const override { return BS_AUTORADIOBUTTON; }
};

class TEdit : public TControl {
 public:
  TEdit(TComponent* owner, TWinContainer& parent) : TControl(owner, parent) { SetTabStop(true); }
  std::string Text() const;
  void SetText(const std::string& text);
  void SetPasswordChar(char c) { passwordChar_ = c; }
  void SetMaxLength(int length) { maxLength_ = length; }
  // Typed characters other than digits are refused (a paste is not checked).
  void SetNumbersOnly(bool numbersOnly) { numbersOnly_ = numbersOnly; }
  // A character key on its way into the edit, before it takes effect; set
  // the key to 0 to swallow it.
  Event<TComponent&, char&> OnKeyPress;
  // The text changed, by the user or the program.
  Event<TComponent&> OnChange;
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 protected:
  const char* WindowClass() const override { return "EDIT"; }
  DWORD Style() const override {
    return ES_AUTOHSCROLL | (passwordChar_ ? ES_PASSWORD : 0) | (numbersOnly_ ? ES_NUMBER : 0);
  }
  DWORD ExStyle() const override { return WS_EX_CLIENTEDGE; }
  void HandleCreated() override;
  LRESULT ControlProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // The character after OnKeyPress; 0 when nothing remains to insert.
  virtual void CharTyped(char key, WPARAM wParam, LPARAM lParam);

 private:
  char passwordChar_ = 0;
  int maxLength_ = 0;
  bool numbersOnly_ = false;
  std::string text_;
};

// An edit whose text follows an edit mask; without a mask, a plain edit.
class TMaskEdit : public TEdit {
 public:
  using TEdit::TEdit;
  void SetEditMask(const std::string& mask);
  std::string Text() const;
  void SetText(const std::string& text);

 protected:
  LRESULT ControlProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void CharTyped(char key, WPARAM wParam, LPARAM lParam) override;

 private:
  void Show();
  void TakeSelection();
  std::optional<EditMask> mask_;
};

// Holds the low 16 bits of a Shortcut word: the virtual key in the low byte,
// Shift 0x2000, Ctrl 0x4000, Alt 0x8000. A key with no modifier or with
// Shift alone is recorded with Alt instead; Win cannot be held.
class THotKey : public TControl {
 public:
  THotKey(TComponent* owner, TWinContainer& parent) : TControl(owner, parent) { SetTabStop(true); }
  unsigned HotKey() const;
  void SetHotKey(unsigned word);

 protected:
  const char* WindowClass() const override { return "msctls_hotkey32"; }
  DWORD ExStyle() const override { return WS_EX_CLIENTEDGE; }
  void HandleCreated() override;

 private:
  unsigned hotKey_ = 0;
};

class TComboBox : public TControl {
 public:
  TComboBox(TComponent* owner, TWinContainer& parent) : TControl(owner, parent) { SetTabStop(true); }
  void SetItems(std::vector<std::string> items, int itemIndex);
  int ItemIndex() const;
  void SetItemIndex(int itemIndex);
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // The user picked another item.
  Event<TComponent&> OnChange;

 protected:
  const char* WindowClass() const override { return "COMBOBOX"; }
  DWORD Style() const override { return CBS_DROPDOWNLIST | WS_VSCROLL; }
  void HandleCreated() override;

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

enum class TImageFit { Center, Stretch };

// Draws a picture into `dc` at `width` x `height` pixels, from (0, 0).
using Painter = void (*)(HDC dc, int width, int height);

// A picture, centred or stretched in its box: one from the program's
// resources, kept at twice its design size and scaled down to the dpi, or
// one a painter draws at the size asked for. With AutoSize the box takes the
// picture's size. The picture is made when first drawn, at the size of that
// drawing, so a window never shown costs none.
class TImage : public TControl {
 public:
  using TControl::TControl;
  void SetPicture(int resourceId);
  void SetPainter(Painter painter);
  void SetFit(TImageFit fit) { fit_ = fit; }
  void SetAutoSize(bool autoSize) { autoSize_ = autoSize; }
  // The picture's design size (at 96 dpi); a painter's is the box.
  SIZE PictureSize() const;
  RECT PixelBounds() const override;
  // Draw again: the colours it is painted in have changed.
  void Repaint();

 protected:
  const char* WindowClass() const override { return "STATIC"; }
  DWORD Style() const override { return SS_OWNERDRAW; }
  // Makes the picture with the window: a window made ready ahead of its
  // first showing (the lock panel's) then shows as quickly as later.
  void HandleCreated() override;
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  // The picture's size in a box of `width` x `height` pixels.
  SIZE DrawnSize(int width, int height) const;
  HBITMAP Picture(SIZE size) const;
  int pictureId_ = 0;
  Painter painter_ = nullptr;
  mutable unique_hbitmap master_;   // the resource's, at twice the design size
  mutable unique_hbitmap picture_;  // at the size last drawn
  mutable SIZE pictureSize_{};
  TImageFit fit_ = TImageFit::Center;
  bool autoSize_ = false;
};

}  // namespace ui
