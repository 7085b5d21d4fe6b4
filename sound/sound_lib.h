#pragma once
// The sound slots the game plays through: every sound (chip samples, background tracks,
// menu music, effects) is a whole WAVE file decoded into one slot, addressed by a small
// number. Playing starts the slot, optionally looped, optionally from its beginning;
// positions convert to milliseconds for the stage's timeline; pan and volume are cached
// so that the play screen can set them on every hit for nothing.
//
// The slots play through our own mixer (sound/mixer.h) on the platform's audio output.
// Every call comes from the game thread; a closed layer or an invalid slot makes every
// call a no-op answering false, -1 or 0.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "sound/mixer.h"
#include "sound/wave_file.h"

namespace tessaru {

// Index into the slot table; -1 = none.
using SoundSlot = int16_t;

// Values of GetSoundStatus.
inline constexpr int16_t kSoundStopped = 0;
inline constexpr int16_t kSoundPlaying = 1;
inline constexpr int16_t kSoundLooping = 5;

class SoundLib {
 public:
  // Voices of a slot made by LoadMultiCopyWave: the oldest is cut when all are busy.
  static constexpr int kMaxCopies = 4;
  // Output buffer at 44100 Hz (about 11.6 ms); other rates keep about the same time.
  static constexpr int kDefaultBufferFrames = 512;

  SoundLib(platform::AudioOut& audio, platform::Clock& clock);
  ~SoundLib();
  SoundLib(const SoundLib&) = delete;
  SoundLib& operator=(const SoundLib&) = delete;

  bool IsSoundOpen() const { return opened_; }
  // Opens output device n (from 1; 1 and anything below is the default device) at the
  // default format. False when the device cannot be opened or the layer is open already.
  bool OpenSound(int16_t deviceNumber);
  // With usePrimary the output is reopened at that rate and sample size; without it at
  // the default format (44100 Hz, 16 bit). False when the device refuses.
  bool SetPrimaryFormat(bool usePrimary, int16_t bitsPerSample, int32_t samplesPerSec,
                        int16_t channels);
  bool CloseSound();

  // A plain WAVE file into a free slot; -1 when closed or the file cannot be loaded.
  SoundSlot LoadWave(std::string_view fileName, int32_t pan, int32_t volume);
  // The packed ".zxw" form of the named sound when it exists, else the plain WAVE file
  // of that name (tracks converted from MP3 are plain WAVE files).
  SoundSlot LoadPackedWave(std::string_view fileName, int32_t pan, int32_t volume);
  // Like LoadPackedWave, but every PlaySound starts a further voice from the beginning
  // while the earlier ones play out (up to kMaxCopies), so the sound can overlap itself.
  SoundSlot LoadMultiCopyWave(std::string_view fileName, int32_t pan, int32_t volume);

  // Clamps pan to -10000..10000 and volume to -10000..0; a value equal to the cached one
  // is not sent again unless forced. On a multi-copy slot it applies to every copy.
  bool SetVolPan(SoundSlot slot, int32_t pan, int32_t volume, bool force);
  bool PlaySound(SoundSlot slot, bool rewind, bool loop);
  bool StopSound(SoundSlot slot);
  void StopAllSounds();
  int16_t GetSoundStatus(SoundSlot slot);
  // The file names of the slots playing now, in slot order (for checking what is heard).
  std::vector<std::string> PlayingSoundNames();
  int32_t GetSoundLengthMs(SoundSlot slot);
  int32_t GetSoundPositionMs(SoundSlot slot);
  // The same position in fractional milliseconds, for a clock that must move smoothly.
  double GetSoundPositionExactMs(SoundSlot slot);
  bool SetSoundPositionMs(SoundSlot slot, int32_t ms);
  void PlayPrimary();
  void StopPrimary();
  bool ReleaseSound(SoundSlot slot);
  void ReleaseAllSounds();
  // The n-th output device (from 1): 1 is the default device (""); 2 and on are the
  // platform's devices in its order; "" when n is out of range.
  std::string GetSoundDeviceGuid(int16_t n);

  int16_t SlotCount() const { return slotCount_; }
  int32_t CachedPan(SoundSlot slot) const;
  int32_t CachedVolume(SoundSlot slot) const;
  // Why the last load failed ("" after a successful one).
  const std::string& LastLoadError() const { return lastLoadError_; }
  // The output format granted by the device (meaningful while the device is open).
  const platform::AudioFormat& OutputFormat() const { return granted_; }
  // The buffer size asked of the device at the next (re)open, in frames at 44100 Hz.
  void SetBufferFrames(int frames);
  Mixer& GetMixer() { return mixer_; }

 private:
  struct Slot {
    bool Loaded = false;
    std::string Name;          // the file it was loaded from
    uint32_t BufferBytes = 0;  // size of the sound data as stored in the file
    WaveFormat Format;
    int32_t Pan = 0;
    int32_t Volume = 0;
    std::shared_ptr<const PcmData> Source;  // at the file's rate
    std::shared_ptr<const PcmData> Output;  // at the output rate (may be Source itself)
    std::vector<Mixer::VoiceId> Voices;
    bool MultiCopy = false;
    int LastCopy = 0;
    std::vector<uint64_t> CopyStarted;  // play order of each copy
  };
  enum class Source { Plain, PackedOrPlain };

  bool Valid(SoundSlot slot) const;
  SoundSlot Load(std::string_view fileName, int32_t pan, int32_t volume, Source source,
                 int copies);
  bool LoadInto(Slot& slot, std::string_view fileName, Source source, int copies);
  static std::shared_ptr<const PcmData> Resampled(const std::shared_ptr<const PcmData>& source,
                                                  int rate);
  bool Reopen(const platform::AudioFormat& wanted);
  void DestroyVoices(Slot& slot);
  int64_t SourceFrameAt(const Slot& slot, double outputFrame) const;
  double OutputPositionFrames(SoundSlot slot, double nowMs);

  platform::AudioOut& audio_;
  platform::Clock& clock_;
  Mixer mixer_;
  bool opened_ = false;
  bool usePrimary_ = false;
  bool primaryPlaying_ = false;
  std::string deviceName_;
  int bufferFrames44k_ = kDefaultBufferFrames;
  platform::AudioFormat wanted_;
  platform::AudioFormat granted_;
  bool deviceOpen_ = false;
  std::vector<Slot> slots_;
  int16_t slotCount_ = 0;
  uint64_t playCounter_ = 0;
  std::string lastLoadError_;
};

}  // namespace tessaru
