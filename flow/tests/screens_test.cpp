// The menu screens' Update: what one pass does with the buttons, without any device.
#include <gtest/gtest.h>

#include "flow/free_mode.h"
#include "flow/free_mode_setting.h"
#include "flow/match_up.h"
#include "flow/part_select.h"
#include "flow/song_select.h"
#include "flow/tests/menu_rig.h"

namespace tessaru {
namespace {

// Esc wins over the buttons pressed with it; F1 too.
constexpr const char* kEsc = "XUE";
constexpr const char* kF1 = "1E";

TEST(FreeSettingScreen, UpdateMovesChangesAndDecides) {
  using E = ScreenEvent;
  struct Case {
    const char* Name;
    SpecialPlayCounts Plays;
    int Row, Column;
    const char* Key;
    E Event;
    int WantRow, WantColumn;
    int16_t Side2Mode;  // Values[1] afterwards (starts at 1, COMPUTER)
  };
  const Case cases[] = {
      {"up from START skips the hidden rows", {}, kRowStart, 0, "U", E::Moved, kRowStyle, 0, 1},
      {"down from START wraps to MODE", {}, kRowStart, 0, "D", E::Moved, kRowMode, 0, 1},
      {"up with every row open", Played({3}), kRowStyle, 0, "U", E::Moved, kRowTiming, 0, 1},
      {"right on a player row switches side", {}, kRowMode, 0, "R", E::Moved, kRowMode, 1, 1},
      {"left goes back to side 1", {}, kRowMode, 1, "L", E::Moved, kRowMode, 0, 1},
      {"STYLE has one column without RAPID", {}, kRowStyle, 0, "R", E::Moved, kRowStyle, 0, 1},
      {"STYLE has two with RAPID", Played({22}), kRowStyle, 0, "R", E::Moved, kRowStyle, 1, 1},
      {"onto STYLE from side 2 without RAPID", {}, kRowHandicap, 1, "D", E::Moved, kRowStyle, 0, 1},
      {"decide on a cell changes it", {}, kRowMode, 1, "E", E::Changed, kRowMode, 1, 0},
      {"decide on START", {}, kRowStart, 0, "E", E::Decided, kRowStart, 0, 1},
      {"the move comes before the decision", {}, kRowMode, 0, "UE", E::Decided, kRowStart, 0, 1},
      {"Esc quits and nothing moves", {}, kRowMode, 1, kEsc, E::Quit, kRowMode, 1, 1},
      {"F1 goes back unchanged", {}, kRowMode, 1, kF1, E::Back, kRowMode, 1, 1},
      {"nothing pressed", {}, kRowMode, 1, "", E::None, kRowMode, 1, 1},
  };
  for (const Case& c : cases) {
    FreeSettingScreen s;
    s.Plays = c.Plays;
    s.Values[1] = 1;
    s.Row = c.Row;
    s.Column = c.Column;
    EXPECT_EQ(Update(s, Buttons(c.Key), 0), c.Event) << c.Name;
    EXPECT_EQ(s.Row, c.WantRow) << c.Name;
    EXPECT_EQ(s.Column, c.WantColumn) << c.Name;
    EXPECT_EQ(s.Values[1], c.Side2Mode) << c.Name;
  }
}

TEST(FreeResultsScreen, UpdateWrapsTheCursorAndDecidesWhereItStands) {
  using E = ScreenEvent;
  struct Case {
    int Cursor;
    const char* Key;
    E Event;
    int Want;
  };
  const Case cases[] = {{0, "U", E::Moved, 4},       {4, "D", E::Moved, 0},   {2, "E", E::Decided, 2},
                        {0, "UE", E::Decided, 4}, {3, "2E", E::Decided, 3}, {1, kEsc, E::Quit, 1},
                        {1, kF1, E::Back, 1},        {1, "", E::None, 1}};
  for (const Case& c : cases) {
    FreeResultsScreen s;
    s.Cursor = c.Cursor;
    EXPECT_EQ(Update(s, Buttons(c.Key), 0), c.Event) << c.Cursor << " " << c.Key;
    EXPECT_EQ(s.Cursor, c.Want) << c.Cursor << " " << c.Key;
  }
  // The choices keep their menu order: the flow acts on the cursor's value.
  EXPECT_EQ(static_cast<int>(FreeChoice::Setting), 4);
}

TEST(FreeResultsScreen, ShowsTheOutcomeAndShortensTheTitle) {
  StageSetup setup;
  setup.ComSkill = {-1, 40, 99, 99};
  StageOutcome o;
  o.Players[0].StageScore = 97;
  o.Players[1].StagePoints = 1234;
  const FreeResultsScreen s = MakeFreeResultsScreen(std::string(50, 'x'), setup, o);
  EXPECT_EQ(s.Title.size(), 36u);
  EXPECT_EQ(s.Computer, (PerPlayer<bool>{false, true}));
  EXPECT_EQ(s.Scores[0], 97);
  EXPECT_EQ(s.Points[1], 1234);
}

TEST(SongSelectScreen, UpdateTurnsAndDecidesOnlyWithSongs) {
  using E = ScreenEvent;
  struct Case {
    int Songs;
    const char* Key;
    E Event;
    int Cursor;
  };
  const Case cases[] = {{3, "R", E::Moved, 2}, {3, "L", E::Moved, 0}, {3, "E", E::Decided, 1},
                        {0, "E", E::None, 0}, {3, kEsc, E::Quit, 1},   {3, kF1, E::Back, 1}};
  for (const Case& c : cases) {
    SongSelectScreen s{SongCarousel(c.Songs, c.Songs > 0 ? 1 : 0), std::vector<SongCard>(static_cast<size_t>(c.Songs)),
                       0, false};
    EXPECT_EQ(Update(s, Buttons(c.Key), 50), c.Event) << c.Songs << " " << c.Key;
    EXPECT_EQ(s.Carousel.Cursor(), c.Cursor) << c.Songs << " " << c.Key;
  }
}

TEST(MatchUpScreen, UpdateEndsAfterFourSecondsOrOnAButton) {
  using E = ScreenEvent;
  struct Case {
    uint32_t T;
    const char* Key;
    E Event;
  };
  const Case cases[] = {{3999, "", E::None},    {kMatchUpMs, "", E::Decided}, {10, "E", E::Decided},
                        {10, "2A", E::Decided}, {10, kF1, E::Back},             {10, kEsc, E::Quit},
                        {kMatchUpMs, kEsc, E::Decided}};
  for (const Case& c : cases) {
    MatchUpScreen s;
    EXPECT_EQ(Update(s, Buttons(c.Key), c.T), c.Event) << c.T << " " << c.Key;
  }
}

TEST(PartSelectScreen, PicksSettleInTurnAndHoldBeforeLeaving) {
  using E = ScreenEvent;
  const std::vector<int16_t> offered{0, 1, 2, 3, 4, 5, 6, 7};
  struct Pass {
    const char* Key;
    uint32_t Now;
    E Event;
    bool DrawComputers;
  };
  struct Case {
    const char* Name;
    PerPlayer<bool> Computer;
    bool ComByHand;
    std::vector<Pass> Passes;
    PerPlayer<int16_t> Parts;  // afterwards (the previous parts were 5 and 6)
    bool Done;
  };
  const Case cases[] = {
      {"a human against the computer", {false, true}, false,
       {{"D", 10, E::None, false}, {"E", 20, E::None, true}, {"", 719, E::None, false},
        {"", 720, E::Decided, false}},
       {6, 6}, true},
      {"two humans each decide with their own button", {false, false}, false,
       {{"E", 10, E::None, false}, {"2E", 20, E::None, true}},
       {5, 6}, true},
      {"the computer side is picked by hand on the next pass", {false, true}, true,
       {{"E", 10, E::None, false}, {"", 20, E::None, false}, {"D", 30, E::None, false},
        {"E", 40, E::None, true}},
       {5, 7}, true},
      {"F1 goes back while picking", {false, true}, false, {{kF1, 10, E::Back, false}}, {5, 6}, false},
      {"F1 goes back during the hold too", {false, true}, false,
       {{"E", 10, E::None, true}, {kF1, 20, E::Back, false}}, {5, 6}, true},
      {"Esc quits during the hold", {false, true}, false,
       {{"E", 10, E::None, true}, {kEsc, 20, E::Quit, false}}, {5, 6}, true},
  };
  for (const Case& c : cases) {
    PartSelectScreen s = MakePartSelectScreen(offered, c.Computer, c.ComByHand, {5, 6});
    for (size_t i = 0; i < c.Passes.size(); ++i) {
      const Pass& p = c.Passes[i];
      const PartSelectStep step = Update(s, Buttons(p.Key), p.Now);
      EXPECT_EQ(step.Event, p.Event) << c.Name << " pass " << i;
      EXPECT_EQ(step.DrawComputers, p.DrawComputers) << c.Name << " pass " << i;
    }
    EXPECT_EQ(s.Part, c.Parts) << c.Name;
    EXPECT_EQ(s.Done, c.Done) << c.Name;
  }
}

TEST(PartSelectScreen, TheReplayDialogTakesTheButtonsWhileOpen) {
  using E = ScreenEvent;
  struct Case {
    const char* Name;
    bool Offered;
    std::vector<const char*> Keys;
    E LastEvent;
    bool Open;                // the dialog afterwards
    PerPlayer<int> Entry;     // the replays chosen
    PerPlayer<bool> Settled;
    PerPlayer<int16_t> Parts;  // the previous parts were 5 and 6; the entries are parts 2 and 3
  };
  const Case cases[] = {
      {"Tab opens it in free mode", true, {"T"}, E::None, true, {-1, -1}, {false, false}, {5, 6}},
      {"not offered: Tab does nothing", false, {"T", "E"}, E::None, false, {-1, -1}, {true, false}, {5, 6}},
      {"F1 closes only the dialog", true, {"T", kF1}, E::None, false, {-1, -1}, {false, false}, {5, 6}},
      {"F1 after closing goes back", true, {"T", kF1, kF1}, E::Back, false, {-1, -1}, {false, false}, {5, 6}},
      {"Esc quits from the dialog", true, {"T", kEsc}, E::Quit, true, {-1, -1}, {false, false}, {5, 6}},
      {"decide plays the 1P entry and settles 1P", true, {"T", "D", "E"}, E::None, false, {1, -1},
       {true, false}, {3, 6}},
      {"the 2P column settles the computer side", true, {"T", "R", "E"}, E::None, false, {-1, 0},
       {false, true}, {5, 2}},
      {"the buttons do not move the part cursor meanwhile", true, {"T", "D", "T", "E"}, E::None, false,
       {-1, -1}, {true, false}, {5, 6}},
  };
  for (const Case& c : cases) {
    PartSelectScreen s = MakePartSelectScreen({0, 1, 2, 3, 4, 5, 6, 7}, {false, true}, false, {5, 6});
    s.ReplaysOffered = c.Offered;
    s.Dialog.Entries = {{"a2-000.zxr", 2}, {"a3-000.zxr", 3}};
    E last = E::None;
    for (const char* k : c.Keys) last = Update(s, Buttons(k), 10).Event;
    EXPECT_EQ(last, c.LastEvent) << c.Name;
    EXPECT_EQ(s.Dialog.Open, c.Open) << c.Name;
    EXPECT_EQ(s.ReplayEntry, c.Entry) << c.Name;
    EXPECT_EQ(s.Settled, c.Settled) << c.Name;
    EXPECT_EQ(s.Part, c.Parts) << c.Name;
  }
}

TEST(FreeModeFlow, EachStepLeadsWhereItsResultSays) {
  using enum FreeStep;
  const auto choice = [](FreeChoice c) { return static_cast<int16_t>(c); };
  struct Case {
    FreeStep From;
    int16_t Code;
    bool Quit;
    FreeStep To;
  };
  const Case cases[] = {
      {Setting, 1, false, Song},       {Setting, -1, false, Leave},   {Song, 0, false, Load},
      {Song, -2, false, Setting},      {Load, 0, false, Parts},       {Parts, 1, false, MatchUp},
      {Parts, -1, false, Song},        {MatchUp, 1, false, Play},     {MatchUp, -1, false, Parts},
      {Play, 0, false, Results},       {Play, -1, false, Leave},      {Reload, 0, false, MatchUp},
      {Results, choice(FreeChoice::SameSong), false, Reload},
      {Results, choice(FreeChoice::PartSelect), false, Parts},
      {Results, choice(FreeChoice::SongSelect), false, Song},
      {Results, choice(FreeChoice::Setting), false, Setting},
      {Results, choice(FreeChoice::Title), false, Leave},
      // Esc on any screen ends the visit, whatever the screen returned.
      {Song, 0, true, Leave},          {Results, choice(FreeChoice::PartSelect), true, Leave},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NextFreeStep(c.From, c.Code, c.Quit), c.To)
        << static_cast<int>(c.From) << " " << c.Code << " " << c.Quit;
  }
}

}  // namespace
}  // namespace tessaru
