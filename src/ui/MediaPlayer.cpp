// MCI media player.
#include "ui/MediaPlayer.h"

#include <windows.h>
#include <mmsystem.h>

#include "ui/Error.h"

namespace ui {

namespace {
void Check(MCIERROR error) {
  if (!error) return;
  char text[256] = {};
  if (!mciGetErrorStringA(error, text, sizeof text)) wsprintfA(text, "MCI error %lu", error);
  throw Error(text);
}
}  // namespace

void CloseMciDevice(unsigned device) {
  MCI_GENERIC_PARMS params{};
  mciSendCommandA(device, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&params));
}

// The window that receives the play-completion notices.
void TMediaPlayer::Loaded() { CreateHandle("TMediaPlayerWindow", 0, 0, 0, 0, 0, 0, HWND_MESSAGE); }

void TMediaPlayer::Open() {
  device_.reset();
  MCI_OPEN_PARMSA params{};
  params.dwCallback = reinterpret_cast<DWORD_PTR>(Handle());
  params.lpstrElementName = fileName.c_str();
  Check(mciSendCommandA(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&params)));
  device_.reset(params.wDeviceID);
}

void TMediaPlayer::Play() {
  if (!device_) return;
  MCI_PLAY_PARMS params{};
  params.dwCallback = reinterpret_cast<DWORD_PTR>(Handle());
  mciSendCommandA(device_.get(), MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&params));
}

void TMediaPlayer::Stop() {
  if (!device_) throw Error("No MCI device open");
  MCI_GENERIC_PARMS params{};
  params.dwCallback = reinterpret_cast<DWORD_PTR>(Handle());
  Check(mciSendCommandA(device_.get(), MCI_STOP, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&params)));
}

}  // namespace ui
