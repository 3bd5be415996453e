// An invisible media player: one MCI device opened on a file, played,
// stopped, and closed before the next open and at the end.
#pragma once
#include <string>

#include "ui/Component.h"
#include "ui/Handle.h"
#include "ui/Window.h"

namespace ui {

void CloseMciDevice(unsigned device);
using unique_mci_device = UniqueHandle<unsigned, &CloseMciDevice>;

class TMediaPlayer : public TComponent, private Window {
 public:
  explicit TMediaPlayer(TComponent* owner) : TComponent(owner) {}
  std::string fileName;
  // Closes an open device, then opens fileName with the device the file's
  // type calls for; fails with the MCI error text.
  void Open();
  // Starts playing and returns; a failure is not reported.
  void Play();
  // Stops, keeping the device open; fails with "No MCI device open" when
  // none is.
  void Stop();
  void Close() { device_.reset(); }
  bool IsOpen() const { return static_cast<bool>(device_); }

 private:
  unique_mci_device device_;
};

}  // namespace ui
