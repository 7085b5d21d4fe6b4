#include "sound/mixer.h"

#include <algorithm>
#include <cmath>

namespace tessaru {
namespace {

// How much of the difference between a callback's stamp and the steady timeline is
// taken in at each callback: enough to follow the device clock's drift, little enough
// that scheduling jitter of the audio thread does not move sounds around.
constexpr double kClockTracking = 1.0 / 32.0;

float GainOf(int32_t attenuation) {
  if (attenuation <= -10000) return 0.0f;
  return static_cast<float>(std::pow(10.0, attenuation / 2000.0));
}

int16_t Saturate(float v) {
  const float r = std::nearbyint(v);
  if (r >= 32767.0f) return 32767;
  if (r <= -32768.0f) return -32768;
  return static_cast<int16_t>(r);
}

}  // namespace

StereoGain GainForVolPan(int32_t volume, int32_t pan) {
  volume = std::clamp(volume, -10000, 0);
  pan = std::clamp(pan, -10000, 10000);
  return {GainOf(volume - std::max(pan, 0)), GainOf(volume + std::min(pan, 0))};
}

Mixer::Mixer(int rate, int bufferFrames) : rate_(rate), bufferFrames_(bufferFrames) {
  Configure(rate, bufferFrames);
}

void Mixer::Configure(int rate, int bufferFrames) {
  std::vector<std::shared_ptr<const PcmData>> drop;
  std::lock_guard lock(mutex_);
  const int oldRate = rate_ > 0 ? rate_ : rate;
  rate = std::max(rate, 1);
  for (Voice& v : voices_) {
    if (!v.used) continue;
    // Where the mixed data ends is where the voice stands when the device stopped.
    const double endMs = lastTimeMs_ + lastFrames_ * 1000.0 / oldRate;
    SettleEndLocked(v, endMs);
    const double pos = v.playing ? EstimateLocked(v, endMs) : v.logicalPos;
    v.logicalPos = std::min(std::floor(pos * rate / oldRate), static_cast<double>(v.frames));
    v.playing = v.looping = false;
    v.posOverride = true;
    v.eventCount = v.eventHead = 0;
    v.resync = false;
    v.run = Run{};
    v.lastReport = -1.0;
    ++v.generation;  // the mix state starts over from logicalPos
  }
  rate_ = rate;
  bufferFrames_ = std::max(bufferFrames, 1);
  haveTime_ = false;
  lastTimeMs_ = 0.0;
  lastStartIndex_ = 0;
  lastFrames_ = 0;
  framesMixed_ = 0;
  // No callback runs now, so the audio-thread state may be touched here.
  acc_.assign(static_cast<size_t>(2 * bufferFrames_), 0.0f);
  mix_.reserve(256);
  active_.reserve(256);
  CollectRetired(&drop);
}

Mixer::Voice* Mixer::Find(VoiceId id) {
  if (id < 0 || static_cast<size_t>(id) >= voices_.size() || !voices_[id].used) return nullptr;
  return &voices_[id];
}

const Mixer::Voice* Mixer::Find(VoiceId id) const {
  if (id < 0 || static_cast<size_t>(id) >= voices_.size() || !voices_[id].used) return nullptr;
  return &voices_[id];
}

Mixer::VoiceId Mixer::CreateVoice(std::shared_ptr<const PcmData> pcm, StereoGain gain) {
  std::vector<std::shared_ptr<const PcmData>> drop;
  std::lock_guard lock(mutex_);
  CollectRetired(&drop);
  VoiceId id;
  if (!freeIds_.empty()) {
    id = freeIds_.back();
    freeIds_.pop_back();
  } else {
    id = static_cast<VoiceId>(voices_.size());
    voices_.emplace_back();
  }
  Voice& v = voices_[id];
  const uint32_t generation = v.generation + 1;
  v = Voice{};
  v.generation = generation;
  v.used = true;
  v.frames = pcm ? pcm->Frames() : 0;
  v.pcm = std::move(pcm);
  v.gain = gain;
  return id;
}

void Mixer::DestroyVoice(VoiceId id) {
  std::vector<std::shared_ptr<const PcmData>> drop;
  std::lock_guard lock(mutex_);
  Voice* v = Find(id);
  if (!v) return;
  v->used = false;
  ++v->generation;
  Retire(std::move(v->pcm), &drop);
  v->pcm.reset();
  freeIds_.push_back(id);
  CollectRetired(&drop);
}

void Mixer::ReplacePcm(VoiceId id, std::shared_ptr<const PcmData> pcm) {
  std::vector<std::shared_ptr<const PcmData>> drop;
  std::lock_guard lock(mutex_);
  Voice* v = Find(id);
  if (!v) return;
  Retire(std::move(v->pcm), &drop);
  v->frames = pcm ? pcm->Frames() : 0;
  v->pcm = std::move(pcm);
  v->logicalPos = std::min(v->logicalPos, static_cast<double>(v->frames));
  ++v->generation;
  CollectRetired(&drop);
}

void Mixer::Retire(std::shared_ptr<const PcmData> pcm,
                   std::vector<std::shared_ptr<const PcmData>>* now) {
  if (!pcm) return;
  if (mixing_) {
    retired_.push_back({std::move(pcm), passSerial_});
  } else {
    now->push_back(std::move(pcm));  // freed by the caller once the lock is dropped
  }
}

void Mixer::CollectRetired(std::vector<std::shared_ptr<const PcmData>>* now) {
  auto keep = retired_.begin();
  for (auto it = retired_.begin(); it != retired_.end(); ++it) {
    if (it->pass < passSerial_ || !mixing_) {
      now->push_back(std::move(it->pcm));
    } else {
      *keep++ = std::move(*it);
    }
  }
  retired_.erase(keep, retired_.end());
}

void Mixer::Push(Voice& v, const Event& e) {
  if (v.resync) return;  // the next callback takes the voice's latest state as a whole
  if (v.eventCount == kMaxPendingEvents) {
    v.resync = true;
    v.eventCount = v.eventHead = 0;
    return;
  }
  Event stamped = e;
  if (v.eventCount > 0) {
    const Event& last = v.events[(v.eventHead + v.eventCount - 1) % kMaxPendingEvents];
    stamped.timeMs = std::max(stamped.timeMs, last.timeMs);
  }
  v.events[(v.eventHead + v.eventCount) % kMaxPendingEvents] = stamped;
  ++v.eventCount;
}

double Mixer::IndexAt(double nowMs) const {
  return static_cast<double>(lastStartIndex_) + (nowMs - lastTimeMs_) * rate_ / 1000.0;
}

double Mixer::RawPositionLocked(const Voice& v, double nowMs, bool* loop) const {
  if (v.posOverride || !v.run.valid || !v.run.playing || !haveTime_) {
    // Not yet taken up by the callback: it will run from logicalPos as of anchorMs.
    *loop = v.looping;
    return v.logicalPos + std::max(0.0, nowMs - v.anchorMs) * rate_ / 1000.0;
  }
  // At most one buffer beyond what has been mixed, in case the next callback is late.
  double index = std::min(IndexAt(nowMs), static_cast<double>(lastStartIndex_) +
                                              2.0 * lastFrames_) +
                 LatencyFrames();
  const Run* run = &v.run;
  if (index < v.run.startIndex && v.run.continuesPrevious && v.previousRun.valid &&
      v.previousRun.playing) {
    run = &v.previousRun;
  } else {
    index = std::max(index, v.run.startIndex);
  }
  *loop = run->loop;
  return static_cast<double>(run->startPos) + (index - run->startIndex);
}

void Mixer::SettleEndLocked(Voice& v, double nowMs) {
  if (!v.playing) return;
  bool loop = false;
  const double pos = RawPositionLocked(v, nowMs, &loop);
  if (!loop && pos >= static_cast<double>(v.frames)) {
    v.playing = v.looping = false;
    v.logicalPos = static_cast<double>(v.frames);
  }
}

double Mixer::EstimateLocked(Voice& v, double nowMs) {
  if (!v.playing) return v.logicalPos;
  bool loop = false;
  double pos = RawPositionLocked(v, nowMs, &loop);
  const double frames = static_cast<double>(v.frames);
  pos = loop && v.frames > 0 ? std::fmod(pos, frames) : std::min(pos, frames);
  // Rounding and the smoothing of the timeline may step back by a fraction of a frame;
  // a loop's wrap is a real step back and goes through.
  const double slack = std::min(static_cast<double>(bufferFrames_), frames / 2);
  if (pos < v.lastReport && v.lastReport - pos < slack) pos = v.lastReport;
  v.lastReport = pos;
  return pos;
}

void Mixer::Play(VoiceId id, double nowMs, bool loop) {
  std::lock_guard lock(mutex_);
  Voice* v = Find(id);
  if (!v) return;
  SettleEndLocked(*v, nowMs);
  // On a sounding voice this only changes the loop flag: the position runs on.
  if (!v->playing || v->posOverride) {
    v->logicalPos = EstimateLocked(*v, nowMs);
    v->anchorMs = nowMs;
    v->posOverride = true;
  }
  v->playing = true;
  v->looping = loop;
  Event e;
  e.kind = Event::kPlay;
  e.loop = loop;
  e.timeMs = nowMs;
  Push(*v, e);
}

void Mixer::Stop(VoiceId id, double nowMs) {
  std::lock_guard lock(mutex_);
  Voice* v = Find(id);
  if (!v) return;
  SettleEndLocked(*v, nowMs);
  v->logicalPos = EstimateLocked(*v, nowMs);
  v->anchorMs = nowMs;
  v->playing = v->looping = false;
  v->posOverride = true;
  Event e;
  e.kind = Event::kStop;
  e.timeMs = nowMs;
  Push(*v, e);
}

void Mixer::SetPosition(VoiceId id, double nowMs, int64_t frame) {
  std::lock_guard lock(mutex_);
  Voice* v = Find(id);
  if (!v) return;
  SettleEndLocked(*v, nowMs);
  frame = std::clamp<int64_t>(frame, 0, v->frames);
  v->logicalPos = static_cast<double>(frame);
  v->anchorMs = nowMs;
  v->lastReport = -1.0;
  v->posOverride = true;
  Event e;
  e.kind = Event::kSetPos;
  e.timeMs = nowMs;
  e.frame = frame;
  Push(*v, e);
}

void Mixer::SetGain(VoiceId id, double nowMs, StereoGain gain) {
  std::lock_guard lock(mutex_);
  Voice* v = Find(id);
  if (!v) return;
  v->gain = gain;
  Event e;
  e.kind = Event::kGain;
  e.timeMs = nowMs;
  e.gain = gain;
  Push(*v, e);
}

bool Mixer::IsPlaying(VoiceId id, double nowMs) {
  std::lock_guard lock(mutex_);
  Voice* v = Find(id);
  if (!v) return false;
  SettleEndLocked(*v, nowMs);
  return v->playing;
}

bool Mixer::IsLooping(VoiceId id, double nowMs) {
  std::lock_guard lock(mutex_);
  Voice* v = Find(id);
  if (!v) return false;
  SettleEndLocked(*v, nowMs);
  return v->playing && v->looping;
}

double Mixer::PositionFrames(VoiceId id, double nowMs) {
  std::lock_guard lock(mutex_);
  Voice* v = Find(id);
  if (!v) return 0.0;
  SettleEndLocked(*v, nowMs);
  return EstimateLocked(*v, nowMs);
}

int64_t Mixer::LengthFrames(VoiceId id) const {
  std::lock_guard lock(mutex_);
  const Voice* v = Find(id);
  return v ? v->frames : 0;
}

int64_t Mixer::FramesMixed() const {
  std::lock_guard lock(mutex_);
  return framesMixed_;
}

void Mixer::Mix(int16_t* out, int frames, double deviceTimeMs) {
  const int chunk = std::max(1, static_cast<int>(acc_.size() / 2));
  for (int done = 0; done < frames;) {
    const int n = std::min(chunk, frames - done);
    MixChunk(out + 2 * done, n, deviceTimeMs + done * 1000.0 / rate_);
    done += n;
  }
}

void Mixer::MixChunk(int16_t* out, int frames, double deviceTimeMs) {
  int64_t bufferStart;
  double timeMs = deviceTimeMs;
  {
    std::lock_guard lock(mutex_);
    if (haveTime_) {
      const double expected = lastTimeMs_ + lastFrames_ * 1000.0 / rate_;
      const double error = deviceTimeMs - expected;
      // A stall or a clock jump resynchronises; ordinary jitter is smoothed away.
      if (std::fabs(error) <= 2.0 * bufferFrames_ * 1000.0 / rate_) {
        timeMs = expected + error * kClockTracking;
      }
    }
    bufferStart = framesMixed_;
    mixing_ = true;
    ++passSerial_;
    if (mix_.size() < voices_.size()) mix_.resize(voices_.size());
    active_.clear();
    const double framesPerMs = rate_ / 1000.0;
    for (size_t id = 0; id < voices_.size(); ++id) {
      Voice& v = voices_[id];
      MixVoice& m = mix_[id];
      if (!v.used) {
        m.active = false;
        m.pcm = nullptr;
        m.generation = UINT32_MAX;
        continue;
      }
      if (m.generation != v.generation) {
        m = MixVoice{};
        m.generation = v.generation;
        m.pcm = v.pcm.get();
        m.frames = v.frames;
        m.pos = std::clamp<int64_t>(static_cast<int64_t>(v.logicalPos), 0, v.frames);
        m.gainL = m.targetL = v.gain.Left;
        m.gainR = m.targetR = v.gain.Right;
        // Commands given before this state existed apply from here.
      }
      if (v.resync) {
        m.playing = v.playing;
        m.looping = v.looping;
        if (v.posOverride) {
          m.pos = std::clamp<int64_t>(static_cast<int64_t>(v.logicalPos), 0, v.frames);
        }
        m.gainL = m.targetL = v.gain.Left;
        m.gainR = m.targetR = v.gain.Right;
        m.rampLeft = 0;
        m.previousRun = Run{};
        m.run = Run{true, m.playing, m.looping, static_cast<double>(bufferStart), m.pos, false};
        v.resync = false;
        m.touched = true;
      } else {
        m.touched = false;
      }
      m.dueCount = 0;
      int lastOffset = 0;
      while (v.eventCount > 0) {
        const Event& e = v.events[v.eventHead];
        const double exact = (e.timeMs - timeMs) * framesPerMs + LatencyFrames();
        const int64_t wanted = std::llround(exact);
        const int64_t offset = std::max<int64_t>(wanted, lastOffset);
        if (offset >= frames) break;
        // A command too late for its frame takes effect (and counts) from where it can.
        const double exactIndex = static_cast<double>(bufferStart) +
                                  (offset == wanted ? exact : static_cast<double>(offset));
        m.due[m.dueCount++] = {static_cast<int>(offset), exactIndex, e};
        lastOffset = static_cast<int>(offset);
        v.eventHead = (v.eventHead + 1) % kMaxPendingEvents;
        --v.eventCount;
      }
      if (v.eventCount == 0) v.eventHead = 0;
      m.active = m.playing || m.touched || m.dueCount > 0;
      if (m.active) active_.push_back(static_cast<int>(id));
    }
  }

  std::fill(acc_.begin(), acc_.begin() + 2 * frames, 0.0f);
  for (int id : active_) {
    MixVoice& m = mix_[id];
    int from = 0;
    for (int i = 0; i < m.dueCount; ++i) {
      MixVoiceSpan(m, from, m.due[i].offset);
      from = m.due[i].offset;
      ApplyEvent(m, m.due[i].event, m.due[i].exactIndex);
    }
    MixVoiceSpan(m, from, frames);
  }
  for (int i = 0; i < 2 * frames; ++i) out[i] = Saturate(acc_[i]);

  std::vector<std::shared_ptr<const PcmData>> drop;
  std::lock_guard lock(mutex_);
  for (int id : active_) {
    MixVoice& m = mix_[id];
    Voice& v = voices_[id];
    if (!v.used || v.generation != m.generation) continue;
    v.run = m.run;
    v.previousRun = m.previousRun;
    if (v.eventCount == 0 && !v.resync) {
      v.posOverride = false;
      // Where a stopped voice really stopped, unless that is only the rounding of its
      // stop to a whole frame (which would step the position back by a fraction).
      const double stoppedAt = static_cast<double>(m.run.startPos);
      if (!m.run.playing && std::fabs(stoppedAt - v.logicalPos) >= 1.0) v.logicalPos = stoppedAt;
    }
  }
  lastTimeMs_ = timeMs;
  lastStartIndex_ = bufferStart;
  lastFrames_ = frames;
  haveTime_ = true;
  framesMixed_ = bufferStart + frames;
  mixing_ = false;
}

void Mixer::ApplyEvent(MixVoice& m, const Event& e, double index) {
  const bool wasPlaying = m.playing;
  switch (e.kind) {
    case Event::kPlay:
      m.playing = true;
      m.looping = e.loop;
      break;
    case Event::kStop:
      m.playing = false;
      // Nothing sounds now, so a pending gain slide has nothing left to smooth.
      m.gainL = m.targetL;
      m.gainR = m.targetR;
      m.rampLeft = 0;
      break;
    case Event::kSetPos:
      m.pos = std::clamp<int64_t>(e.frame, 0, m.frames);
      break;
    case Event::kGain:
      m.targetL = e.gain.Left;
      m.targetR = e.gain.Right;
      if (m.playing) {
        m.rampLeft = kGainRampFrames;
      } else {
        m.gainL = m.targetL;
        m.gainR = m.targetR;
        m.rampLeft = 0;
      }
      return;  // a gain change does not start a new stretch of the position
  }
  // Several commands at one frame make one stretch; only a later one keeps the earlier.
  const bool sameFrame = m.run.valid && m.run.startIndex == index;
  if (!sameFrame) m.previousRun = m.run;
  m.run = Run{true, m.playing, m.looping, index, m.pos,
              !sameFrame && e.kind == Event::kPlay && wasPlaying};
}

void Mixer::MixVoiceSpan(MixVoice& m, int from, int to) {
  while (from < to && m.playing) {
    if (m.pos >= m.frames) {
      if (m.looping && m.frames > 0) {
        m.pos = 0;
      } else {
        m.playing = false;
        return;
      }
    }
    const int n = static_cast<int>(std::min<int64_t>(to - from, m.frames - m.pos));
    float* acc = acc_.data() + 2 * from;
    const int16_t* src = m.pcm->Samples.data();
    const bool stereo = m.pcm->Channels == 2;
    int i = 0;
    if (m.rampLeft > 0) {
      const int ramp = std::min(n, m.rampLeft);
      const float stepL = (m.targetL - m.gainL) / static_cast<float>(m.rampLeft);
      const float stepR = (m.targetR - m.gainR) / static_cast<float>(m.rampLeft);
      for (; i < ramp; ++i) {
        m.gainL += stepL;
        m.gainR += stepR;
        const int64_t f = m.pos + i;
        const float l = stereo ? src[2 * f] : src[f];
        const float r = stereo ? src[2 * f + 1] : src[f];
        acc[2 * i] += l * m.gainL;
        acc[2 * i + 1] += r * m.gainR;
      }
      m.rampLeft -= ramp;
      if (m.rampLeft == 0) {
        m.gainL = m.targetL;
        m.gainR = m.targetR;
      }
    }
    const float gl = m.gainL;
    const float gr = m.gainR;
    if (gl != 0.0f || gr != 0.0f) {
      if (stereo) {
        const int16_t* s = src + 2 * m.pos;
        for (int k = i; k < n; ++k) {
          acc[2 * k] += s[2 * k] * gl;
          acc[2 * k + 1] += s[2 * k + 1] * gr;
        }
      } else {
        const int16_t* s = src + m.pos;
        for (int k = i; k < n; ++k) {
          const float x = s[k];
          acc[2 * k] += x * gl;
          acc[2 * k + 1] += x * gr;
        }
      }
    }
    m.pos += n;
    from += n;
    if (m.pos >= m.frames && !m.looping) m.playing = false;
  }
}

}  // namespace tessaru
