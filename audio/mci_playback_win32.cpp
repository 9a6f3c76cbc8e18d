#include "audio/mci_playback_win32.h"

#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

#include <algorithm>

namespace pistavox {
namespace {

constexpr DWORD kPollMilliseconds = 35;

bool Send(const std::wstring& command, wchar_t* reply = nullptr, UINT reply_length = 0) {
  return mciSendStringW(command.c_str(), reply, reply_length, nullptr) == 0;
}

// ".WAV" counts as ".wav"; compared wide so that no path needs converting.
bool IsWaveFile(const std::filesystem::path& path) {
  std::wstring extension = path.extension().wstring();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; });
  return extension == L".wav";
}

}  // namespace

bool StartMciPlayback(MciPlayback& playback, const AudioClip& clip, std::string& error) {
  playback.alias = L"raas_audio_" + std::to_wstring(++playback.alias_counter);
  const std::wstring type = IsWaveFile(clip.path) ? L"waveaudio" : L"mpegvideo";
  if (!Send(L"open \"" + clip.path.wstring() + L"\" type " + type + L" alias " + playback.alias)) {
    playback.alias.clear();
    error = "MCI open failed";
    return false;
  }
  // Without "wait": the worker polls the device so it can be stopped or interrupted.
  if (!Send(L"play " + playback.alias)) {
    FinishMciPlayback(playback);
    error = "MCI play failed";
    return false;
  }
  return true;
}

bool MciStillPlaying(MciPlayback& playback) {
  wchar_t mode[64] = {};
  if (!Send(L"status " + playback.alias + L" mode", mode, 64) || std::wstring(mode) != L"playing") return false;
  Sleep(kPollMilliseconds);
  return true;
}

void FinishMciPlayback(MciPlayback& playback) {
  Send(L"close " + playback.alias);
  playback.alias.clear();
}

void CloseAllMciDevices() { Send(L"close all"); }

}  // namespace pistavox
