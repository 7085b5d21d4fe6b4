#pragma once
// What the composer produces for one song: the tempo map, the notes of every part and of
// the background track, and the facts the song file needs.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gen/synth.h"

namespace tessaru::gen {

struct NoteEvent {
  int step = 0;             // 16 steps to a bar, from the start of the song
  int midi = 60;            // drums ignore it
  double lengthSteps = 1;   // how long the key is held
  double velocity = 0.8;
  Instrument instrument = Instrument::Piano;
  int lane = 0;             // 1..4 when the composer wants a lane (drums), else 0
};

struct PartMusic {
  std::string name;          // shown on the part select
  int targetLevel = 1;       // density aimed at (1..8)
  bool rings = false;        // sounds overlap freely (no mute group)
  int pan = 0;               // -10000 .. 10000
  std::vector<NoteEvent> notes;
};

struct TempoChange {
  int bar = 0;
  double bpm = 120;
};

enum class Style : uint8_t {
  Pop, Funk, Synthwave, Ska, Swing, Chiptune, Rock, DrumAndBass, Epic, House, Ballad, Breakbeat
};

struct SongPlan {
  int index = 0;             // list row (11 for the scan-only song)
  std::string folder;        // under "songs/"
  std::string title, artist, genre;
  int16_t flag = 0;
  Style style = Style::Pop;
  int keyRoot = 48;          // midi of the key's tonic in the bass octave
  bool minor = false;
  std::vector<TempoChange> tempo;
  int bars = 64;
  int introBars = 1;
  uint32_t seed = 1;
  bool firstVersion = false; // stored in the first song-file version
  int songLevel = 1;         // overall difficulty 1..10 for the song list
  std::array<PartMusic, 10> parts;
  std::vector<PartMusic> extensions;  // extension parts for "extreme.zxt"
  std::vector<NoteEvent> background;  // what no part plays
};

// The eleven listed songs in list order, then the scan-only song.
std::vector<SongPlan> AllSongPlans();
// Fills parts and background of a plan from its style, key and tempo.
void Compose(SongPlan& plan);

}  // namespace tessaru::gen
