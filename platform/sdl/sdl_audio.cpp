#include "platform/sdl/sdl_audio.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace tessaru::platform {

std::optional<AudioFormat> SdlAudio::Open(const AudioFormat& wanted, MixCallback mix) {
  Close();
  error_.clear();
  if (!mix) return std::nullopt;
  if (wanted.Bits != 8 && wanted.Bits != 16) {
    error_ = "unsupported sample size";
    return std::nullopt;
  }
  if (wanted.Rate < 8000 || wanted.Rate > 192000) {
    error_ = "unsupported sample rate";
    return std::nullopt;
  }
  if (!subsystem_.Acquire(SDL_INIT_AUDIO, &error_)) return std::nullopt;

  SDL_AudioSpec want{};
  want.freq = wanted.Rate;
  want.format = wanted.Bits == 8 ? AUDIO_U8 : AUDIO_S16SYS;
  want.channels = 2;  // the mixer's contract is stereo
  want.samples = static_cast<Uint16>(std::clamp(wanted.BufferFrames > 0 ? wanted.BufferFrames : 512, 64, 8192));
  want.callback = &SdlAudio::Callback;
  want.userdata = this;
  SDL_AudioSpec have{};
  // The sample format and channels must be what we render; rate and buffer size may be
  // whatever the device prefers, and the mixer renders at the rate granted.
  const char* name = wanted.Device.empty() ? nullptr : wanted.Device.c_str();
  device_ = SDL_OpenAudioDevice(name, 0, &want, &have,
                                SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
  if (device_ == 0) {
    error_ = SDL_GetError();
    subsystem_.Release();
    return std::nullopt;
  }
  granted_ = wanted;
  granted_.Rate = have.freq;
  granted_.Channels = 2;
  granted_.BufferFrames = have.samples;
  mix_ = std::move(mix);
  scratch_.assign(static_cast<size_t>(have.samples) * 2, 0);
  SDL_PauseAudioDevice(device_, 0);
  return granted_;
}

void SdlAudio::Close() {
  if (device_ != 0) {
    // Waits for the audio thread, so the mixer is never called after this.
    SDL_CloseAudioDevice(device_);
    device_ = 0;
  }
  mix_ = nullptr;
}

void SdlAudio::Lock() {
  if (device_ != 0) SDL_LockAudioDevice(device_);
}

void SdlAudio::Unlock() {
  if (device_ != 0) SDL_UnlockAudioDevice(device_);
}

std::vector<std::string> SdlAudio::DeviceNames() {
  std::vector<std::string> names;
  // Listing needs the audio subsystem even when no device is open.
  SdlSubsystem listing;
  if (!subsystem_.Held() && !listing.Acquire(SDL_INIT_AUDIO, &error_)) return names;
  const int count = SDL_GetNumAudioDevices(0);
  for (int i = 0; i < count; ++i) {
    const char* name = SDL_GetAudioDeviceName(i, 0);
    names.emplace_back(name != nullptr ? name : "");
  }
  return names;
}

void SdlAudio::Callback(void* self, uint8_t* stream, int length) {
  static_cast<SdlAudio*>(self)->Fill(stream, length);
}

void SdlAudio::Fill(uint8_t* stream, int length) {
  const double startMs = time_->NowMs();
  const int bytesPerSample = granted_.Bits == 8 ? 1 : 2;
  const int totalFrames = length / (2 * bytesPerSample);
  const int chunkFrames = static_cast<int>(scratch_.size() / 2);
  int done = 0;
  // SDL asks for one buffer at a time, but a larger request is still filled, in chunks.
  while (done < totalFrames && chunkFrames > 0) {
    const int frames = std::min(chunkFrames, totalFrames - done);
    const size_t samples = static_cast<size_t>(frames) * 2;
    std::fill_n(scratch_.begin(), samples, int16_t{0});
    mix_(scratch_.data(), frames,
         startMs + static_cast<double>(done) * 1000.0 / granted_.Rate);
    uint8_t* out = stream + static_cast<size_t>(done) * 2 * static_cast<size_t>(bytesPerSample);
    if (bytesPerSample == 2) {
      std::memcpy(out, scratch_.data(), samples * 2);
    } else {
      for (size_t i = 0; i < samples; ++i) out[i] = SampleS16ToU8(scratch_[i]);
    }
    done += frames;
  }
  const size_t filled = static_cast<size_t>(done) * 2 * static_cast<size_t>(bytesPerSample);
  if (filled < static_cast<size_t>(length)) {
    std::memset(stream + filled, bytesPerSample == 1 ? 0x80 : 0, static_cast<size_t>(length) - filled);
  }
}

}  // namespace tessaru::platform
