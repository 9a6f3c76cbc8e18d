#include "audio/memory_playback_win32.h"

#include <windows.h>
// After windows.h, which they need.
#include <mfapi.h>
#include <mfidl.h>
#include <mfreadwrite.h>
#include <mmsystem.h>
#include <shlwapi.h>

#include <climits>
#include <vector>

// In mfplat, but missing from mingw-w64's headers.
extern "C" HRESULT WINAPI MFCreateMFByteStreamOnStream(IStream* stream, IMFByteStream** byte_stream);

namespace pistavox {

struct MemoryPlayback {
  bool com_started = false;  // only a successful CoInitializeEx is undone
  bool media_foundation_started = false;
  IStream* stream = nullptr;
  IMFByteStream* byte_stream = nullptr;
  IMFSourceReader* reader = nullptr;
  IMFMediaType* requested_type = nullptr;
  IMFMediaType* actual_type = nullptr;
  HWAVEOUT device = nullptr;
  std::vector<BYTE> block;  // the one block waveOut holds, owned here
};

namespace {

constexpr DWORD kBlockWaitMilliseconds = 8;
constexpr DWORD kAudioStream = static_cast<DWORD>(MF_SOURCE_READER_FIRST_AUDIO_STREAM);

template <typename T>
void ReleaseCom(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

void ReleaseAll(MemoryPlayback& playback) {
  if (playback.device) {
    waveOutReset(playback.device);
    waveOutClose(playback.device);
    playback.device = nullptr;
  }
  ReleaseCom(playback.actual_type);
  ReleaseCom(playback.requested_type);
  ReleaseCom(playback.reader);
  ReleaseCom(playback.byte_stream);
  ReleaseCom(playback.stream);
  if (playback.media_foundation_started) MFShutdown();
  if (playback.com_started) CoUninitialize();
  playback.media_foundation_started = playback.com_started = false;
}

bool Fail(MemoryPlayback& playback, const char* message, std::string& error) {
  ReleaseAll(playback);
  error = message;
  return false;
}

UINT32 ReadFormatValue(IMFMediaType* type, const GUID& key) {
  UINT32 value = 0;
  return SUCCEEDED(type->GetUINT32(key, &value)) ? value : 0;
}

bool OpenWaveDevice(MemoryPlayback& playback, std::string& error) {
  const UINT32 channels = ReadFormatValue(playback.actual_type, MF_MT_AUDIO_NUM_CHANNELS);
  const UINT32 rate = ReadFormatValue(playback.actual_type, MF_MT_AUDIO_SAMPLES_PER_SECOND);
  const UINT32 bits = ReadFormatValue(playback.actual_type, MF_MT_AUDIO_BITS_PER_SAMPLE);
  if (channels == 0 || rate == 0 || bits == 0) return Fail(playback, "Unsupported audio format", error);
  WAVEFORMATEX format = {};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = static_cast<WORD>(channels);
  format.nSamplesPerSec = rate;
  format.wBitsPerSample = static_cast<WORD>(bits);
  format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
  format.nAvgBytesPerSec = format.nBlockAlign * rate;
  format.cbSize = 0;
  if (waveOutOpen(&playback.device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
    playback.device = nullptr;
    return Fail(playback, "waveOut open failed", error);
  }
  return true;
}

// False when the device refused the block: it would never be marked done.
bool PlayBlock(MemoryPlayback& playback) {
  WAVEHDR header = {};
  header.lpData = reinterpret_cast<LPSTR>(playback.block.data());
  header.dwBufferLength = static_cast<DWORD>(playback.block.size());
  if (waveOutPrepareHeader(playback.device, &header, sizeof header) != MMSYSERR_NOERROR) return false;
  const bool written = waveOutWrite(playback.device, &header, sizeof header) == MMSYSERR_NOERROR;
  while (written && !(header.dwFlags & WHDR_DONE)) Sleep(kBlockWaitMilliseconds);
  waveOutUnprepareHeader(playback.device, &header, sizeof header);
  return written;
}

}  // namespace

std::shared_ptr<MemoryPlayback> MakeMemoryPlayback() {
  return std::shared_ptr<MemoryPlayback>(new MemoryPlayback, [](MemoryPlayback* playback) {
    ReleaseAll(*playback);
    delete playback;
  });
}

bool StartMemoryPlayback(MemoryPlayback& playback, const AudioClip& clip, std::string& error) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (FAILED(com) && com != RPC_E_CHANGED_MODE) {
    error = "COM init failed";
    return false;
  }
  playback.com_started = SUCCEEDED(com);
  if (FAILED(MFStartup(MF_VERSION, MFSTARTUP_LITE))) return Fail(playback, "Media Foundation startup failed", error);
  playback.media_foundation_started = true;
  if (clip.size <= UINT_MAX)
    playback.stream = SHCreateMemStream(clip.data->data() + clip.offset, static_cast<UINT>(clip.size));
  if (!playback.stream) return Fail(playback, "Memory stream failed", error);
  if (FAILED(MFCreateMFByteStreamOnStream(playback.stream, &playback.byte_stream)))
    return Fail(playback, "MF byte stream failed", error);
  if (FAILED(MFCreateSourceReaderFromByteStream(playback.byte_stream, nullptr, &playback.reader)))
    return Fail(playback, "MF source reader failed", error);
  if (FAILED(MFCreateMediaType(&playback.requested_type)) ||
      FAILED(playback.requested_type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Audio)) ||
      FAILED(playback.requested_type->SetGUID(MF_MT_SUBTYPE, MFAudioFormat_PCM)))
    return Fail(playback, "MF media type failed", error);
  if (FAILED(playback.reader->SetCurrentMediaType(kAudioStream, nullptr, playback.requested_type)))
    return Fail(playback, "MF PCM conversion failed", error);
  if (FAILED(playback.reader->GetCurrentMediaType(kAudioStream, &playback.actual_type)))
    return Fail(playback, "MF current media type failed", error);
  return OpenWaveDevice(playback, error);
}

bool MemoryStillPlaying(MemoryPlayback& playback) {
  DWORD flags = 0;
  IMFSample* sample = nullptr;
  if (FAILED(playback.reader->ReadSample(kAudioStream, 0, nullptr, &flags, nullptr, &sample)) ||
      (flags & MF_SOURCE_READERF_ENDOFSTREAM)) {
    ReleaseCom(sample);
    return false;
  }
  if (!sample) return true;
  bool played = true;
  IMFMediaBuffer* buffer = nullptr;
  BYTE* bytes = nullptr;
  DWORD length = 0;
  if (SUCCEEDED(sample->ConvertToContiguousBuffer(&buffer)) && SUCCEEDED(buffer->Lock(&bytes, nullptr, &length))) {
    playback.block.assign(bytes, bytes + length);
    buffer->Unlock();
    if (length > 0) played = PlayBlock(playback);
  }
  ReleaseCom(buffer);
  ReleaseCom(sample);
  return played;
}

void FinishMemoryPlayback(MemoryPlayback& playback) { ReleaseAll(playback); }

}  // namespace pistavox
