#include "sound/sound_lib.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "content/packed.h"
#include "core/file_access.h"
#include "core/paths.h"
#include "sound/resampler.h"

namespace tessaru {
namespace {

// A sound longer than this at the output rate is refused rather than risking memory
// (about 50 minutes of stereo at 44100 Hz).
constexpr int64_t kMaxOutputSamples = int64_t{1} << 28;
constexpr int kDefaultRate = 44100;
constexpr int kDefaultBits = 16;

// n / b rounded to the nearest integer, halves to even.
int64_t DivideHalfEven(int64_t n, int64_t b) {
  const int64_t q = n / b;
  const int64_t twiceRem = 2 * (n % b);
  if (twiceRem > b || (twiceRem == b && (q & 1) != 0)) return q + 1;
  return q;
}

int32_t ClampToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

SoundLib::SoundLib(platform::AudioOut& audio, platform::Clock& clock)
    : audio_(audio), clock_(clock) {}

SoundLib::~SoundLib() {
  // The device calls into mixer_, which dies with this object.
  if (opened_) CloseSound();
  if (deviceOpen_) audio_.Close();
}

void SoundLib::SetBufferFrames(int frames) { bufferFrames44k_ = std::clamp(frames, 32, 8192); }

std::string SoundLib::GetSoundDeviceGuid(int16_t n) {
  if (n < 2) return {};
  const std::vector<std::string> names = audio_.DeviceNames();
  const size_t index = static_cast<size_t>(n - 2);
  return index < names.size() ? names[index] : std::string();
}

bool SoundLib::OpenSound(int16_t deviceNumber) {
  if (opened_) return false;
  if (deviceNumber < 1) deviceNumber = 1;
  deviceName_ = deviceNumber == 1 ? std::string() : GetSoundDeviceGuid(deviceNumber);
  platform::AudioFormat wanted;
  wanted.Rate = kDefaultRate;
  wanted.Bits = kDefaultBits;
  wanted.Channels = 2;
  wanted.BufferFrames = bufferFrames44k_;
  wanted.Device = deviceName_;
  if (!Reopen(wanted)) return false;
  opened_ = true;
  slotCount_ = 0;
  SetPrimaryFormat(false, 16, 22050, 2);
  return true;
}

bool SoundLib::SetPrimaryFormat(bool usePrimary, int16_t bitsPerSample, int32_t samplesPerSec,
                                int16_t channels) {
  if (!opened_) return false;
  if (channels < 1 || channels > 2) channels = 2;
  usePrimary_ = usePrimary;
  platform::AudioFormat wanted;
  if (usePrimary) {
    wanted.Rate = samplesPerSec;
    wanted.Bits = bitsPerSample;
    wanted.Channels = channels;
  } else {
    wanted.Rate = kDefaultRate;
    wanted.Bits = kDefaultBits;
    wanted.Channels = 2;
  }
  if (wanted.Rate <= 0) return false;
  // The same length of time at every rate, so keysound latency does not double at 22050.
  wanted.BufferFrames = std::max(
      32, static_cast<int>(std::lround(static_cast<double>(bufferFrames44k_) * wanted.Rate /
                                       kDefaultRate)));
  wanted.Device = deviceName_;
  return Reopen(wanted);
}

bool SoundLib::Reopen(const platform::AudioFormat& wanted) {
  if (deviceOpen_ && audio_.IsOpen() && wanted.Rate == wanted_.Rate &&
      wanted.Bits == wanted_.Bits && wanted.Channels == wanted_.Channels &&
      wanted.BufferFrames == wanted_.BufferFrames && wanted.Device == wanted_.Device) {
    return true;
  }
  // Remember what was sounding so that it carries on at the new format.
  const double nowMs = clock_.NowMs();
  struct Sounding {
    Mixer::VoiceId voice;
    bool loop;
  };
  std::vector<Sounding> sounding;
  for (SoundSlot i = 0; i < slotCount_; ++i) {
    for (Mixer::VoiceId v : slots_[i].Voices) {
      if (mixer_.IsPlaying(v, nowMs)) sounding.push_back({v, mixer_.IsLooping(v, nowMs)});
    }
  }
  audio_.Close();
  deviceOpen_ = false;
  wanted_ = wanted;
  const std::optional<platform::AudioFormat> granted =
      audio_.Open(wanted, [this](int16_t* out, int frames, double deviceTimeMs) {
        mixer_.Mix(out, frames, deviceTimeMs);
      });
  if (!granted) return false;
  deviceOpen_ = true;
  granted_ = *granted;
  // Sounds are converted to the new rate before the device is held off, so the
  // callback never waits for a resampling.
  std::vector<std::shared_ptr<const PcmData>> converted(static_cast<size_t>(slotCount_));
  if (granted_.Rate != mixer_.Rate()) {
    for (SoundSlot i = 0; i < slotCount_; ++i) {
      const Slot& slot = slots_[i];
      if (slot.Loaded) converted[i] = Resampled(slot.Source, granted_.Rate);
    }
  }
  // The device already calls back again; the mixer's buffers change only under its lock.
  audio_.Lock();
  mixer_.Configure(granted_.Rate, granted_.BufferFrames);
  for (SoundSlot i = 0; i < slotCount_; ++i) {
    Slot& slot = slots_[i];
    if (!converted[i]) continue;
    slot.Output = std::move(converted[i]);
    for (Mixer::VoiceId v : slot.Voices) mixer_.ReplacePcm(v, slot.Output);
  }
  audio_.Unlock();
  for (const Sounding& s : sounding) mixer_.Play(s.voice, clock_.NowMs(), s.loop);
  return true;
}

bool SoundLib::CloseSound() {
  ReleaseAllSounds();
  primaryPlaying_ = false;
  usePrimary_ = false;
  opened_ = false;
  audio_.Close();
  deviceOpen_ = false;
  return true;
}

bool SoundLib::Valid(SoundSlot slot) const {
  return opened_ && slot >= 0 && slot < slotCount_ && slots_[slot].Loaded;
}

std::shared_ptr<const PcmData> SoundLib::Resampled(const std::shared_ptr<const PcmData>& source,
                                                   int rate) {
  if (!source || source->Rate == rate) return source;
  auto output = std::make_shared<PcmData>();
  output->Channels = source->Channels;
  output->Rate = rate;
  output->Samples = Resample(source->Samples, source->Channels, source->Rate, rate);
  return output;
}

SoundSlot SoundLib::LoadWave(std::string_view fileName, int32_t pan, int32_t volume) {
  return Load(fileName, pan, volume, Source::Plain, 1);
}

SoundSlot SoundLib::LoadPackedWave(std::string_view fileName, int32_t pan, int32_t volume) {
  return Load(fileName, pan, volume, Source::PackedOrPlain, 1);
}

SoundSlot SoundLib::LoadMultiCopyWave(std::string_view fileName, int32_t pan, int32_t volume) {
  return Load(fileName, pan, volume, Source::PackedOrPlain, kMaxCopies);
}

SoundSlot SoundLib::Load(std::string_view fileName, int32_t pan, int32_t volume, Source source,
                         int copies) {
  if (!opened_) {
    lastLoadError_ = "sound output is not open";
    return -1;
  }
  SoundSlot index = -1;
  for (SoundSlot i = 0; i < slotCount_; ++i) {
    if (!slots_[i].Loaded) {
      index = i;
      break;
    }
  }
  if (index < 0) {
    if (slotCount_ == INT16_MAX) {
      lastLoadError_ = "too many sounds loaded";
      return -1;
    }
    ++slotCount_;
    if (slots_.size() < static_cast<size_t>(slotCount_)) slots_.resize(slotCount_);
    index = static_cast<SoundSlot>(slotCount_ - 1);
  }
  Slot& slot = slots_[index];
  slot = Slot{};
  bool loaded = false;
  try {
    loaded = LoadInto(slot, fileName, source, copies);
  } catch (const std::bad_alloc&) {
    lastLoadError_ = std::string(fileName) + ": not enough memory";
  }
  if (!loaded) {
    DestroyVoices(slot);
    slot = Slot{};
    return -1;
  }
  lastLoadError_.clear();
  SetVolPan(index, pan, volume, true);
  return index;
}

bool SoundLib::LoadInto(Slot& slot, std::string_view fileName, Source source, int copies) {
  std::optional<std::vector<uint8_t>> bytes;
  std::string readName(fileName);
  if (source == Source::PackedOrPlain) {
    const std::string packedName = ReplaceExtension(fileName, ".zxw");
    if (FileExists(packedName)) {
      readName = packedName;
      bytes = ReadPackedFile(packedName);
    }
  }
  if (!bytes && readName == fileName) bytes = ReadWholeFile(fileName);
  if (!bytes) {
    lastLoadError_ = readName + ": cannot be read";
    return false;
  }
  std::string why;
  std::optional<WaveData> wave = ParseWave(*bytes, &why);
  bytes.reset();
  if (!wave) {
    lastLoadError_ = readName + ": " + why;
    return false;
  }
  const int64_t outputFrames =
      ResampledFrames(wave->Frames, wave->Format.SamplesPerSec, mixer_.Rate());
  if (outputFrames * wave->Format.Channels > kMaxOutputSamples) {
    lastLoadError_ = readName + ": sound too long";
    return false;
  }
  auto pcm = std::make_shared<PcmData>();
  pcm->Channels = wave->Format.Channels;
  pcm->Rate = wave->Format.SamplesPerSec;
  pcm->Samples = std::move(wave->Samples);
  slot.Format = wave->Format;
  slot.BufferBytes = wave->DataBytes;
  slot.Source = std::move(pcm);
  slot.Output = Resampled(slot.Source, mixer_.Rate());
  for (int i = 0; i < copies; ++i) {
    slot.Voices.push_back(mixer_.CreateVoice(slot.Output, StereoGain{}));
  }
  slot.MultiCopy = copies > 1;
  slot.CopyStarted.assign(static_cast<size_t>(copies), 0);
  slot.Loaded = true;
  slot.Name = std::string(fileName);
  slot.Pan = 0;
  slot.Volume = 0;
  return true;
}

void SoundLib::DestroyVoices(Slot& slot) {
  for (Mixer::VoiceId v : slot.Voices) mixer_.DestroyVoice(v);
  slot.Voices.clear();
}

bool SoundLib::SetVolPan(SoundSlot slot, int32_t pan, int32_t volume, bool force) {
  if (!Valid(slot)) return false;
  Slot& s = slots_[slot];
  pan = std::clamp(pan, -10000, 10000);
  volume = std::clamp(volume, -10000, 0);
  bool changed = false;
  if (force || pan != s.Pan) {
    s.Pan = pan;
    changed = true;
  }
  if (force || volume != s.Volume) {
    s.Volume = volume;
    changed = true;
  }
  if (changed) {
    const double nowMs = clock_.NowMs();
    const StereoGain gain = GainForVolPan(s.Volume, s.Pan);
    for (Mixer::VoiceId v : s.Voices) mixer_.SetGain(v, nowMs, gain);
  }
  return true;
}

bool SoundLib::PlaySound(SoundSlot slot, bool rewind, bool loop) {
  if (!Valid(slot)) return false;
  Slot& s = slots_[slot];
  const double nowMs = clock_.NowMs();
  if (s.MultiCopy) {
    // A free copy if there is one, else the one started longest ago.
    size_t pick = 0;
    bool found = false;
    for (size_t i = 0; i < s.Voices.size() && !found; ++i) {
      if (!mixer_.IsPlaying(s.Voices[i], nowMs)) {
        pick = i;
        found = true;
      }
    }
    if (!found) {
      pick = static_cast<size_t>(std::min_element(s.CopyStarted.begin(), s.CopyStarted.end()) -
                                 s.CopyStarted.begin());
      mixer_.Stop(s.Voices[pick], nowMs);
    }
    mixer_.SetPosition(s.Voices[pick], nowMs, 0);
    mixer_.Play(s.Voices[pick], nowMs, loop);
    s.CopyStarted[pick] = ++playCounter_;
    s.LastCopy = static_cast<int>(pick);
    return true;
  }
  const Mixer::VoiceId voice = s.Voices[0];
  // A one-shot sound is stopped first; without a rewind, stopping and playing again
  // continues from the same frame, which is simply playing on.
  if (rewind) {
    if (mixer_.IsPlaying(voice, nowMs) && !mixer_.IsLooping(voice, nowMs)) {
      mixer_.Stop(voice, nowMs);
    }
    mixer_.SetPosition(voice, nowMs, 0);
  }
  mixer_.Play(voice, nowMs, loop);
  return true;
}

bool SoundLib::StopSound(SoundSlot slot) {
  if (!Valid(slot)) return false;
  const double nowMs = clock_.NowMs();
  for (Mixer::VoiceId v : slots_[slot].Voices) mixer_.Stop(v, nowMs);
  return true;
}

void SoundLib::StopAllSounds() {
  if (!opened_) return;
  primaryPlaying_ = false;
  for (SoundSlot i = 0; i < slotCount_; ++i) {
    if (GetSoundStatus(i) == kSoundPlaying) StopSound(i);
  }
}

std::vector<std::string> SoundLib::PlayingSoundNames() {
  std::vector<std::string> names;
  for (size_t i = 0; i < slots_.size(); ++i) {
    const auto slot = static_cast<SoundSlot>(i);
    if (slots_[i].Loaded && GetSoundStatus(slot) != kSoundStopped) names.push_back(slots_[i].Name);
  }
  return names;
}

int16_t SoundLib::GetSoundStatus(SoundSlot slot) {
  if (!Valid(slot)) return kSoundStopped;
  const double nowMs = clock_.NowMs();
  int16_t status = kSoundStopped;
  for (Mixer::VoiceId v : slots_[slot].Voices) {
    if (mixer_.IsLooping(v, nowMs)) return kSoundLooping;
    if (mixer_.IsPlaying(v, nowMs)) status = kSoundPlaying;
  }
  return status;
}

int32_t SoundLib::GetSoundLengthMs(SoundSlot slot) {
  if (!Valid(slot)) return 0;
  const Slot& s = slots_[slot];
  const int64_t blockAlign = s.Format.Channels * s.Format.BitsPerSample / 8;
  const int64_t frames = DivideHalfEven(s.BufferBytes, blockAlign);
  return ClampToInt32(frames * 1000 / s.Format.SamplesPerSec);
}

double SoundLib::OutputPositionFrames(SoundSlot slot, double nowMs) {
  const Slot& s = slots_[slot];
  return mixer_.PositionFrames(s.Voices[static_cast<size_t>(s.LastCopy)], nowMs);
}

int64_t SoundLib::SourceFrameAt(const Slot& s, double outputFrame) const {
  const int64_t whole = static_cast<int64_t>(std::floor(outputFrame));
  const int64_t frame = whole * s.Format.SamplesPerSec / mixer_.Rate();
  return std::clamp<int64_t>(frame, 0, s.Source->Frames());
}

int32_t SoundLib::GetSoundPositionMs(SoundSlot slot) {
  if (!Valid(slot)) return -1;
  const Slot& s = slots_[slot];
  const int64_t frame = SourceFrameAt(s, OutputPositionFrames(slot, clock_.NowMs()));
  return ClampToInt32(frame * 1000 / s.Format.SamplesPerSec);
}

double SoundLib::GetSoundPositionExactMs(SoundSlot slot) {
  if (!Valid(slot)) return -1.0;
  return OutputPositionFrames(slot, clock_.NowMs()) * 1000.0 / mixer_.Rate();
}

bool SoundLib::SetSoundPositionMs(SoundSlot slot, int32_t ms) {
  if (!Valid(slot)) return false;
  Slot& s = slots_[slot];
  const int64_t rate = s.Format.SamplesPerSec;
  // Int(ms / 1000 * rate), exactly: floor division also for negative times.
  const int64_t product = int64_t{ms} * rate;
  const int64_t frame = product >= 0 ? product / 1000 : -((-product + 999) / 1000);
  // A position outside the sound is refused, as the platform refuses it.
  if (frame < 0 || frame > s.Source->Frames()) return false;
  const int64_t outRate = mixer_.Rate();
  const int64_t outFrame = (frame * outRate + rate - 1) / rate;
  mixer_.SetPosition(s.Voices[static_cast<size_t>(s.LastCopy)], clock_.NowMs(), outFrame);
  return true;
}

void SoundLib::PlayPrimary() {
  if (opened_ && usePrimary_) primaryPlaying_ = true;
}

void SoundLib::StopPrimary() {
  if (opened_ && usePrimary_) primaryPlaying_ = false;
}

bool SoundLib::ReleaseSound(SoundSlot slot) {
  if (!Valid(slot)) return false;
  StopSound(slot);
  if (slotCount_ == 1) {
    ReleaseAllSounds();
    return true;
  }
  DestroyVoices(slots_[slot]);
  slots_[slot] = Slot{};
  return true;
}

void SoundLib::ReleaseAllSounds() {
  if (opened_) {
    StopAllSounds();
    for (Slot& slot : slots_) DestroyVoices(slot);
    slots_.assign(1, Slot{});
  }
  slotCount_ = 0;
}

int32_t SoundLib::CachedPan(SoundSlot slot) const { return Valid(slot) ? slots_[slot].Pan : 0; }

int32_t SoundLib::CachedVolume(SoundSlot slot) const {
  return Valid(slot) ? slots_[slot].Volume : 0;
}

}  // namespace tessaru
