// The timing panel of the free-mode results: its keys, and a whole game whose presses are
// all late, with the suggestion set and saved from the panel.
#include <gtest/gtest.h>

#include <algorithm>

#include "content/song_file.h"
#include "flow/free_mode.h"
#include "flow/tests/game_rig.h"
#include "flow/timing_panel.h"
#include "stage/tempo_map.h"

namespace tessaru::flowtest {
namespace {

TEST(TimingPanel, KeysShowHideAndApplyOnlyWhileShown) {
  struct Case {
    const char* Name;
    bool Shown;
    bool HasSuggestion;
    bool Toggle;
    bool Apply;
    bool ShownAfter;
    TimingPanelEvent Event;
  };
  const Case cases[] = {
      {"F3 while hidden does nothing", false, true, false, true, false, TimingPanelEvent::None},
      {"F2 shows", false, true, true, false, true, TimingPanelEvent::None},
      {"F2 hides", true, true, true, false, false, TimingPanelEvent::None},
      {"F3 while shown applies", true, true, false, true, true, TimingPanelEvent::Apply},
      {"nothing to apply under 50 presses", true, false, false, true, true, TimingPanelEvent::None},
      {"F2 with F3 only toggles", false, true, true, true, true, TimingPanelEvent::None},
  };
  for (const Case& c : cases) {
    TimingPanelState s;
    s.Shown = c.Shown;
    if (c.HasSuggestion) s.Suggestion = int16_t{7};
    EXPECT_EQ(UpdateTimingPanel(s, c.Toggle, c.Apply), c.Event) << c.Name;
    EXPECT_EQ(s.Shown, c.ShownAfter) << c.Name;
  }
}

TEST(TimingPanel, SuggestionPoolsTheHumanSidesOnly) {
  StageOutcome stage;
  stage.Players[0].PressDeltas.assign(30, 10.0);
  stage.Players[1].PressDeltas.assign(30, 20.0);
  const struct {
    std::array<bool, 2> Humans;
    std::optional<int16_t> Suggestion;
  } cases[] = {{{true, true}, int16_t{15}}, {{true, false}, std::nullopt}, {{false, false}, std::nullopt}};
  for (const auto& c : cases) {
    const TimingPanelState s = MakeTimingPanel(stage, c.Humans);
    EXPECT_EQ(s.Suggestion, c.Suggestion);
    EXPECT_EQ(s.Sides[1].has_value(), c.Humans[1]);
  }
}

TEST(TimingPanel, SignedMsText) {
  const struct {
    double Ms;
    bool Tenths;
    const char* Text;
  } cases[] = {{12, false, "+12"},    {-3, false, "-3"},      {0, false, "+0"},          {-0.6, false, "-1"},
               {-0.04, true, "+0.0"}, {7.25, true, "+7.2"}, {-12.06, true, "-12.1"}, {-0.5, true, "-0.5"}};
  for (const auto& c : cases) EXPECT_EQ(SignedMs(c.Ms, c.Tenths), c.Text) << c.Ms;
}

const std::string kUserIni = "[USER]\r\nMAXFPS=20\r\nDIFFICULTY=2\r\n";

TEST(TimingPanel, LatePressesInFreeModeSetAndSaveTheirOffset) {
  const fs::path probe = MakeProgramFolder("timing-song");
  SongRecord song;
  std::vector<PartRecord> parts;
  ASSERT_TRUE(LoadFirstFreeSong(probe, song, parts));
  int chips = 0;
  const std::string late = kToTheStageScript + "after stage\n" + ChipTaps(song, parts[0], 12, chips);
  ASSERT_GE(chips, kSuggestMinPresses);

  struct Case {
    const char* Name;
    std::string Keys;  // on the results menu, a second apart, then Esc
    int16_t Offset;
    std::string Ini;
  };
  const Case cases[] = {
      {"F3 with the panel hidden", "at 1500 tap F3\n", 0, kUserIni},
      {"panel shown", "at 1500 tap F2\n", 0, kUserIni},
      {"panel shown and applied", "at 1500 tap F2\nat 2500 tap F3\n", 12, kUserIni + "JUDGEOFFSET=12\r\n"},
  };
  for (const Case& c : cases) {
    const fs::path folder = MakeProgramFolder(std::string("timing-") + c.Name);
    WriteFile(folder / "user.ini", kUserIni);
    std::string shot = std::string("timing-") + c.Name;
    std::replace(shot.begin(), shot.end(), ' ', '-');
    const GameRun run =
        PlayScript(folder, late + "after results\n" + c.Keys + "at 3400 shot " + shot + "\nat 3500 tap Escape\n");
    ASSERT_EQ(run.Status, kExitOk) << c.Name;
    const auto& deltas = run.TheGame->LastStage.Players[0].PressDeltas;
    ASSERT_GE(deltas.size(), static_cast<size_t>(kSuggestMinPresses)) << c.Name;
    EXPECT_NEAR(SummarizeHitTiming(deltas).Median, 12, 0.5) << c.Name;
    EXPECT_EQ(run.TheGame->Settings.JUDGEOFFSET, c.Offset) << c.Name;
    EXPECT_EQ(ReadFile(folder / "user.ini"), c.Ini) << c.Name;
    EXPECT_FALSE(fs::exists(folder / "error.txt")) << c.Name << ": " << ReadFile(folder / "error.txt");
    EXPECT_TRUE(run.Problems.empty()) << c.Name;
    EXPECT_TRUE(LooksDrawn(*run.Control)) << c.Name;
  }
}

}  // namespace
}  // namespace tessaru::flowtest
