#pragma once
// The software mixer behind the sound slots. The game thread sends it time-stamped
// commands; the audio callback mixes every playing voice into the device buffer.
//
// Timing: the callback that starts at device time T with output frame F defines the
// mixing timeline mu(x) = F + (x - T) * rate / 1000 (T smoothed over callbacks). A
// command stamped x takes effect at output frame mu(x) + LatencyFrames(), rounded to the
// nearest frame, so every keysound lags its press by the same amount rather than by
// anything up to a buffer. The play position reported at time x is the position at that
// same frame, mu(x) + LatencyFrames() (frames mixed, minus one buffer, plus the time
// since the callback, plus the latency): a track's position and a sound started at that
// moment then line up exactly, and a sound reads as started, stopped or moved at the
// moment of the command. Positions never go backwards.
//
// Threads: commands and queries run on the game thread, Mix on the audio thread. Both
// hold one mutex only to copy a few fields; the multiply-adds run without it. Sound data
// released while a mix pass may still read it is freed only after that pass ends.
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace tessaru {

// Decoded sound data at one rate: 16-bit, mono or interleaved stereo.
struct PcmData {
  int Channels = 1;
  int Rate = 0;
  std::vector<int16_t> Samples;
  int64_t Frames() const {
    return Channels > 0 ? static_cast<int64_t>(Samples.size()) / Channels : 0;
  }
};

struct StereoGain {
  float Left = 1.0f;
  float Right = 1.0f;
  bool operator==(const StereoGain&) const = default;
};

// Volume (-10000..0) and pan (-10000..10000) in hundredths of a decibel: the volume
// scales both channels by 10^(volume/2000); a positive pan attenuates the left channel
// by pan/100 dB, a negative one the right. An attenuation of 100 dB or more is silence.
StereoGain GainForVolPan(int32_t volume, int32_t pan);

class Mixer {
 public:
  using VoiceId = int;
  static constexpr int kDefaultBufferFrames = 512;
  // Commands a voice may have waiting for the next callback; past this the voice simply
  // takes on its latest state at the next callback.
  static constexpr int kMaxPendingEvents = 16;
  // Gain changes on a sounding voice slide over this many frames instead of clicking.
  static constexpr int kGainRampFrames = 32;

  explicit Mixer(int rate = 44100, int bufferFrames = kDefaultBufferFrames);
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  // Sets the output rate and buffer size and restarts the timeline; every voice stops
  // (its position scaled to the new rate). Only while no callback can run.
  void Configure(int rate, int bufferFrames);
  int Rate() const { return rate_; }
  int BufferFrames() const { return bufferFrames_; }
  // One buffer, so a command given just after a callback still lands in the next one,
  // plus a quarter buffer of margin for callbacks that run a little early.
  int LatencyFrames() const { return bufferFrames_ + bufferFrames_ / 4; }

  VoiceId CreateVoice(std::shared_ptr<const PcmData> pcm, StereoGain gain);
  void DestroyVoice(VoiceId id);
  // Swaps a stopped voice's data (after a rate change), keeping its position in time.
  void ReplacePcm(VoiceId id, std::shared_ptr<const PcmData> pcm);

  // Commands, stamped with Clock::NowMs.
  void Play(VoiceId id, double nowMs, bool loop);
  void Stop(VoiceId id, double nowMs);
  void SetPosition(VoiceId id, double nowMs, int64_t frame);
  void SetGain(VoiceId id, double nowMs, StereoGain gain);

  // Queries as of Clock::NowMs; a voice that played to its end reads as stopped once its
  // last frame is due.
  bool IsPlaying(VoiceId id, double nowMs);
  bool IsLooping(VoiceId id, double nowMs);
  double PositionFrames(VoiceId id, double nowMs);
  int64_t LengthFrames(VoiceId id) const;

  // The audio callback: fills `frames` interleaved stereo frames.
  void Mix(int16_t* out, int frames, double deviceTimeMs);
  int64_t FramesMixed() const;

 private:
  struct Event {
    enum Kind : uint8_t { kPlay, kStop, kSetPos, kGain };
    Kind kind = kPlay;
    bool loop = false;
    double timeMs = 0.0;
    int64_t frame = 0;
    StereoGain gain;
  };
  // One stretch of a voice's life: from runStartIndex on, it sits at or plays from
  // runStartPos. Published by the callback, read by position queries.
  struct Run {
    bool valid = false;
    bool playing = false;
    bool loop = false;
    double startIndex = 0.0;  // the command's exact frame (sounds start at it rounded)
    int64_t startPos = 0;
    // Started by a play command on a voice that was already playing, so until
    // startIndex the previous stretch is still what is heard.
    bool continuesPrevious = false;
  };
  struct Voice {
    bool used = false;
    uint32_t generation = 0;
    std::shared_ptr<const PcmData> pcm;
    int64_t frames = 0;
    std::array<Event, kMaxPendingEvents> events;
    int eventHead = 0;
    int eventCount = 0;
    bool resync = false;
    // What the game sees at once, before the callback has acted on its commands.
    bool playing = false;
    bool looping = false;
    double logicalPos = 0.0;
    double anchorMs = 0.0;     // when logicalPos held (a pending start runs on from it)
    bool posOverride = false;  // commands that move the position wait for the callback
    StereoGain gain;
    Run run;
    Run previousRun;
    double lastReport = -1.0;  // the last position reported, never gone back from
  };
  struct DueEvent {
    int offset;
    double exactIndex;
    Event event;
  };
  struct MixVoice {
    bool active = false;
    bool touched = false;  // taken over whole from the game's state this pass
    uint32_t generation = UINT32_MAX;
    const PcmData* pcm = nullptr;
    int64_t frames = 0;
    bool playing = false;
    bool looping = false;
    int64_t pos = 0;
    float gainL = 1.0f, gainR = 1.0f, targetL = 1.0f, targetR = 1.0f;
    int rampLeft = 0;
    Run run;
    Run previousRun;
    int dueCount = 0;
    std::array<DueEvent, kMaxPendingEvents> due;
  };
  struct Retired {
    std::shared_ptr<const PcmData> pcm;
    int64_t pass;
  };

  Voice* Find(VoiceId id);
  const Voice* Find(VoiceId id) const;
  void Push(Voice& v, const Event& e);
  double IndexAt(double nowMs) const;
  double RawPositionLocked(const Voice& v, double nowMs, bool* loop) const;
  double EstimateLocked(Voice& v, double nowMs);
  void SettleEndLocked(Voice& v, double nowMs);
  void Retire(std::shared_ptr<const PcmData> pcm, std::vector<std::shared_ptr<const PcmData>>* now);
  void CollectRetired(std::vector<std::shared_ptr<const PcmData>>* now);
  void MixChunk(int16_t* out, int frames, double deviceTimeMs);
  void MixVoiceSpan(MixVoice& m, int from, int to);
  void ApplyEvent(MixVoice& m, const Event& e, double exactIndex);

  mutable std::mutex mutex_;
  int rate_;
  int bufferFrames_;
  std::vector<Voice> voices_;
  std::vector<VoiceId> freeIds_;
  std::vector<Retired> retired_;
  bool mixing_ = false;
  int64_t passSerial_ = 0;
  // The timeline as of the last completed callback.
  bool haveTime_ = false;
  double lastTimeMs_ = 0.0;
  int64_t lastStartIndex_ = 0;
  int lastFrames_ = 0;
  int64_t framesMixed_ = 0;

  // Audio-thread state.
  std::vector<MixVoice> mix_;
  std::vector<int> active_;
  std::vector<float> acc_;
};

}  // namespace tessaru
