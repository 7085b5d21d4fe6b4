// The composer: one song from its style, key and length. Every style is a kit of bar
// patterns (drums, bass, comping) plus generated melodies that repeat by phrase, so the
// songs have verses and hooks a player can learn.
#include <algorithm>
#include <cmath>
#include <map>
#include <string>

#include "core/random.h"
#include "gen/music.h"

namespace tessaru::gen {
namespace {

enum class Section : uint8_t { Intro, Verse, Chorus, Bridge, Break, End };

struct Chord {
  int root = 0;               // midi of the chord root in the bass octave
  std::vector<int> tones;     // pitch classes as offsets from the root (0, 3/4, 7, ...)
};

struct BarInfo {
  Section section = Section::Verse;
  int indexInSection = 0;
  int sectionLength = 8;
  Chord chord;
  Chord nextChord;
};

// A drum or comping line for one bar: one character per step.
struct Pattern {
  Instrument instrument;
  const char* steps;  // 16 characters
  int lane;
  double velocity;
};

struct StyleKit {
  std::vector<std::vector<int>> progression;  // per bar: scale degree, then 7 for a seventh
  std::vector<Pattern> drums;
  std::vector<Pattern> drumsChorus;
  std::vector<Pattern> percussion;
  const char* bass;          // R root, F fifth, O octave, T third, A approach, '-' hold
  Instrument bassSound;
  const char* guitar;        // C chord, c soft chord, A arpeggio note, P power chord, '-' hold
  Instrument guitarSound;
  const char* keys;
  Instrument keysSound;
  Instrument leadSound;
  int leadGrid;              // 2 = eighths, 1 = sixteenths
  double leadDensity;
  const char* brass;         // stabs
  Instrument brassSound;
  Instrument guestSound;
  Instrument backingSound;
  int leadCentre = 72;
};

const std::vector<int> kMajor{0, 2, 4, 5, 7, 9, 11};
const std::vector<int> kMinor{0, 2, 3, 5, 7, 8, 10};

StyleKit KitFor(Style style) {
  using I = Instrument;
  StyleKit k{};
  const Pattern hat8{I::ClosedHat, "x.x.x.x.x.x.x.x.", 4, 0.6};
  const Pattern hat16{I::ClosedHat, "xxxxxxxxxxxxxxxx", 4, 0.5};
  switch (style) {
    case Style::Pop:
      k.progression = {{0}, {4}, {5}, {3}};
      k.drums = {{I::Kick, "x.......x.x.....", 1, 0.9}, {I::Snare, "....x.......x...", 2, 0.85}, hat8};
      k.drumsChorus = {{I::Kick, "x.....x.x.x.....", 1, 0.95}, {I::Snare, "....x.......x..x", 2, 0.9},
                       {I::OpenHat, "..x...x...x...x.", 4, 0.55}, {I::ClosedHat, "x...x...x...x...", 4, 0.5}};
      k.percussion = {{I::Tambourine, "....x.......x...", 4, 0.7}, {I::Shaker, "x.x.x.x.x.x.x.x.", 3, 0.5}};
      k.bass = "R.R.R.R.R.R.F.O.";
      k.bassSound = I::Bass;
      k.guitar = "C--.c.C-..c.C-c.";
      k.guitarSound = I::CleanGuitar;
      k.keys = "C---....c---c...";
      k.keysSound = I::EPiano;
      k.leadSound = I::SquareLead;
      k.leadGrid = 2;
      k.leadDensity = 0.55;
      k.brass = "C.....c...C.....";
      k.brassSound = I::Brass;
      k.guestSound = I::Bell;
      k.backingSound = I::Strings;
      break;
    case Style::Funk:
      k.progression = {{0, 7}, {0, 7}, {3, 7}, {4, 7}};
      k.drums = {{I::Kick, "x.....x...x..x..", 1, 0.9}, {I::Snare, "....x..x.x..x...", 2, 0.8}, hat16};
      k.drumsChorus = {{I::Kick, "x.x...x...x..x..", 1, 0.9}, {I::Snare, "....x..x.x..x..x", 2, 0.85}, hat16,
                       {I::OpenHat, "......x.......x.", 4, 0.5}};
      k.percussion = {{I::CongaHigh, "..x...x.x.x...x.", 2, 0.7}, {I::CongaLow, "x.....x.....x...", 1, 0.75},
                      {I::Cowbell, "x...x...x...x...", 4, 0.5}};
      k.bass = "R..O..R.A.R..O.R";
      k.bassSound = I::Bass;
      k.guitar = ".A.A.AA..A.A.AA.";
      k.guitarSound = I::Guitar;
      k.keys = "..c...c...c..c..";
      k.keysSound = I::EPiano;
      k.leadSound = I::SawLead;
      k.leadGrid = 1;
      k.leadDensity = 0.45;
      k.brass = "..C...C...C..C..";
      k.brassSound = I::Brass;
      k.guestSound = I::Sax;
      k.backingSound = I::Organ;
      break;
    case Style::Synthwave:
      k.progression = {{0}, {5}, {3}, {4}};
      k.drums = {{I::Kick, "x...x...x...x...", 1, 0.9}, {I::Snare, "....x.......x...", 2, 0.9}, hat8};
      k.drumsChorus = {{I::Kick, "x...x...x...x...", 1, 0.95}, {I::Clap, "....x.......x...", 2, 0.8},
                       {I::OpenHat, "..x...x...x...x.", 4, 0.5}};
      k.percussion = {{I::Shaker, "xxxxxxxxxxxxxxxx", 3, 0.4}, {I::Tambourine, "....x.......x...", 4, 0.6}};
      k.bass = "RRRRRRRRRRRRRRRR";
      k.bassSound = I::SynthBass;
      k.guitar = "A.A.A.A.A.A.A.A.";
      k.guitarSound = I::Pluck;
      k.keys = "C-------c-------";
      k.keysSound = I::Piano;
      k.leadSound = I::SawLead;
      k.leadGrid = 2;
      k.leadDensity = 0.5;
      k.brass = "C-..C-..C-..C-..";
      k.brassSound = I::Brass;
      k.guestSound = I::Bell;
      k.backingSound = I::Pad;
      break;
    case Style::Ska:
      k.progression = {{0}, {3}, {4}, {3}};
      k.drums = {{I::Kick, "........x.......", 1, 0.9}, {I::Rim, "........x.......", 2, 0.8},
                 {I::ClosedHat, "x.x.x.x.x.x.x.x.", 4, 0.5}};
      k.drumsChorus = {{I::Kick, "x.......x.......", 1, 0.9}, {I::Snare, "........x.....x.", 2, 0.85},
                       {I::OpenHat, "..x...x...x...x.", 4, 0.5}};
      k.percussion = {{I::Woodblock, "..x...x...x...x.", 4, 0.6}, {I::CongaLow, "x.......x.......", 1, 0.6},
                      {I::CongaHigh, "......x.......x.", 2, 0.6}};
      k.bass = "R---..F.R.T...A.";
      k.bassSound = I::SubBass;
      k.guitar = "..C...C...C...C.";
      k.guitarSound = I::CleanGuitar;
      k.keys = "..c...c...c...c.";
      k.keysSound = I::Organ;
      k.leadSound = I::Flute;
      k.leadGrid = 2;
      k.leadDensity = 0.45;
      k.brass = "C.....C...C.C...";
      k.brassSound = I::Brass;
      k.guestSound = I::Sax;
      k.backingSound = I::Organ;
      k.leadCentre = 74;
      break;
    case Style::Swing:
      k.progression = {{1, 7}, {4, 7}, {0, 7}, {5, 7}};
      k.drums = {{I::Ride, "x...x..xx...x..x", 4, 0.6}, {I::Kick, "x.......x.......", 1, 0.5},
                 {I::ClosedHat, "....x.......x...", 3, 0.5}};
      k.drumsChorus = {{I::Ride, "x...x..xx...x..x", 4, 0.7}, {I::Kick, "x.......x.......", 1, 0.6},
                       {I::Snare, "......x.......x.", 2, 0.6}, {I::ClosedHat, "....x.......x...", 3, 0.5}};
      k.percussion = {{I::Shaker, "x..xx..xx..xx..x", 3, 0.5}, {I::Woodblock, "....x.......x...", 4, 0.5}};
      k.bass = "R...T...F...A...";
      k.bassSound = I::Bass;
      k.guitar = "c...c...c...c...";
      k.guitarSound = I::CleanGuitar;
      k.keys = "...C..c....C..c.";
      k.keysSound = I::Piano;
      k.leadSound = I::Sax;
      k.leadGrid = 2;
      k.leadDensity = 0.6;
      k.brass = "C..C....C..C....";
      k.brassSound = I::Brass;
      k.guestSound = I::Flute;
      k.backingSound = I::Strings;
      k.leadCentre = 70;
      break;
    case Style::Chiptune:
      k.progression = {{0}, {5}, {3}, {4}, {0}, {5}, {1}, {4}};
      k.drums = {{I::Kick, "x.....x.x.......", 1, 0.9}, {I::Snare, "....x.......x...", 2, 0.8}, hat8};
      k.drumsChorus = {{I::Kick, "x.x...x.x.x.....", 1, 0.9}, {I::Snare, "....x.......x.xx", 2, 0.8}, hat16};
      k.percussion = {{I::Woodblock, "x..x..x..x..x.x.", 4, 0.5}, {I::Shaker, "..x...x...x...x.", 3, 0.5}};
      k.bass = "R.O.R.O.R.O.F.O.";
      k.bassSound = I::ChipBass;
      k.guitar = "AAAAAAAAAAAAAAAA";
      k.guitarSound = I::SquareLead;
      k.keys = "C.c.C.c.C.c.C.c.";
      k.keysSound = I::Pluck;
      k.leadSound = I::SquareLead;
      k.leadGrid = 1;
      k.leadDensity = 0.5;
      k.brass = "C.C...C.C...C...";
      k.brassSound = I::SawLead;
      k.guestSound = I::Bell;
      k.backingSound = I::Pad;
      k.leadCentre = 76;
      break;
    case Style::Rock:
      k.progression = {{0}, {6}, {5}, {4}};
      k.drums = {{I::Kick, "x.......x.x.....", 1, 0.95}, {I::Snare, "....x.......x...", 2, 0.95}, hat8};
      k.drumsChorus = {{I::Kick, "x.x.....x.x.....", 1, 0.95}, {I::Snare, "....x.......x...", 2, 0.95},
                       {I::Ride, "x.x.x.x.x.x.x.x.", 4, 0.55}};
      k.percussion = {{I::Tambourine, "x.x.x.x.x.x.x.x.", 4, 0.6}, {I::Cowbell, "x...x...x...x...", 3, 0.5}};
      k.bass = "RRRRRRRRRRRRFFOO";
      k.bassSound = I::Bass;
      k.guitar = "P.P.P.P.P.P.P.PP";
      k.guitarSound = I::RockGuitar;
      k.keys = "C-------C-------";
      k.keysSound = I::Organ;
      k.leadSound = I::RockGuitar;
      k.leadGrid = 1;
      k.leadDensity = 0.5;
      k.brass = "C.......C...C...";
      k.brassSound = I::Brass;
      k.guestSound = I::SawLead;
      k.backingSound = I::Strings;
      k.leadCentre = 69;
      break;
    case Style::DrumAndBass:
      k.progression = {{0, 7}, {5}, {3}, {4}};
      k.drums = {{I::Kick, "x.........x.....", 1, 0.95}, {I::Snare, "....x.......x...", 2, 0.9}, hat16};
      k.drumsChorus = {{I::Kick, "x.........x..x..", 1, 0.95}, {I::Snare, "....x..x.x..x...", 2, 0.9},
                       {I::ClosedHat, "xx.xxx.xxx.xxx.x", 4, 0.5}, {I::Ride, "x...x...x...x...", 3, 0.4}};
      k.percussion = {{I::Shaker, "xxxxxxxxxxxxxxxx", 3, 0.45}, {I::Rim, "..x..x....x..x..", 2, 0.5},
                      {I::CongaLow, "x......x..x.....", 1, 0.6}};
      k.bass = "R-------F---O---";
      k.bassSound = I::SynthBass;
      k.guitar = "C-..............";
      k.guitarSound = I::Pluck;
      k.keys = "C--.......C--...";
      k.keysSound = I::EPiano;
      k.leadSound = I::SawLead;
      k.leadGrid = 1;
      k.leadDensity = 0.55;
      k.brass = "C-.C-.C-........";
      k.brassSound = I::Brass;
      k.guestSound = I::Bell;
      k.backingSound = I::Pad;
      break;
    case Style::Epic:
      k.progression = {{0}, {5}, {2}, {6}};
      k.drums = {{I::Kick, "x.....x.x.......", 1, 0.95}, {I::Snare, "....x.......x...", 2, 0.9},
                 {I::TomLow, "..........x...x.", 3, 0.8}, hat8};
      k.drumsChorus = {{I::Kick, "x.x...x.x.x...x.", 1, 0.95}, {I::Snare, "....x.......x.x.", 2, 0.95},
                       {I::TomMid, "..x.......x.....", 3, 0.8}, {I::Ride, "x.x.x.x.x.x.x.x.", 4, 0.55}};
      k.percussion = {{I::TomHigh, "x..x..x...x..x..", 2, 0.7}, {I::TomLow, "x.......x.......", 1, 0.8},
                      {I::Tambourine, "..x...x...x...x.", 4, 0.5}};
      k.bass = "R.R.R.R.R.R.R.R.";
      k.bassSound = I::SynthBass;
      k.guitar = "P.PP.PP.P.PP.P.P";
      k.guitarSound = I::RockGuitar;
      k.keys = "C.......C.......";
      k.keysSound = I::Piano;
      k.leadSound = I::SawLead;
      k.leadGrid = 1;
      k.leadDensity = 0.55;
      k.brass = "C-.C-.C-C-.C-.C.";
      k.brassSound = I::Brass;
      k.guestSound = I::Strings;
      k.backingSound = I::Choir;
      break;
    case Style::House:
      k.progression = {{5, 7}, {3, 7}, {0, 7}, {4}};
      k.drums = {{I::Kick, "x...x...x...x...", 1, 0.95}, {I::Clap, "....x.......x...", 2, 0.8},
                 {I::OpenHat, "..x...x...x...x.", 4, 0.55}};
      k.drumsChorus = {{I::Kick, "x...x...x...x...", 1, 0.95}, {I::Clap, "....x.......x...", 2, 0.85},
                       {I::OpenHat, "..x...x...x...x.", 4, 0.55}, {I::ClosedHat, "x.xxx.xxx.xxx.xx", 3, 0.4}};
      k.percussion = {{I::Shaker, "x.xxx.xxx.xxx.xx", 3, 0.45}, {I::CongaHigh, "...x..x....x..x.", 2, 0.6},
                      {I::Tambourine, "....x.......x...", 4, 0.5}};
      k.bass = "..R...R...R...RO";
      k.bassSound = I::SynthBass;
      k.guitar = "..C...C...C...C.";
      k.guitarSound = I::Organ;
      k.keys = "C..C..C...C..C..";
      k.keysSound = I::Piano;
      k.leadSound = I::SawLead;
      k.leadGrid = 2;
      k.leadDensity = 0.5;
      k.brass = "C..C..C...C.....";
      k.brassSound = I::Brass;
      k.guestSound = I::Pluck;
      k.backingSound = I::Pad;
      break;
    case Style::Ballad:
      k.progression = {{0}, {4}, {5}, {3}, {0}, {3}, {1, 7}, {4}};
      k.drums = {{I::Kick, "x.......x.......", 1, 0.6}, {I::Rim, "....x.......x...", 2, 0.5},
                 {I::ClosedHat, "x...x...x...x...", 4, 0.35}};
      k.drumsChorus = {{I::Kick, "x.......x.x.....", 1, 0.7}, {I::Snare, "....x.......x...", 2, 0.6},
                       {I::ClosedHat, "x.x.x.x.x.x.x.x.", 4, 0.35}};
      k.percussion = {{I::Shaker, "..x...x...x...x.", 3, 0.4}, {I::Tambourine, "........x.......", 4, 0.4}};
      k.bass = "R-------F-------";
      k.bassSound = I::Bass;
      k.guitar = "A.A.A.A.A.A.A.A.";
      k.guitarSound = I::CleanGuitar;
      k.keys = "C-------C-------";
      k.keysSound = I::Piano;
      k.leadSound = I::Flute;
      k.leadGrid = 2;
      k.leadDensity = 0.45;
      k.brass = "C-------........";
      k.brassSound = I::Brass;
      k.guestSound = I::Strings;
      k.backingSound = I::Pad;
      break;
    case Style::Breakbeat:
      k.progression = {{0, 7}, {0, 7}, {5}, {6}};
      k.drums = {{I::Kick, "x.x.......x.....", 1, 0.95}, {I::Snare, "....x..x.x..x...", 2, 0.9}, hat8};
      k.drumsChorus = {{I::Kick, "x.x.......xx....", 1, 0.95}, {I::Snare, "....x..x.x..x..x", 2, 0.9}, hat16};
      k.percussion = {{I::Shaker, "x.xxx.xxx.xxx.xx", 3, 0.45}, {I::Cowbell, "x..x..x...x..x..", 4, 0.5},
                      {I::CongaLow, "x.....x.....x...", 1, 0.6}};
      k.bass = "R.....R.O...R.A.";
      k.bassSound = I::SynthBass;
      k.guitar = ".A.A..A..A.A..A.";
      k.guitarSound = I::Guitar;
      k.keys = "C..c..C...c.....";
      k.keysSound = I::EPiano;
      k.leadSound = I::SquareLead;
      k.leadGrid = 1;
      k.leadDensity = 0.5;
      k.brass = "C..C..C.C.......";
      k.brassSound = I::Brass;
      k.guestSound = I::Bell;
      k.backingSound = I::Pad;
      break;
  }
  return k;
}

class Composer {
 public:
  explicit Composer(SongPlan& plan) : plan_(plan), kit_(KitFor(plan.style)), rng_(plan.seed) {}

  void Run() {
    LayOutBars();
    NameParts();
    for (int bar = 0; bar < plan_.bars; ++bar) ComposeBar(bar);
    Ending();
    if (plan_.style == Style::Rock) Extensions();
  }

  // Two extra layers for the extension parts: a lead solo and double-kick drums. They are
  // heard only when a player picks them, so the song stays whole without them.
  void Extensions() {
    PartMusic solo{"SOLO EX", 8, false, -2000, {}};
    PartMusic kicks{"DRUMS EX", 8, true, 0, {}};
    const Motif fast = MakeMotif(1, 0.8, 99);
    for (int bar = 0; bar < plan_.bars - 2; ++bar) {
      const BarInfo& b = bars_[static_cast<size_t>(bar)];
      if (b.section != Section::Chorus && b.section != Section::Bridge) continue;
      std::swap(plan_.parts[5].notes, solo.notes);
      Melody(5, fast, b, bar, bar * 16, Instrument::RockGuitar, 76, 0.7, 1);
      std::swap(plan_.parts[5].notes, solo.notes);
      for (int s = 0; s < 16; s += 2)
        kicks.notes.push_back({bar * 16 + s, 60, 1, 0.7, Instrument::Kick, s % 4 == 0 ? 1 : 2});
      for (int s = 0; s < 16; s += 4)
        kicks.notes.push_back({bar * 16 + s + 2, 60, 1, 0.5, Instrument::TomHigh, 3});
    }
    plan_.extensions = {solo, kicks};
  }

 private:
  const std::vector<int>& Scale() const { return plan_.minor ? kMinor : kMajor; }

  int ScaleMidi(int degree, int baseMidi) const {
    const auto& s = Scale();
    const int octave = static_cast<int>(std::floor(degree / 7.0));
    const int d = degree - octave * 7;
    return baseMidi + octave * 12 + s[static_cast<size_t>(d)];
  }

  Chord ChordAt(int bar) const {
    const auto& prog = kit_.progression;
    const auto& entry = prog[static_cast<size_t>(bar) % prog.size()];
    const int degree = entry[0];
    Chord c;
    c.root = ScaleMidi(degree, plan_.keyRoot);
    for (int k : {0, 2, 4}) c.tones.push_back(ScaleMidi(degree + k, plan_.keyRoot) - c.root);
    // The dominant of a minor key takes its major third, as the ear expects.
    if (plan_.minor && degree == 4) c.tones[1] = 4;
    if (entry.size() > 1) c.tones.push_back(ScaleMidi(degree + 6, plan_.keyRoot) - c.root);
    return c;
  }

  void LayOutBars() {
    bars_.assign(static_cast<size_t>(plan_.bars), {});
    const int body = plan_.bars - 2;  // the last two bars ring out the final chord
    std::vector<std::pair<Section, int>> layout{{Section::Intro, plan_.introBars}};
    int used = plan_.introBars;
    const std::vector<Section> cycle{Section::Verse, Section::Chorus, Section::Verse, Section::Chorus,
                                     Section::Bridge, Section::Break, Section::Chorus, Section::Chorus};
    for (size_t i = 0; used < body; ++i) {
      const Section s = cycle[i % cycle.size()];
      const int len = std::min(s == Section::Break ? 4 : 8, body - used);
      layout.emplace_back(s, len);
      used += len;
    }
    layout.emplace_back(Section::End, 2);
    int bar = 0;
    for (const auto& [section, len] : layout)
      for (int i = 0; i < len && bar < plan_.bars; ++i, ++bar) {
        auto& b = bars_[static_cast<size_t>(bar)];
        b.section = section;
        b.indexInSection = i;
        b.sectionLength = len;
        // Harmony counts from the first played bar, so every section starts on the tonic.
        b.chord = ChordAt(std::max(0, bar - plan_.introBars));
        b.nextChord = ChordAt(std::max(0, bar + 1 - plan_.introBars));
      }
  }

  void NameParts() {
    static const char* kRoles[10] = {"DRUMS", "BASS", "GUITAR", "KEYS", "PERCUSSION",
                                     "SYNTH", "BRASS", "VOICE", "GUEST", "BACKING"};
    for (size_t i = 0; i < 10; ++i) plan_.parts[i].name = kRoles[i];
    plan_.parts[0].rings = plan_.parts[4].rings = true;
    plan_.parts[3].rings = plan_.parts[7].rings = plan_.parts[8].rings = plan_.parts[9].rings = true;
    const int pans[10] = {0, 0, -2500, 2500, 3000, -1500, 1500, 0, -3000, 0};
    for (size_t i = 0; i < 10; ++i) plan_.parts[i].pan = pans[i];
  }

  static bool Plays(size_t part, Section s, int indexInSection) {
    switch (s) {
      case Section::Intro: case Section::End: return false;
      case Section::Verse: return part != 6 && part != 7 && !(part == 8 && indexInSection < 4);
      case Section::Chorus: return part != 8;
      case Section::Bridge: return part != 5 && part != 6 && part != 4;
      case Section::Break: return part == 1 || part == 3 || part == 7 || part == 9 || part == 4;
    }
    return false;
  }

  void Add(size_t part, int step, int midi, double len, double vel, Instrument inst, int lane = 0) {
    plan_.parts[part].notes.push_back({step, midi, len, vel, inst, lane});
  }

  // Voicing of a chord around a centre pitch (close position).
  std::vector<int> Voicing(const Chord& c, int centre, size_t maxNotes) const {
    std::vector<int> notes;
    for (int t : c.tones) {
      int m = c.root + t;
      while (m < centre - 6) m += 12;
      while (m > centre + 6) m -= 12;
      notes.push_back(m);
    }
    std::sort(notes.begin(), notes.end());
    if (notes.size() > maxNotes) notes.resize(maxNotes);
    return notes;
  }

  void PatternLine(size_t part, const Pattern& p, int barStart, double gain) {
    for (int s = 0; s < 16; ++s)
      if (p.steps[s] == 'x') Add(part, barStart + s, 60, 1, p.velocity * gain, p.instrument, p.lane);
  }

  // Comping from a pattern string: C chord, c soft chord, A arpeggio note, P power chord.
  void Comp(size_t part, const char* pattern, Instrument inst, const BarInfo& b, int barStart, int centre) {
    int arp = 0;
    for (int s = 0; s < 16; ++s) {
      const char ch = pattern[s];
      if (ch == '.' || ch == '-') continue;
      int len = 1;
      while (s + len < 16 && pattern[s + len] == '-') ++len;
      if (len == 1 && ch != 'A') len = 2;
      if (ch == 'A') {
        const auto v = Voicing(b.chord, centre, 4);
        static const int order[8] = {0, 1, 2, 1, 3, 2, 1, 2};
        const int idx = order[arp++ % 8] % static_cast<int>(v.size());
        Add(part, barStart + s, v[static_cast<size_t>(idx)] + (arp % 8 >= 4 ? 12 : 0) * 0, len, 0.7, inst);
      } else if (ch == 'P') {
        int root = b.chord.root;
        while (root < centre - 12) root += 12;
        for (int m : {root, root + 7, root + 12}) Add(part, barStart + s, m, len, 0.85, inst);
      } else {
        for (int m : Voicing(b.chord, centre, 4)) Add(part, barStart + s, m, len, ch == 'C' ? 0.8 : 0.55, inst);
      }
    }
  }

  void Bass(const BarInfo& b, int barStart) {
    const char* p = kit_.bass;
    int root = b.chord.root;
    while (root > 47) root -= 12;
    while (root < 33) root += 12;
    for (int s = 0; s < 16; ++s) {
      const char ch = p[s];
      if (ch == '.' || ch == '-') continue;
      int len = 1;
      while (s + len < 16 && p[s + len] == '-') ++len;
      int m = root;
      if (ch == 'F') m = root + 7;
      if (ch == 'O') m = root + 12;
      if (ch == 'T') m = root + b.chord.tones[1];
      if (ch == 'A') {
        int next = b.nextChord.root;
        while (next > root + 6) next -= 12;
        while (next < root - 6) next += 12;
        m = next + (next > root ? -1 : 1);
      }
      Add(1, barStart + s, m, len, 0.85, kit_.bassSound);
    }
  }

  // A melody generated once per section kind and part, then repeated phrase by phrase.
  struct Motif {
    std::vector<std::pair<int, int>> notes;  // step in two bars, scale-degree offset
    std::vector<int> lengths;
  };

  Motif MakeMotif(int grid, double density, uint32_t salt) {
    Random r(plan_.seed * 977u + salt);
    Motif m;
    int degree = 0;
    for (int s = 0; s < 32; s += grid) {
      const bool strong = s % 8 == 0;
      if (r.Uniform() < (strong ? density + 0.3 : density)) {
        const int move = r.Draw(5) - 2;
        degree = std::clamp(degree + (move == 0 ? 1 : move), -4, 6);
        m.notes.emplace_back(s, degree);
      }
    }
    if (m.notes.empty() || m.notes.front().first != 0) {
      std::vector<std::pair<int, int>> withStart{{0, 0}};
      withStart.insert(withStart.end(), m.notes.begin(), m.notes.end());
      m.notes = std::move(withStart);
    }
    for (size_t i = 0; i < m.notes.size(); ++i) {
      const int next = i + 1 < m.notes.size() ? m.notes[i + 1].first : 32;
      m.lengths.push_back(std::min(8, next - m.notes[i].first));
    }
    return m;
  }

  void Melody(size_t part, const Motif& motif, const BarInfo& b, int bar, int barStart, Instrument inst,
              int centre, double vel, int variation) {
    const int half = (b.indexInSection % 2) * 16;
    const int phrase = (b.indexInSection / 2) % 4;
    for (size_t i = 0; i < motif.notes.size(); ++i) {
      const auto& [s, deg] = motif.notes[i];
      if (s < half || s >= half + 16) continue;
      const int stepInBar = s - half;
      int d = deg + (phrase == 1 ? 2 : phrase == 3 ? -1 : 0) * variation;
      const int base = centre - (((centre - plan_.keyRoot) % 12) + 12) % 12;
      int m = ScaleMidi(d, base);
      // Strong beats land on a chord tone so the tune always agrees with the harmony.
      if (stepInBar % 4 == 0) m = NearestChordTone(m, bars_[static_cast<size_t>(bar)].chord);
      Add(part, barStart + stepInBar, m, motif.lengths[i], vel, inst);
    }
  }

  static int NearestChordTone(int midi, const Chord& c) {
    int best = midi;
    int bestDist = 99;
    for (int t : c.tones)
      for (int o = -2; o <= 8; ++o) {
        const int cand = c.root + t + 12 * o;
        if (std::abs(cand - midi) < bestDist) {
          bestDist = std::abs(cand - midi);
          best = cand;
        }
      }
    return best;
  }

  void ComposeBar(int bar) {
    const BarInfo& b = bars_[static_cast<size_t>(bar)];
    const int start = bar * 16;
    const bool chorus = b.section == Section::Chorus;
    const bool lastOfSection = b.indexInSection == b.sectionLength - 1;
    Background(b, bar, start);
    if (b.section == Section::Intro || b.section == Section::End) return;

    // Drums, with a crash on every section start and a fill at every section end.
    if (Plays(0, b.section, b.indexInSection)) {
      const auto& lines = chorus ? kit_.drumsChorus : kit_.drums;
      for (const auto& p : lines) {
        if (lastOfSection && p.instrument != Instrument::Kick && std::string(p.steps).size() == 16) {
          // Replace the second half with a fill.
          Pattern half = p;
          std::string s(p.steps);
          for (int i = 8; i < 16; ++i) s[static_cast<size_t>(i)] = '.';
          half.steps = s.c_str();
          PatternLine(0, half, start, 1.0);
          continue;
        }
        PatternLine(0, p, start, b.section == Section::Bridge ? 0.8 : 1.0);
      }
      if (lastOfSection) {
        const Instrument toms[4] = {Instrument::TomHigh, Instrument::TomHigh, Instrument::TomMid, Instrument::TomLow};
        for (int i = 0; i < 8; i += (plan_.songLevel >= 5 ? 1 : 2))
          Add(0, start + 8 + i, 60, 1, 0.6 + i * 0.04, i < 4 ? Instrument::Snare : toms[(i - 4) % 4], i < 4 ? 2 : 3);
      }
      if (b.indexInSection == 0) Add(0, start, 60, 1, 0.8, Instrument::Crash, 4);
    }
    if (Plays(4, b.section, b.indexInSection))
      for (const auto& p : kit_.percussion) PatternLine(4, p, start, chorus ? 1.0 : 0.85);
    if (Plays(1, b.section, b.indexInSection)) {
      if (b.section == Section::Break) Add(1, start, b.chord.root, 8, 0.8, kit_.bassSound);
      else Bass(b, start);
    }
    if (Plays(2, b.section, b.indexInSection)) Comp(2, kit_.guitar, kit_.guitarSound, b, start, 60);
    if (Plays(3, b.section, b.indexInSection)) {
      if (b.section == Section::Break) Comp(3, "C-------C-------", kit_.keysSound, b, start, 64);
      else Comp(3, kit_.keys, kit_.keysSound, b, start, 64);
    }
    if (Plays(5, b.section, b.indexInSection)) {
      // The synth carries the verse tune and answers the voices with runs in the chorus.
      if (!motifs_.count(5)) {
        motifs_[5] = MakeMotif(kit_.leadGrid, kit_.leadDensity, 5);
        motifs_[15] = MakeMotif(1, std::min(0.85, kit_.leadDensity + 0.25), 15);
      }
      const Motif& m = chorus ? motifs_[15] : motifs_[5];
      Melody(5, m, b, bar, start, kit_.leadSound, kit_.leadCentre + (chorus ? 7 : 0), 0.75, 1);
    }
    if (Plays(6, b.section, b.indexInSection)) {
      if (b.section == Section::Bridge) {
        if (!motifs_.count(6)) motifs_[6] = MakeMotif(2, 0.45, 6);
        Melody(6, motifs_[6], b, bar, start, kit_.brassSound, 62, 0.75, 1);
      } else {
        Comp(6, kit_.brass, kit_.brassSound, b, start, 62);
      }
    }
    if (Plays(7, b.section, b.indexInSection)) {
      // The voices sing the hook in the chorus and hold chord tones elsewhere.
      if (chorus) {
        if (!motifs_.count(7)) motifs_[7] = MakeMotif(2, 0.6, 7);
        Melody(7, motifs_[7], b, bar, start, Instrument::Choir, 67, 0.8, 1);
      } else {
        const auto v = Voicing(b.chord, 67, 3);
        Add(7, start, v.back(), 8, 0.7, Instrument::Choir);
        Add(7, start + 8, v[1], 8, 0.65, Instrument::Choir);
      }
    }
    if (Plays(8, b.section, b.indexInSection)) {
      if (!motifs_.count(8)) motifs_[8] = MakeMotif(2, 0.4, 8);
      Melody(8, motifs_[8], b, bar, start, kit_.guestSound, 79, 0.6, 1);
    }
    if (Plays(9, b.section, b.indexInSection)) {
      const auto v = Voicing(b.chord, 60, 3);
      for (int m : v) Add(9, start, m, 16, 0.5, kit_.backingSound);
    }
  }

  void Background(const BarInfo& b, int bar, int start) {
    auto& bg = plan_.background;
    const auto v = Voicing(b.chord, 55, 3);
    if (b.section != Section::End) {
      const double gain = b.section == Section::Intro ? 0.55 : 0.35;
      for (int m : v) bg.push_back({start, m - 12, 16, gain, Instrument::Pad, 0});
      bg.push_back({start, b.chord.root - 12, 16, gain * 0.6, Instrument::Pad, 0});
    }
    // A count-in on the last intro bar tells the player when play begins.
    if (b.section == Section::Intro && bar == plan_.introBars - 1)
      for (int beat = 0; beat < 4; ++beat) bg.push_back({start + beat * 4, 60, 1, 0.7, Instrument::Rim, 0});
    if (b.section == Section::Intro && bar == 0) bg.push_back({start, 60, plan_.introBars * 16.0, 0.5, Instrument::Noise, 0});
    // Risers lead into every chorus; an impact lands on its first beat.
    const bool nextIsChorus = bar + 1 < plan_.bars && bars_[static_cast<size_t>(bar + 1)].section == Section::Chorus &&
                              b.section != Section::Chorus;
    if (nextIsChorus) bg.push_back({start, 60, 16, 0.6, Instrument::Riser, 0});
    if (b.section == Section::Chorus && b.indexInSection == 0) bg.push_back({start, 36, 8, 0.5, Instrument::Impact, 0});
  }

  void Ending() {
    const int start = (plan_.bars - 2) * 16;
    const BarInfo& b = bars_[static_cast<size_t>(plan_.bars - 2)];
    Chord tonic = ChordAt(0);
    (void)b;
    Add(0, start, 60, 1, 0.95, Instrument::Kick, 1);
    Add(0, start, 60, 1, 0.9, Instrument::Crash, 4);
    Add(1, start, tonic.root, 16, 0.9, kit_.bassSound);
    for (int m : Voicing(tonic, 60, 4)) Add(2, start, m, 16, 0.8, kit_.guitarSound);
    for (int m : Voicing(tonic, 64, 4)) Add(3, start, m, 16, 0.8, kit_.keysSound);
    Add(4, start, 60, 1, 0.8, Instrument::Tambourine, 4);
    Add(5, start, NearestChordTone(kit_.leadCentre, tonic), 16, 0.7, kit_.leadSound);
    for (int m : Voicing(tonic, 62, 3)) Add(6, start, m, 12, 0.8, kit_.brassSound);
    Add(7, start, NearestChordTone(67, tonic), 16, 0.8, Instrument::Choir);
    Add(8, start, NearestChordTone(79, tonic), 16, 0.6, kit_.guestSound);
    for (int m : Voicing(tonic, 60, 3)) Add(9, start, m, 24, 0.5, kit_.backingSound);
    plan_.background.push_back({start, 36, 16, 0.5, Instrument::Impact, 0});
  }

  SongPlan& plan_;
  StyleKit kit_;
  Random rng_;
  std::vector<BarInfo> bars_;
  std::map<int, Motif> motifs_;
};

}  // namespace

void Compose(SongPlan& plan) {
  Composer(plan).Run();
  for (auto& part : plan.parts)
    std::stable_sort(part.notes.begin(), part.notes.end(),
                     [](const NoteEvent& a, const NoteEvent& b) { return a.step < b.step; });
}

}  // namespace tessaru::gen
