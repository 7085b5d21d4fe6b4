#include "gen/sounds.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/file_access.h"
#include "gen/roster.h"
#include "gen/synth.h"

namespace tessaru::gen {
namespace {

constexpr int kRate = 22050;

struct Hit {
  double beat;
  int midi;
  double beats;
  double velocity;
  Instrument instrument;
};

std::vector<float> Render(const std::vector<Hit>& hits, double bpm, double totalBeats, double reverb) {
  const double beatSec = 60.0 / bpm;
  std::vector<float> out(static_cast<size_t>((totalBeats * beatSec + 1.0) * kRate), 0.0f);
  for (const Hit& h : hits) {
    const auto s = RenderNote(h.instrument, h.midi, h.beats * beatSec, h.velocity, kRate, h.beats * beatSec + 1.0);
    MixInto(out, 1, s, static_cast<size_t>(h.beat * beatSec * kRate));
  }
  if (reverb > 0) AddReverb(out, kRate, reverb);
  out.resize(static_cast<size_t>((totalBeats * beatSec + 0.6) * kRate));
  const float peak = std::max(1e-6f, Peak(out));
  for (float& v : out) v *= 0.7f / peak;
  FadeOut(out, kRate, 0.3);
  return out;
}

// A looping groove over a chord progression: pads, piano, bass, soft drums.
std::vector<float> Groove(double bpm, const std::vector<std::vector<int>>& chords, int bars, bool drums,
                          Instrument lead, const std::vector<int>& melody) {
  std::vector<Hit> hits;
  for (int bar = 0; bar < bars; ++bar) {
    const auto& ch = chords[static_cast<size_t>(bar) % chords.size()];
    const double b0 = bar * 4.0;
    for (int m : ch) hits.push_back({b0, m, 4, 0.45, Instrument::Pad});
    for (double b : {0.0, 1.5, 2.5}) for (int m : ch) hits.push_back({b0 + b, m + 12, 0.5, 0.4, Instrument::EPiano});
    hits.push_back({b0, ch[0] - 12, 1.5, 0.8, Instrument::Bass});
    hits.push_back({b0 + 2, ch[0] - 12, 1, 0.7, Instrument::Bass});
    hits.push_back({b0 + 3.5, ch[0] - 5, 0.5, 0.6, Instrument::Bass});
    if (drums) {
      for (double b : {0.0, 2.5}) hits.push_back({b0 + b, 60, 1, 0.7, Instrument::Kick});
      for (double b : {1.0, 3.0}) hits.push_back({b0 + b, 60, 1, 0.5, Instrument::Snare});
      for (int k = 0; k < 8; ++k) hits.push_back({b0 + k * 0.5, 60, 1, 0.3, Instrument::ClosedHat});
    }
  }
  for (size_t i = 0; i < melody.size(); ++i)
    if (melody[i] > 0) hits.push_back({static_cast<double>(i) * 0.5, melody[i], 0.5, 0.6, lead});
  return Render(hits, bpm, bars * 4.0, 0.3);
}

std::vector<int> Tune(int bars, const std::vector<int>& phrase) {
  std::vector<int> m;
  for (int i = 0; i < bars * 8; ++i) m.push_back(phrase[static_cast<size_t>(i) % phrase.size()]);
  return m;
}

// A spoken line from espeak-ng, trimmed and levelled; a short chime when it is missing.
std::vector<float> Speak(const std::string& text, const char* voice, int pitch, int speed) {
  const std::string tmp = (std::filesystem::temp_directory_path() /
                           ("tessaru-gen-voice-" + std::to_string(::getpid()) + ".wav")).string();
  const std::string cmd = "espeak-ng -v '" + std::string(voice) + "' -p " + std::to_string(pitch) + " -s " +
                          std::to_string(speed) + " -w '" + tmp + "' \"" + text + "\" 2>/dev/null";
  std::vector<float> out;
  if (std::system(cmd.c_str()) == 0) {
    if (auto bytes = ReadWholeFile(tmp)) {
      // Find the data chunk of the 16-bit mono file espeak writes.
      for (size_t i = 12; i + 8 <= bytes->size();) {
        const std::string id(bytes->begin() + static_cast<long>(i), bytes->begin() + static_cast<long>(i + 4));
        const uint32_t size = (*bytes)[i + 4] | ((*bytes)[i + 5] << 8) | ((*bytes)[i + 6] << 16) |
                              (static_cast<uint32_t>((*bytes)[i + 7]) << 24);
        if (id == "data") {
          for (size_t k = i + 8; k + 1 < bytes->size() && k + 1 < i + 8 + size; k += 2)
            out.push_back(static_cast<float>(static_cast<int16_t>((*bytes)[k] | ((*bytes)[k + 1] << 8))) / 32768.0f);
          break;
        }
        i += 8 + size + (size & 1);
      }
    }
    DeleteFileQuiet(tmp);
  }
  if (out.empty()) return Resample(Render({{0, 76, 0.5, 0.8, Instrument::Bell}, {0.5, 83, 0.5, 0.8, Instrument::Bell}}, 120, 1.5, 0.2), kRate, kRate / 2);
  // Start on the voice, not on silence.
  size_t lead = 0;
  while (lead < out.size() && std::fabs(out[lead]) < 0.01f) ++lead;
  out.erase(out.begin(), out.begin() + static_cast<long>(lead));
  while (!out.empty() && std::fabs(out.back()) < 0.005f) out.pop_back();
  const float peak = std::max(1e-6f, Peak(out));
  for (float& v : out) v *= 0.7f / peak;
  FadeOut(out, kRate, 0.02);
  // Speech needs no more than half the rate; the data folder has a size budget.
  return Resample(out, kRate, kRate / 2);
}

void Put(DataWriter& out, const std::string& name, std::vector<float> s, int rate = kRate) {
  out.Sound("sound/" + name, Wave{rate, 1, std::move(s)});
}

// Menu music sits under the jingles and voices that play over it, so it is kept 6 dB lower
// than they are and the sum stays clear of full scale.
std::vector<float> Background(std::vector<float> s) {
  for (float& v : s) v *= 0.5f;
  return s;
}

void PutVoice(DataWriter& out, const std::string& name, std::vector<float> s) { Put(out, name, std::move(s), kRate / 2); }

}  // namespace

void WriteSounds(DataWriter& out) {
  using I = Instrument;
  Put(out, "curmove.wav", Render({{0, 84, 0.1, 0.7, I::Pluck}}, 120, 0.25, 0));
  Put(out, "decide.wav", Render({{0, 72, 0.5, 0.8, I::Bell}, {0.12, 79, 0.5, 0.8, I::Bell}, {0.24, 84, 1, 0.8, I::Bell}}, 120, 1.2, 0.2));
  // Menu music: eight bars that loop from its first second on without a seam to notice.
  const std::vector<std::vector<int>> menuChords{{60, 64, 67, 71}, {57, 60, 64, 67}, {62, 65, 69, 72}, {55, 59, 62, 65}};
  Put(out, "selbg.wav", Background(Groove(104, menuChords, 16, true, I::Flute,
                                Tune(16, {76, 0, 79, 0, 81, 79, 76, 0, 74, 0, 72, 0, 74, 76, 0, 0, 77, 0, 76, 74, 72, 0, 71, 0, 72, 0, 0, 0, 0, 0, 0, 0}))));
  const std::vector<std::vector<int>> titleChords{{57, 60, 64}, {53, 57, 60}, {60, 64, 67}, {55, 59, 62}};
  Put(out, "titlebg.wav", Background(Groove(120, titleChords, 16, true, I::SawLead,
                                  Tune(16, {69, 0, 72, 0, 76, 0, 74, 72, 0, 0, 69, 0, 67, 0, 69, 0}))));
  Put(out, "ending.wav", Background(Groove(88, {{60, 64, 67}, {65, 69, 72}, {57, 60, 64}, {67, 71, 74}}, 12, false, I::Flute,
                                 Tune(12, {72, 0, 76, 0, 79, 0, 0, 0, 77, 0, 76, 0, 74, 0, 0, 0}))));
  Put(out, "ranking.wav", Render({{0, 72, 0.5, 0.8, I::Brass}, {0.5, 76, 0.5, 0.8, I::Brass}, {1, 79, 0.5, 0.8, I::Brass},
                                  {1.5, 84, 2, 0.9, I::Brass}, {1.5, 76, 2, 0.7, I::Brass}, {1.5, 48, 2, 0.8, I::Bass},
                                  {1.5, 60, 1, 0.8, I::Crash}},
                                 132, 4, 0.3));
  Put(out, "pcount.wav", Render({{0, 96, 0.05, 0.5, I::Bell}}, 120, 0.15, 0));
  Put(out, "bg.wav", Groove(120, titleChords, 1, true, I::SawLead, {69, 0, 72, 0, 76, 0, 74, 0}));
  Put(out, "ml.wav", Render({{0, 60, 1, 0.8, I::Kick}, {0.5, 60, 1, 0.7, I::ClosedHat}, {1, 60, 1, 0.8, I::Snare}}, 120, 1.5, 0));
  // Continue: a ticking clock under the prompt for the eleven seconds it waits.
  {
    std::vector<Hit> hits{{0, 0, 0, 0, I::Rim}};
    hits.clear();
    for (int s = 0; s < 11; ++s) {
      hits.push_back({s * 2.0, 88, 0.1, 0.7, I::Woodblock});
      hits.push_back({s * 2.0 + 1, 81, 0.1, 0.5, I::Woodblock});
    }
    std::vector<float> prompt = Speak("Continue?", "en-us+f3", 60, 150);
    std::vector<float> ticks = Render(hits, 120, 22, 0);
    MixInto(ticks, 1, Resample(prompt, kRate / 2, kRate), 0, 0.9f);
    Put(out, "continue.wav", ticks);
  }
  PutVoice(out, "what.wav", Speak("What's your favorite song?", "en-us+f3", 60, 155));
  PutVoice(out, "now.wav", Speak("Now, choose your part!", "en-us+f3", 60, 155));
  PutVoice(out, "ruready.wav", Speak("Are you ready?", "en-us+f3", 62, 150));
  PutVoice(out, "okay.wav", Speak("Okay!", "en-us+f3", 65, 150));
  PutVoice(out, "gameover.wav", Speak("Game over.", "en-us+m3", 35, 130));
  PutVoice(out, "goodbye.wav", Speak("Good bye!", "en-us+f3", 55, 140));
  PutVoice(out, "tryto.wav", Speak("Try it again!", "en-us+f3", 60, 150));
  // Character voices: 1 on the part select, 2 at the ending, 3 to 5 after a stage.
  const char* lines[5] = {"Let's play!", "Thank you for playing with me!", "Yeah! Great session!", "Nice groove!",
                          "Oops, let's try again."};
  for (int part = 0; part < kShownParts; ++part) {
    const Character& ch = kRoster[static_cast<size_t>(part < 10 ? part : 8)];
    for (int n = 1; n <= 5; ++n) {
      const std::vector<float> v = Speak(lines[n - 1], ch.espeakVoice, ch.pitch, 160);
      PutVoice(out, "voice" + std::to_string(part) + "-" + std::to_string(n) + ".wav", v);
      // The stage may name a voice by the character's code instead of the part number.
      if (part < 9) PutVoice(out, "voice" + std::string(ch.code) + "-" + std::to_string(n) + ".wav", v);
    }
  }
}

}  // namespace tessaru::gen
