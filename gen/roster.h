#pragma once
// The cast: one character per part index, with the code and name the records show.
#include <array>

namespace tessaru::gen {

struct Character {
  const char* code;
  const char* name;
  const char* instrument;
  const char* espeakVoice;  // voice variant for the spoken lines
  int pitch;                // espeak pitch 0..99
};

// Parts 0..9, then the fallback used for every other index.
inline constexpr std::array<Character, 11> kRoster{{
    {"KIT", "Kit", "DRUMS", "en-us+m3", 55},
    {"BAS", "Basso", "BASS", "en-us+m1", 25},
    {"RIF", "Riff", "GUITAR", "en-us+m7", 45},
    {"KEY", "Keya", "KEYS", "en-us+f2", 60},
    {"PER", "Pico", "PERCUSSION", "en-us+f4", 75},
    {"SYN", "Synthia", "SYNTH", "en-us+f3", 70},
    {"HRN", "Horne", "BRASS", "en-us+m4", 35},
    {"VOX", "Voxie", "VOICE", "en-us+f1", 80},
    {"EXT", "Guest", "GUEST", "en-us+m2", 50},
    {"???", "Backing", "BACKING", "en-us+f5", 40},
    {"???", "-", "", "en-us", 50},
}};

// Portraits and voices exist for every part index the part select can reach: the ten
// parts and up to three extension parts.
inline constexpr int kShownParts = 13;

}  // namespace tessaru::gen
