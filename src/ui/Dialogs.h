// The file-open dialog.
#pragma once
#include <string>

#include "ui/Component.h"

namespace ui {

class TOpenDialog : public TComponent {
 public:
  using TComponent::TComponent;
  // "Wave File|*.wav|Mp3 File|*.mp3": description and pattern pairs.
  std::string filter;
  std::string fileName;
  // Runs the dialog; true with fileName set when the user chose a file.
  bool Execute();
};

}  // namespace ui
