#pragma once
// The instruments of the generated music: small synthesis recipes (oscillators, noise,
// envelopes, filters, plucked strings, FM) rendered to mono float buffers.
#include <cstdint>
#include <vector>

namespace tessaru::gen {

enum class Instrument : uint8_t {
  // Drum kit: the note number is ignored.
  Kick, Snare, Clap, ClosedHat, OpenHat, Crash, Ride, TomLow, TomMid, TomHigh, Rim,
  // Hand percussion.
  Shaker, Tambourine, CongaLow, CongaHigh, Cowbell, Woodblock,
  // Pitched.
  Bass, SubBass, SynthBass, ChipBass, Guitar, RockGuitar, CleanGuitar, EPiano, Piano, Organ,
  SawLead, SquareLead, Brass, Choir, Pad, Strings, Bell, Pluck, Flute, Sax,
  // Effects for the background track.
  Riser, Impact, Noise,
};

bool IsDrum(Instrument instrument);
double MidiToHz(double midi);

// One note: `seconds` is how long the key is held; the buffer also holds the release.
// velocity 0..1. The result never exceeds maxSeconds.
std::vector<float> RenderNote(Instrument instrument, int midi, double seconds, double velocity,
                              int rate, double maxSeconds = 1.95);

// A stereo-free room: Schroeder combs and all-passes, wet signal added to the input.
void AddReverb(std::vector<float>& mono, int rate, double wet, double roomSize = 0.8);
// A short fade at the end so a cut sample never clicks.
void FadeOut(std::vector<float>& mono, int rate, double seconds);

}  // namespace tessaru::gen
