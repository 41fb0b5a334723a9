// The sound device over waveOut: each block's WAVEHDR lives in a movable global memory block and carries the
// block back to the done report in its user field.
#include "platform/win32/waveout_device.h"

#include <windows.h>
#include <mmsystem.h>

namespace {

SoundDoneFn g_done;

void CALLBACK WaveOutProc(HWAVEOUT, UINT message, DWORD_PTR, DWORD_PTR param1, DWORD_PTR) {
  if (message != WOM_DONE) return;
  g_done(reinterpret_cast<SoundBlock*>(reinterpret_cast<WAVEHDR*>(param1)->dwUser));
}

void FreeHeader(WAVEHDR* header) {
  HGLOBAL memory = GlobalHandle(header);
  GlobalUnlock(memory);
  GlobalFree(memory);
}

}  // namespace

uint32_t WaveOutDevice::DeviceCount() { return waveOutGetNumDevs(); }

bool WaveOutDevice::Open(uint32_t device, const SoundFormat& format, SoundDoneFn done) {
  WAVEFORMATEX wave{};
  wave.wFormatTag = format.formatTag;
  wave.nChannels = format.channels;
  wave.nSamplesPerSec = format.samplesPerSecond;
  wave.nAvgBytesPerSec = format.bytesPerSecond;
  wave.nBlockAlign = format.blockAlign;
  wave.wBitsPerSample = format.bitsPerSample;
  g_done = done;
  HWAVEOUT handle = nullptr;
  if (waveOutOpen(&handle, device, &wave, reinterpret_cast<DWORD_PTR>(WaveOutProc), 0, CALLBACK_FUNCTION) !=
      MMSYSERR_NOERROR)
    return false;
  handle_ = handle;
  return true;
}

void WaveOutDevice::Reset() { waveOutReset(static_cast<HWAVEOUT>(handle_)); }

void WaveOutDevice::Close() {
  waveOutClose(static_cast<HWAVEOUT>(handle_));
  handle_ = nullptr;
}

bool WaveOutDevice::Prepare(SoundBlock& block) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(WAVEHDR));
  if (!memory) return false;
  auto* header = static_cast<WAVEHDR*>(GlobalLock(memory));
  header->lpData = static_cast<LPSTR>(const_cast<void*>(block.data));
  header->dwBufferLength = block.bytes;
  header->dwUser = reinterpret_cast<DWORD_PTR>(&block);
  if (waveOutPrepareHeader(static_cast<HWAVEOUT>(handle_), header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
    FreeHeader(header);
    return false;
  }
  block.system = header;
  return true;
}

bool WaveOutDevice::Write(SoundBlock& block) {
  return waveOutWrite(static_cast<HWAVEOUT>(handle_), static_cast<WAVEHDR*>(block.system), sizeof(WAVEHDR)) ==
         MMSYSERR_NOERROR;
}

void WaveOutDevice::Unprepare(SoundBlock& block) {
  auto* header = static_cast<WAVEHDR*>(block.system);
  if (!header) return;
  waveOutUnprepareHeader(static_cast<HWAVEOUT>(handle_), header, sizeof(WAVEHDR));
  FreeHeader(header);
  block.system = nullptr;
}
