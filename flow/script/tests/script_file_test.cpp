#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "flow/script/script_file.h"

namespace tessaru {
namespace {

TEST(ScriptFile, ReadsEveryCommandIntoItsStretch) {
  ScriptError error;
  const std::optional<Script> script = ParseScript(
      "# free mode, one stage\r\n"
      "autoplay 1 on\n"
      "AT 0 tap Return   # case does not matter\n"
      "at 1500.5 press z\n"
      "  at 1500.5 release Z\n"
      "at 1600 tap Keypad 0\n"
      "at 1700 tap enter\n"
      "at 2000 shot title\n"
      "after stage\n"
      "at 0 tap ,\n"
      "at 250 shot mid-song.png\n"
      "autoplay 2P on\n"
      "autoplay 1 off\n"
      "after results\n"
      "at 100 quit\n",
      error);
  ASSERT_TRUE(script) << error.Line << ": " << error.Reason;
  ASSERT_EQ(script->Stretches.size(), 3u);
  EXPECT_EQ(script->Stretches[0].After, "");
  EXPECT_EQ(script->Stretches[1].After, "stage");
  EXPECT_EQ(script->Stretches[1].Line, 9);
  EXPECT_EQ(script->Stretches[2].After, "results");
  EXPECT_EQ(script->Autoplay, (PerPlayer<bool>{false, true}));
  EXPECT_EQ(FirstShotLine(*script), 8);

  struct Want {
    size_t Stretch, Index;
    double AtMs;
    ScriptAction Action;
    uint8_t Key;
    const char* Shot;
    int Line;
  };
  const Want wants[] = {
      {0, 0, 0, ScriptAction::Tap, 0x0D, "", 3},          {0, 1, 1500.5, ScriptAction::Press, 0x5A, "", 4},
      {0, 2, 1500.5, ScriptAction::Release, 0x5A, "", 5}, {0, 3, 1600, ScriptAction::Tap, 0x60, "", 6},
      {0, 4, 1700, ScriptAction::Tap, 0x0D, "", 7},       {0, 5, 2000, ScriptAction::Shot, 0, "title.png", 8},
      {1, 0, 0, ScriptAction::Tap, 0xBC, "", 10},         {1, 1, 250, ScriptAction::Shot, 0, "mid-song.png", 11},
      {2, 0, 100, ScriptAction::Quit, 0, "", 15},
  };
  for (const Want& w : wants) {
    const auto& events = script->Stretches[w.Stretch].Events;
    ASSERT_LT(w.Index, events.size()) << w.Line;
    const ScriptEvent& e = events[w.Index];
    EXPECT_EQ(e.AtMs, w.AtMs) << w.Line;
    EXPECT_EQ(e.Action, w.Action) << w.Line;
    EXPECT_EQ(e.Key, w.Key) << w.Line;
    EXPECT_EQ(e.ShotName, w.Shot) << w.Line;
    EXPECT_EQ(e.Line, w.Line);
  }
}

TEST(ScriptFile, ALineThatCannotBeReadStopsWithItsNumberAndReason) {
  struct Case {
    const char* Text;
    int Line;
    const char* Reason;
  };
  const Case cases[] = {
      {"at 10 tap Return\nat 20 tap Foo\n", 2, "no key is named 'Foo'"},
      {"at 10 tap\n", 1, "tap needs a key name"},
      {"at 500 tap z\n\nat 499 tap z\n", 3, "the time '499' goes back before the line 1 above"},
      {"at -1 tap z\n", 1, "the time '-1' is not a number of milliseconds from 0 to 86400000"},
      {"at 1e12 tap z\n", 1, "the time '1e12' is not a number of milliseconds from 0 to 86400000"},
      {"at soon tap z\n", 1, "the time 'soon' is not a number of milliseconds from 0 to 86400000"},
      {"at nan tap z\n", 1, "the time 'nan' is not a number of milliseconds from 0 to 86400000"},
      {"at 10 hold z\n", 1, "unknown action 'hold' (press, release, tap, shot or quit)"},
      {"wait 10\n", 1, "unknown command 'wait' (at, autoplay or after)"},
      {"at 10 quit now\n", 1, "quit takes nothing after it"},
      {"at 10 shot ../../etc/passwd\n", 1,
       "the shot name '../../etc/passwd' must be letters, digits, '-', '_' and '.', not starting with '.'"},
      {"at 10 shot\n", 1, "the shot name '' must be letters, digits, '-', '_' and '.', not starting with '.'"},
      {"autoplay 3 on\n", 1, "autoplay needs the side, 1 or 2, not '3'"},
      {"autoplay 1 yes\n", 1, "autoplay 1 must be on or off, not 'yes'"},
      {"after nowhere\n", 1, "no screen is named 'nowhere' ("},
  };
  for (const Case& c : cases) {
    ScriptError error;
    EXPECT_FALSE(ParseScript(c.Text, error)) << c.Text;
    EXPECT_EQ(error.Line, c.Line) << c.Text;
    EXPECT_TRUE(error.Reason.starts_with(c.Reason)) << c.Text << " -> " << error.Reason;
  }
}

TEST(ScriptFile, TimesStartAgainAfterEachScreenAndAnEmptyScriptIsOne) {
  ScriptError error;
  const auto script = ParseScript("at 5000 tap z\nafter title\nat 0 tap z\n", error);
  ASSERT_TRUE(script) << error.Reason;
  EXPECT_EQ(script->Stretches[1].Events[0].AtMs, 0);
  const auto empty = ParseScript("# nothing\n\n", error);
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->Stretches.size(), 1u);
  EXPECT_EQ(FirstShotLine(*empty), 0);
}

TEST(ScriptFile, LoadingAFileChecksItBeforeReadingIt) {
  const std::filesystem::path folder = std::filesystem::path(TESSARU_SCRATCH) / "script-files";
  std::filesystem::create_directories(folder);
  ScriptError error;
  EXPECT_FALSE(LoadScript((folder / "missing.txt").string(), error));
  EXPECT_EQ(error.Line, 0);
  EXPECT_TRUE(error.Reason.starts_with("cannot be read")) << error.Reason;
  const auto big = folder / "big.txt";
  std::ofstream(big).put('#');
  std::filesystem::resize_file(big, kMaxScriptBytes + 1);
  EXPECT_FALSE(LoadScript(big.string(), error));
  EXPECT_TRUE(error.Reason.find("at most") != std::string::npos) << error.Reason;
  std::ofstream(folder / "ok.txt") << "at 10 tap z\n";
  EXPECT_TRUE(LoadScript((folder / "ok.txt").string(), error));
}

}  // namespace
}  // namespace tessaru
