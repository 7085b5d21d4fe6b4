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

  // On the results menu: F3 with the panel hidden and F2 alone change nothing (the offset
  // in use is sampled at every frame); F3 with the panel shown applies and saves.
  const fs::path folder = MakeProgramFolder("timing-late", {}, kUserIni);
  std::vector<std::pair<double, int16_t>> offsets;
  const GameRun run = PlayScript(
      folder,
      late + "after results\nat 1500 tap F3\nat 2500 tap F2\nat 3500 tap F3\nat 4400 shot timing-applied\n"
             "at 4500 tap Escape\n",
      {.Setup = [&](Game& g, platform::HeadlessControl& c) {
        c.SetPresentHook([&] { offsets.emplace_back(g.Clock().NowMs(), g.Settings.JUDGEOFFSET); });
      }});
  ASSERT_EQ(run.Status, kExitOk);
  const auto& deltas = run.TheGame->LastStage.Players[0].PressDeltas;
  ASSERT_GE(deltas.size(), static_cast<size_t>(kSuggestMinPresses));
  EXPECT_NEAR(SummarizeHitTiming(deltas).Median, 12, 0.5);
  ASSERT_EQ(run.Screens.back().Name, "results");
  const double results = run.Screens.back().AtMs;
  int before = 0;
  for (const auto& [at, offset] : offsets) {
    if (at < results + 1600 || at > results + 3400) continue;
    ++before;
    EXPECT_EQ(offset, 0) << "at " << at - results << " ms on the results";
  }
  EXPECT_GT(before, 5);
  EXPECT_EQ(run.TheGame->Settings.JUDGEOFFSET, 12);
  EXPECT_EQ(ReadFile(folder / "user.ini"), kUserIni + "JUDGEOFFSET=12\r\n");
  EXPECT_FALSE(fs::exists(folder / "error.txt")) << ReadFile(folder / "error.txt");
  EXPECT_TRUE(run.Problems.empty());
  EXPECT_TRUE(LooksDrawn(*run.Control));
}

}  // namespace
}  // namespace tessaru::flowtest
