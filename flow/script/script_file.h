#pragma once
// Scripts for scripted runs: plain text, one command a line, `#` starts a comment.
//
//   at MS press KEY      a key goes down (key names as SDL names keys: Return, Left, z)
//   at MS release KEY    it comes up again
//   at MS tap KEY        down, and up 30 ms later
//   at MS shot NAME      the frame shown at that moment, written as NAME.png
//   at MS quit           as the window's close button
//   autoplay SIDE on|off that human side (1 or 2) strikes its chips on time in every stage
//   after SCREEN         the times below count from the next opening of SCREEN (a stage:
//                        from when its song's clock reads 0) instead of from the start
//
// Times are milliseconds of the game's clock and never go back within a stretch.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/indexed_array.h"

namespace tessaru {

// How long a tap holds its key down.
inline constexpr double kTapHoldMs = 30.0;

enum class ScriptAction { Press, Release, Tap, Shot, Quit };

struct ScriptEvent {
  double AtMs = 0;
  ScriptAction Action = ScriptAction::Tap;
  uint8_t Key = 0;       // virtual-key code, for the key actions
  std::string ShotName;  // file name with ".png", for a shot
  int Line = 0;
};

// Events timed from one moment: the start of the run (After empty) or the next opening
// of the screen After, once the stretch before it has begun.
struct ScriptStretch {
  std::string After;
  int Line = 0;
  std::vector<ScriptEvent> Events;
};

struct Script {
  std::vector<ScriptStretch> Stretches;  // the first one always times from the start
  PerPlayer<bool> Autoplay{false, false};
};

struct ScriptError {
  int Line = 0;  // 0: the file as a whole
  std::string Reason;
};

// The line of the script's first shot; 0 when it takes none.
int FirstShotLine(const Script& script);

// Scripts are typed or generated text; anything larger is not one.
inline constexpr size_t kMaxScriptBytes = 16u << 20;

// The script in `text`; nothing and the first line that cannot be read, with the reason.
std::optional<Script> ParseScript(std::string_view text, ScriptError& error);

// Reads and parses the file (size-checked before it is read).
std::optional<Script> LoadScript(const std::string& path, ScriptError& error);

}  // namespace tessaru
