#pragma once
// Whole games for the tests: scripted runs of the real GameMain on the headless devices, in
// a program folder of their own whose data are links to the generated data folder.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "content/song_file.h"
#include "content/song_list.h"
#include "core/testing/linked_folder.h"
#include "flow/free_mode.h"
#include "flow/game.h"
#include "flow/game_main.h"
#include "flow/script/script_run.h"
#include "platform/headless.h"
#include "stage/tempo_map.h"

namespace tessaru::flowtest {

namespace fs = std::filesystem;

inline constexpr uint8_t kKeyEnter = 13;
inline constexpr uint8_t kKeyEscape = 27;
inline constexpr uint8_t kKeyF1 = 112;
inline constexpr uint8_t kKeyDown = 40;
inline constexpr uint8_t kKeyLeft = 37;
inline constexpr uint8_t kKeyUp = 38;
inline constexpr uint8_t kKeyRight = 39;
inline constexpr uint8_t kKeyTab = 9;
inline constexpr uint8_t kKeyDelete = 0x2E;
inline constexpr uint8_t kKeyF2 = 113;
inline constexpr uint8_t kKeyF3 = 114;
// Player 1's lanes 1..4 (Z X C V).
inline constexpr uint8_t kLaneKeys[5] = {0, 0x5A, 0x58, 0x43, 0x56};

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

// A fresh program folder under the scratch folder: every entry of the generated data
// folder linked in, except `without` (a path relative to it), which is left out; with a
// `user.ini` of `userIni` when one is given.
inline fs::path MakeProgramFolder(const std::string& name, const std::string& without = {},
                                  const std::string& userIni = {}) {
  const fs::path root = fs::path(TESSARU_SCRATCH) / name;
  fs::remove_all(root);
  const std::vector<std::string> left = without.empty() ? std::vector<std::string>{} : std::vector<std::string>{without};
  testing_support::LinkFolder(TESSARU_DATA_DIR, root, left, [](const std::string& file) {
    return file.ends_with(".ini") || file == "error.txt" || file == "replay";
  });
  if (!userIni.empty()) WriteFile(root / "user.ini", userIni);
  return root;
}

// A finished screen has a picture: many colours and little plain black.
inline bool LooksDrawn(const platform::HeadlessControl& control) {
  int w = 0;
  int h = 0;
  const std::vector<uint16_t>& frame = control.LastFrame(&w, &h);
  std::vector<bool> seen(65536, false);
  int colours = 0;
  size_t black = 0;
  for (uint16_t px : frame) {
    if (px == 0) ++black;
    if (!seen[px]) {
      seen[px] = true;
      ++colours;
    }
  }
  return !frame.empty() && colours > 64 && black < frame.size() / 2;
}

// Keeps the last frame as `name`.png in the scratch folder's "screens" for a look, and says
// whether it looks drawn.
inline bool KeepPicture(const platform::HeadlessControl& control, const std::string& name) {
  const fs::path folder = fs::path(TESSARU_SCRATCH) / "screens";
  fs::create_directories(folder);
  EXPECT_TRUE(control.SaveLastFramePng((folder / (name + ".png")).string())) << name;
  return LooksDrawn(control);
}

// Pictures taken during a run: call Take from the devices' present hook; the first frame
// shown at or after each time (game ms) is kept under its name.
struct PicturesAt {
  std::vector<std::pair<double, std::string>> At;
  std::vector<std::string> Drawn;  // the names of those that looked drawn

  void Take(double nowMs, const platform::HeadlessControl& control) {
    while (next_ < At.size() && nowMs >= At[next_].first) {
      if (KeepPicture(control, At[next_].second)) Drawn.push_back(At[next_].second);
      ++next_;
    }
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& [at, name] : At) names.push_back(name);
    return names;
  }

 private:
  size_t next_ = 0;
};

// The first song free mode offers, loaded from the folder as the game would find it.
inline bool LoadFirstFreeSong(const fs::path& folder, SongRecord& song, std::vector<PartRecord>& parts) {
  platform::HeadlessPlatform probe = platform::CreateHeadlessPlatform();
  Game g(std::move(probe.platform), folder.string());
  LoadGameSettings(g);
  if (!LoadSongList(g.Songs, g.Song, g.Parts, g.DataPath, 0, g.Errors)) return false;
  const std::vector<int16_t> offered = FreeSongList(g.Songs, g.Records);
  return !offered.empty() &&
         LoadSongFile(song, parts, g.Songs.SongPaths[static_cast<size_t>(offered[0])], false);
}

// The menus to a free-mode stage as a script: FREE MODE, START, the first song, part 1,
// the match-up.
inline const std::string kToTheStageScript =
    "at 1500 tap Return\nat 3000 tap Return\nat 4500 tap Return\nat 6000 tap Return\nat 8000 tap Return\n";

// The steps of `part` that hold a chip, within the song's bars.
inline std::vector<int32_t> ChipSteps(const SongRecord& song, const PartRecord& part) {
  std::vector<int32_t> steps;
  const size_t end = std::min(part.StepWords.size(), static_cast<size_t>(song.Bars) * kStepsPerBar);
  for (size_t s = 0; s < end; ++s) {
    if (part.StepWords[s] >= 1 && part.StepWords[s] <= 4) steps.push_back(static_cast<int32_t>(s));
  }
  return steps;
}

// Script lines (for a stretch after "after stage") that strike every chip of player 1's
// `part` at its time on the song's clock plus `lateMs`; `chips` is set to their number.
inline std::string ChipTaps(const SongRecord& song, const PartRecord& part, double lateMs, int& chips) {
  static constexpr std::string_view kLaneNames[5] = {"", "z", "x", "c", "v"};
  std::string lines;
  const std::vector<int32_t> steps = ChipSteps(song, part);
  for (const int32_t s : steps) {
    const double at = StepToTime(song, s) - song.BgmOffset + lateMs;
    lines += "at " + std::to_string(at) + " tap " + std::string(kLaneNames[part.StepWords[static_cast<size_t>(s)]]) + "\n";
  }
  chips = static_cast<int>(steps.size());
  return lines;
}

struct KeyPress {
  double AtMs;
  uint8_t Key;
};

// A whole game is a scripted run: the runner, its report, the devices and the game.
using GameRun = ScriptRun;

// Taps of each key at its time, from the start of the run.
inline Script TapScript(const std::vector<KeyPress>& keys) {
  Script script;
  script.Stretches.emplace_back();
  for (const KeyPress& k : keys) script.Stretches[0].Events.push_back({k.AtMs, ScriptAction::Tap, k.Key, {}, 0});
  std::stable_sort(script.Stretches[0].Events.begin(), script.Stretches[0].Events.end(),
                   [](const ScriptEvent& a, const ScriptEvent& b) { return a.AtMs < b.AtMs; });
  return script;
}

// The script in `text`; a test fails on one that cannot be read.
inline Script ScriptText(const std::string& text) {
  ScriptError error;
  std::optional<Script> script = ParseScript(text, error);
  EXPECT_TRUE(script) << "line " << error.Line << ": " << error.Reason;
  return script ? std::move(*script) : Script{{ScriptStretch{}}, {false, false}};
}

inline ProgramFolders FoldersOf(const fs::path& folder) {
  return ProgramFolders{folder.string(), folder.string(), {}, {}, {}};
}

// What a test may add to a run: `Prepare` sets the devices up before the start, `Setup`
// the game before GameMain runs it; `StageEvents` gives each stage events from its song's
// start; `Pictures` are taken as the frames are shown.
struct RunHooks {
  std::function<void(platform::HeadlessControl&)> Prepare = {};
  std::function<void(Game&, platform::HeadlessControl&)> Setup = {};
  std::function<std::vector<ScriptEvent>(const StageContext&)> StageEvents = {};
  PicturesAt* Pictures = nullptr;
};

// Plays the game from start to exit.
inline GameRun RunGame(const ProgramFolders& folders, const Script& script, const RunHooks& hooks = {}) {
  ScriptRunOptions options;
  options.StageEvents = hooks.StageEvents;
  options.Folders = folders;
  options.FramesFolder = (fs::path(TESSARU_SCRATCH) / "screens").string();
  fs::create_directories(options.FramesFolder);
  platform::HeadlessControl* control = nullptr;
  options.PrepareDevices = [&](platform::HeadlessControl& c) {
    control = &c;
    if (hooks.Prepare) hooks.Prepare(c);
  };
  options.PrepareGame = [&](Game& g) {
    if (hooks.Pictures) control->SetPresentHook([&g, control, &hooks] { hooks.Pictures->Take(g.Clock().NowMs(), *control); });
    if (hooks.Setup) hooks.Setup(g, *control);
  };
  return RunScript(script, options);
}

inline GameRun RunGame(const ProgramFolders& folders, const std::vector<KeyPress>& keys, const RunHooks& hooks = {}) {
  return RunGame(folders, TapScript(keys), hooks);
}

inline GameRun RunGame(const fs::path& folder, const std::vector<KeyPress>& keys, const RunHooks& hooks = {}) {
  return RunGame(FoldersOf(folder), TapScript(keys), hooks);
}

inline GameRun PlayScript(const fs::path& folder, const std::string& scriptText, const RunHooks& hooks = {}) {
  return RunGame(FoldersOf(folder), ScriptText(scriptText), hooks);
}

}  // namespace tessaru::flowtest
