// MCI media player.
#include "ui/MediaPlayer.h"

#include <windows.h>
#include <mmsystem.h>

#include "ui/Error.h"
#include "ui/Library.h"
#include "ui/Window.h"

namespace ui {

namespace {

// winmm is loaded at the first use of sound, not at start: under Wine it
// brings msacm32, ole32, combase and rpcrt4 with it (about 2.2 MB). A
// library that cannot be loaded fails the call that needed it.
struct Winmm {
  decltype(&mciSendCommandA) SendCommand = nullptr;
  decltype(&mciGetErrorStringA) GetErrorString = nullptr;
};

const Winmm* LoadWinmm() {
  static const Winmm winmm{LibraryFunction<decltype(&mciSendCommandA)>("winmm.dll", "mciSendCommandA"),
                           LibraryFunction<decltype(&mciGetErrorStringA)>("winmm.dll", "mciGetErrorStringA")};
  return winmm.SendCommand && winmm.GetErrorString ? &winmm : nullptr;
}

const Winmm& Mci() {
  if (const Winmm* winmm = LoadWinmm()) return *winmm;
  RaiseLastOSError();
}

void Check(MCIERROR error) {
  if (!error) return;
  char text[256] = {};
  if (!Mci().GetErrorString(error, text, sizeof text)) wsprintfA(text, "MCI error %lu", error);
  throw Error(text);
}

}  // namespace

// Only a device that was opened exists, so winmm is loaded by then.
void CloseMciDevice(unsigned device) {
  MCI_GENERIC_PARMS params{};
  LoadWinmm()->SendCommand(device, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&params));
}

void TMediaPlayer::Open() {
  device_.reset();
  MCI_OPEN_PARMSA params{};
  params.dwCallback = reinterpret_cast<DWORD_PTR>(Handle());
  params.lpstrElementName = fileName.c_str();
  Check(Mci().SendCommand(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&params)));
  device_.reset(params.wDeviceID);
}

void TMediaPlayer::Play() {
  if (!device_) return;
  MCI_PLAY_PARMS params{};
  params.dwCallback = reinterpret_cast<DWORD_PTR>(Handle());
  Mci().SendCommand(device_.get(), MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&params));
}

void TMediaPlayer::Stop() {
  if (!device_) throw Error("No MCI device open");
  MCI_GENERIC_PARMS params{};
  params.dwCallback = reinterpret_cast<DWORD_PTR>(Handle());
  Check(Mci().SendCommand(device_.get(), MCI_STOP, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&params)));
}

}  // namespace ui
