// The default song set: eleven listed songs in the order of the built-in list, then one
// song that only the folder scan finds.
#include <algorithm>

#include "gen/music.h"

namespace tessaru::gen {

std::vector<SongPlan> AllSongPlans() {
  struct Row {
    const char* folder;
    const char* title;
    const char* genre;
    int16_t flag;
    Style style;
    int keyRoot;
    bool minor;
    std::vector<TempoChange> tempo;
    int bars;
    int introBars;
    int level;
  };
  // Keys are spread over the circle so consecutive songs do not share a tonic.
  const std::vector<Row> rows{
      {"firstlight", "First Light", "BRIGHT POP", 2, Style::Pop, 48, false, {{0, 140}}, 66, 2, 1},
      {"paperplanes", "Paper Planes", "FUNK", 1, Style::Funk, 40, false, {{0, 108}}, 46, 1, 2},
      {"neondrift", "Neon Drift", "SYNTHWAVE", 1, Style::Synthwave, 45, true, {{0, 128}}, 52, 2, 2},
      {"tidewater", "Tidewater", "SKA", 1, Style::Ska, 43, false, {{0, 96}}, 40, 1, 3},
      {"marblerun", "Marble Run", "SWING JAZZ", 1, Style::Swing, 41, false, {{0, 135}}, 56, 1, 4},
      {"clockwork", "Clockwork Garden", "CHIPTUNE", 2, Style::Chiptune, 50, false, {{0, 150}, {35, 165}}, 62, 2, 5},
      {"ember", "Ember", "ROCK", 2, Style::Rock, 40, true, {{0, 160}}, 64, 2, 6},
      {"aurora", "Aurora Engine", "DRUM AND BASS", 1, Style::DrumAndBass, 42, true, {{0, 172}}, 70, 2, 7},
      {"lantern", "Last Lantern", "ORCHESTRAL ELECTRONIC", 1, Style::Epic, 38, true,
       {{0, 150}, {18, 180}, {42, 120}, {50, 180}}, 72, 2, 8},
      {"freefall", "Free Fall", "HOUSE", 1, Style::House, 44, true, {{0, 124}}, 52, 2, 5},
      {"postcard", "Postcard", "BALLAD", 0, Style::Ballad, 39, false, {{0, 84}}, 32, 1, 2},
      {"hidden", "Hidden Track", "BREAKBEAT", 0, Style::Breakbeat, 46, true, {{0, 140}}, 48, 1, 6},
  };
  std::vector<SongPlan> plans;
  int index = 0;
  for (const Row& r : rows) {
    SongPlan p;
    p.index = index;
    p.folder = r.folder;
    p.title = r.title;
    p.artist = "TESSARU SOUND TEAM";
    p.genre = r.genre;
    p.flag = r.flag;
    p.style = r.style;
    p.keyRoot = r.keyRoot;
    p.minor = r.minor;
    p.tempo = r.tempo;
    p.bars = r.bars;
    p.introBars = r.introBars;
    p.songLevel = r.level;
    p.seed = 1000u + static_cast<uint32_t>(index) * 7919u;
    // One song keeps the first song-file version, so both readers stay exercised.
    p.firstVersion = index == 3;
    // Part targets: the first four parts of a song are the easy group.
    // The first group stays within reach of its song's level; the second group reaches up.
    const int offsets[10] = {0, -1, 0, 0, 1, 1, 2, 2, 1, -1};
    for (size_t i = 0; i < 10; ++i) {
      const int cap = (i < 4 || i == 9) ? 6 : 8;
      p.parts[i].targetLevel = std::clamp(r.level + offsets[i], 1, cap);
    }
    plans.push_back(std::move(p));
    ++index;
  }
  return plans;
}

}  // namespace tessaru::gen
