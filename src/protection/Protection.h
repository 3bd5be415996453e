// Protection: the full-screen lock panel TForm4, which closes only when its
// field holds the user's password.
#pragma once
#include <functional>
#include <string>

#include "ui/Controls.h"
#include "ui/Form.h"

namespace protection {
// The panel may close. Set by the field's key handler when the field holds
// the password; cleared by that handler otherwise, and by every new showing.
extern bool CloseAllowed;
}  // namespace protection

class TForm4 : public ui::TForm {
 public:
  using TForm::TForm;

  void FormCloseQuery(ui::TComponent& sender, bool& canClose);
  void MaskEdit1KeyPress(ui::TComponent& sender, char& key);
  // Locks the panel with its field empty, makes it the active window and
  // shows it; returns at once.
  void ShowPanel();

  ui::TImage* Image3;
  ui::TLabel* Label1;
  ui::TMaskEdit* MaskEdit1;
  // The password in plain text, empty for none; set by the program.
  std::function<std::string()> currentPassword;

 protected:
  const char* ClassName() const override { return "TForm4"; }
  void Design() override;

 private:
  // The banner and its field at their design place, moved left and up as
  // far as a screen too small for it at this dpi needs.
  void PlaceBanner();
};

extern TForm4* Form4;
