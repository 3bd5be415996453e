// The notice's host: what the pre-operation notice reads and drives lives in
// the main window (the Messages page, the media player, the clock timer) and
// in the notice window Form2.
#pragma once
#include "power/Notice.h"

class MainNoticeHost : public power::NoticeHost {
 public:
  void SetClockTimer(bool enabled) override;
  bool PlaySoundChecked() override;
  std::string SoundFileName() override;
  void OpenPlayer(const std::string& fileName) override;
  void StartPlaying() override;
  bool ShowMessageChecked() override;
  std::string MessageTime() override;
  bool NoticeShown() override;
  void StartCountdown() override;
  int ShowNoticeModal() override;
};

// Connects the windows to each other and to the notice, once all four exist.
void ConnectWindows();
