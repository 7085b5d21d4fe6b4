#include "flow/training/training_menu.h"

#include <gtest/gtest.h>

#include "flow/tests/menu_rig.h"

namespace tessaru {
namespace {

enum class Op { Up, UpFurther, Down };

struct ValueCase {
  const char* Name;
  int Row;
  int16_t Bars, Start, End, Speed, Bgm;
  Op Change;
  int16_t WantStart, WantEnd, WantSpeed, WantBgm;
};

TEST(TrainingMenu, ValueRules) {
  const ValueCase cases[] = {
      {"start +2", kTrainingStart, 8, 0, 4, 0, 0, Op::Up, 2, 4, 0, 0},
      {"start reaching end wraps to 0", kTrainingStart, 8, 2, 4, 0, 0, Op::Up, 0, 4, 0, 0},
      {"start below 0 becomes end - 2", kTrainingStart, 8, 0, 6, 0, 0, Op::Down, 4, 6, 0, 0},
      {"start from an odd end is raised", kTrainingStart, 9, 0, 9, 0, 0, Op::Down, 8, 9, 0, 0},
      {"end +2", kTrainingEnd, 8, 0, 4, 0, 0, Op::Up, 0, 6, 0, 0},
      {"end up to the last bar", kTrainingEnd, 8, 0, 6, 0, 0, Op::Up, 0, 8, 0, 0},
      {"end past the last bar becomes start + 2", kTrainingEnd, 8, 4, 8, 0, 0, Op::Up, 4, 6, 0, 0},
      {"end past an odd last bar", kTrainingEnd, 7, 2, 6, 0, 0, Op::Up, 2, 4, 0, 0},
      {"end -2", kTrainingEnd, 8, 0, 6, 0, 0, Op::Down, 0, 4, 0, 0},
      {"end below start + 2 becomes the last bar", kTrainingEnd, 8, 2, 4, 0, 0, Op::Down, 2, 8, 0, 0},
      {"odd last bar raised to even", kTrainingEnd, 7, 0, 2, 0, 0, Op::Down, 0, 8, 0, 0},
      {"speed wraps at 0 without the further key", kTrainingSpeed, 8, 0, 2, 0, 0, Op::Up, 0, 2, -9, 1},
      {"speed passes 0 with the further key", kTrainingSpeed, 8, 0, 2, 0, 0, Op::UpFurther, 0, 2, 1, 1},
      {"speed wraps past 10", kTrainingSpeed, 8, 0, 2, 10, 1, Op::UpFurther, 0, 2, -9, 1},
      {"up to 0 leaves the track off", kTrainingSpeed, 8, 0, 2, -1, 1, Op::Up, 0, 2, 0, 1},
      {"left to -1 turns the track off", kTrainingSpeed, 8, 0, 2, 0, 0, Op::Down, 0, 2, -1, 1},
      {"left to 0 turns the track on", kTrainingSpeed, 8, 0, 2, 1, 1, Op::Down, 0, 2, 0, 0},
      {"left below -9 wraps to 0, track on", kTrainingSpeed, 8, 0, 2, -9, 1, Op::Down, 0, 2, 0, 0},
      {"bgm toggles at normal speed", kTrainingBgm, 8, 0, 2, 0, 1, Op::Down, 0, 2, 0, 0},
      {"bgm stays off while sped", kTrainingBgm, 8, 0, 2, 3, 1, Op::Up, 0, 2, 3, 1},
      {"left on song changes nothing", kTrainingSong, 8, 2, 4, 0, 0, Op::Down, 2, 4, 0, 0},
  };
  for (const ValueCase& c : cases) {
    TrainingState s;
    s.Row = c.Row;
    s.Bars = c.Bars;
    s.Start = c.Start;
    s.End = c.End;
    s.Speed = c.Speed;
    s.Bgm = c.Bgm;
    s.SongCount = 3;
    if (c.Change == Op::Down) {
      LowerTrainingValue(s);
    } else {
      RaiseTrainingValue(s, c.Change == Op::UpFurther);
    }
    EXPECT_EQ(s.Start, c.WantStart) << c.Name;
    EXPECT_EQ(s.End, c.WantEnd) << c.Name;
    EXPECT_EQ(s.Speed, c.WantSpeed) << c.Name;
    EXPECT_EQ(s.Bgm, c.WantBgm) << c.Name;
    EXPECT_EQ(s.Song, 0) << c.Name;
  }
}

TEST(TrainingMenu, SongAndPartStepping) {
  TrainingState s;
  s.SongCount = 2;
  s.PartCount = 10;
  EXPECT_TRUE(RaiseTrainingValue(s, false));
  EXPECT_EQ(s.Song, 1);
  EXPECT_TRUE(RaiseTrainingValue(s, false));
  EXPECT_EQ(s.Song, 0);
  s.Row = kTrainingPart;
  LowerTrainingValue(s);
  EXPECT_EQ(s.Part, 9);  // the last offered part, an extension part when there are any
  EXPECT_FALSE(RaiseTrainingValue(s, false));
  EXPECT_EQ(s.Part, 0);
  s.Part = 9;
  TrainingSongLoaded(s, 12, 8);  // the next song offers fewer parts
  EXPECT_EQ(s.Part, 7);
  EXPECT_EQ(s.Start, 0);
  EXPECT_EQ(s.End, 2);
  EXPECT_EQ(TrainingSpeedText(-9), "55%");
  EXPECT_EQ(TrainingSpeedText(0), "100%");
  EXPECT_EQ(TrainingSpeedText(10), "150%");
}

struct Pass {
  uint32_t At;
  const char* Keys;
  TrainingEvent Want;
  int WantRow;
  int16_t WantPart;
};

TEST(TrainingMenu, KeysRepeatAndActions) {
  using E = TrainingEvent;
  const Pass passes[] = {
      {0, "2U", E::Moved, kTrainingExit, 0},
      {10, "D", E::Moved, kTrainingSong, 0},
      {20, "D", E::Moved, kTrainingPart, 0},
      {100, "R", E::Changed, kTrainingPart, 1},    // acts at once
      {1200, "r", E::None, kTrainingPart, 1},
      {1201, "r", E::Changed, kTrainingPart, 2},   // first repeat 1101 ms after the press
      {1301, "r", E::None, kTrainingPart, 2},
      {1302, "r", E::Changed, kTrainingPart, 3},   // then every 101 ms
      {1350, "", E::None, kTrainingPart, 3},
      {1400, "l", E::None, kTrainingPart, 3},      // released and held again: no press, no act
      {1500, "E", E::Changed, kTrainingPart, 4},   // decide is a value-up key too
      {2601, "e", E::Changed, kTrainingPart, 5},
      {2650, "eX", E::Quit, kTrainingPart, 5},     // Esc while a key repeats
      {2700, "L", E::Changed, kTrainingPart, 4},
      {2800, "T", E::Play, kTrainingPart, 4},      // Tab on any row
      {2900, "1", E::Exit, kTrainingPart, 4},
  };
  TrainingState s;
  s.PartCount = 20;
  for (const Pass& p : passes) {
    EXPECT_EQ(UpdateTraining(s, Buttons(p.Keys), p.At), p.Want) << "at " << p.At;
    EXPECT_EQ(s.Row, p.WantRow) << "at " << p.At;
    EXPECT_EQ(s.Part, p.WantPart) << "at " << p.At;
  }
  struct RowCase {
    int Row;
    const char* Keys;
    E Want;
  };
  const RowCase rows[] = {{kTrainingPlay, "E", E::Play},  {kTrainingPlay, "R", E::None}, {kTrainingPlay, "L", E::None},
                          {kTrainingExit, "E", E::Exit},  {kTrainingSong, "E", E::SongChanged},
                          {kTrainingSong, "L", E::None}};
  for (const RowCase& r : rows) {
    TrainingState t;
    t.Row = r.Row;
    t.SongCount = 2;
    EXPECT_EQ(UpdateTraining(t, Buttons(r.Keys), 0), r.Want) << r.Row << r.Keys;
  }
}

}  // namespace
}  // namespace tessaru
