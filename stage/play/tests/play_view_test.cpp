#include "stage/play/play_view.h"

#include <gtest/gtest.h>

#include "layout/play_layout.h"
#include "stage/play/background_view.h"
#include "stage/play/tests/play_test_rig.h"
#include "stage/tempo_map.h"

namespace tessaru::playtest {
namespace {

// One frame of the play screen composed by hand: assets loaded as a stage loads them,
// the engine at a chosen song time.
struct ViewRig {
  PlayRig Rig;
  StageContext Context;
  PlayAssets Assets;
  std::unique_ptr<Stage> Engine;
  std::unique_ptr<PlayView> View;

  explicit ViewRig(const SongOptions& song, PlayViewOptions options = {}, int16_t visibility = 0)
      : Rig("view", song), Context(Rig.Context()) {
    Context.Setup.VisibilityOpt = {visibility, 0};
    EXPECT_TRUE(LoadPlayAssets(Context, Assets)) << Rig.Devices->Errors.Text();
    StageSetup setup = Context.Setup;
    setup.Settings.EffectSwing = EffectSwing(0);
    Engine = std::make_unique<Stage>(Context.Song, Context.Parts, setup, Rig.Rng);
    options.VisibilityOpt = {visibility, 0};
    View = std::make_unique<PlayView>(*Rig.Devices->Graph, Assets, *Engine, options);
    View->Begin();
  }
  GraphLib& G() { return *Rig.Devices->Graph; }
  uint16_t Frame(int x, int y) { return G().Pixels(BackIndex)[static_cast<size_t>(y * 640 + x)]; }
  uint16_t Sheet(int row, int x, int y) {
    const BltArea cell = ChipSheetRow(row, 0);
    return G().Pixels(Assets.ChipSheet)[static_cast<size_t>((cell.Y + y) * 640 + cell.X + x)];
  }
  // The middle of lane `lane` in slot `slot` of player 1's page.
  ScreenPoint LaneMiddle(int slot, int lane) {
    const ScreenPoint at = SlotPosition(0, 0, slot, 0);
    return {at.X + (lane - 1) * 25 + 12, at.Y + 5};
  }
};

SongOptions OneChip(int32_t step, int16_t lane) {
  SongOptions song;
  song.Bars = 4;
  song.Chips = {{step, lane}};
  return song;
}

TEST(PlayView, ChipPictureFollowsColourVisibilityAndVanish) {
  // One chip at Step on Lane; the slot looked at is Look. WantRow -1: anything but the chip.
  struct Case { int16_t Colour, Visibility; int32_t Step, Look; int16_t Lane; bool Cut; int WantRow; };
  // The cursor is at step 0: HIDDEN (2) covers steps 1..7, SUDDEN (1) leaves 1..4 open.
  const Case cases[] = {
      {0, 0, 6, 6, 3, false, 3},  {1, 0, 6, 6, 3, false, ChipRowFor(1, 3)},  // COLOR, GRAY
      {2, 0, 6, 6, 3, false, ChipRowFor(2, 3)}, {3, 0, 6, 6, 3, false, ChipRowFor(3, 3)},
      {1, 0, 6, 7, 3, false, kChipRowEmpty},  // a slot without a chip
      {0, 2, 3, 3, 2, false, kChipRowCover}, {0, 2, 9, 9, 2, false, 2},
      {0, 1, 3, 3, 2, false, 2},  {0, 1, 6, 6, 2, false, kChipRowCover},
      {0, 3, 4, 4, 2, false, 2},  {0, 3, 5, 5, 2, false, kChipRowCover},  {0, 0, 3, 3, 2, false, 2},
      {0, 4, 6, 6, 1, false, -1}, {0, 4, 6, 6, 1, true, 1},  // VANISH hides the page only while playing
  };
  for (const Case& k : cases) {
    PlayViewOptions o;
    o.ColorOpt = {k.Colour, 0};
    ViewRig v(OneChip(k.Step, k.Lane), o, k.Visibility);
    v.Engine->Update(0);
    if (k.Cut) v.Engine->Cut();
    v.View->Draw();
    const ScreenPoint at = v.LaneMiddle(k.Look, k.Lane);
    const int x = (k.Lane - 1) * 25 + 12;
    const int row = k.WantRow < 0 ? ChipRowFor(k.Colour, k.Lane) : k.WantRow;
    EXPECT_EQ(v.Frame(at.X, at.Y) == v.Sheet(row, x, 5), k.WantRow >= 0)
        << "colour " << k.Colour << " visibility " << k.Visibility << " step " << k.Step << " cut " << k.Cut;
  }
}

TEST(PlayView, AStruckChipIsPushedAsideAndTheRowLeftBehindIsRefilled) {
  SongOptions song;
  song.Bars = 4;
  song.Chips = {{6, 1}, {38, 2}};
  ViewRig v(song);
  const double chip = StepToTime(v.Context.Song, 6);
  v.Engine->Update(static_cast<int32_t>(chip));
  v.Engine->Press(0, 1, chip);
  v.Engine->Update(static_cast<int32_t>(chip) + 1);
  v.View->AfterUpdate();
  v.View->Draw();
  const ScreenPoint at = v.LaneMiddle(6, 1);
  // A just hit shifts the chip right by half the swing (player 1 in style 0).
  EXPECT_EQ(v.Frame(at.X + EffectSwing(0) / 2, at.Y), v.Sheet(1, 12, 5));
  // Once the cursor is in the second row, the first row shows the next block: the chip
  // of step 38 sits in slot 6, on lane 2, and the hit's shift is gone.
  v.Engine->Update(static_cast<int32_t>(StepToTime(v.Context.Song, 17)));
  v.View->AfterUpdate();
  v.View->Draw();
  const ScreenPoint next = v.LaneMiddle(6, 2);
  EXPECT_EQ(v.Frame(next.X, next.Y), v.Sheet(2, 37, 5));
  EXPECT_EQ(v.Engine->ChipEffects().At(0, 6).State, 1);
}

TEST(PlayView, AnimationEntriesNamingWhatIsNotThereDrawNothing) {
  ViewRig v(OneChip(6, 1));
  ASSERT_TRUE(v.Assets.HasBga);
  const int valid = DrawBga(v.G(), v.Assets, 1000);
  EXPECT_EQ(valid, 2);
  BgaRecord& b = v.Assets.Bga;
  // Drop the spare entries the loader keeps after each table.
  b.Objs.resize(static_cast<size_t>(b.ObjCount));
  b.Progs.resize(static_cast<size_t>(b.ProgCount));
  b.Objs.push_back({"NOPIC", 7, 0, 0, 10, 10, 1});        // picture 7 does not exist
  b.Objs.push_back({"OUTSIDE", 1, 600, 0, 100, 10, 1});   // reaches past the page
  b.Objs.push_back({"NEGATIVE", 1, -5, 0, 10, 10, 1});
  b.ObjCount = static_cast<int16_t>(b.Objs.size());
  for (int16_t obj : {int16_t{3}, int16_t{4}, int16_t{5}, int16_t{40}, int16_t{-2}}) {
    BgaProg q;
    q.ProgB = obj;
    q.Q = {2, 10, 10, 10, 10, 0, 0, 0, 0, 0};  // zero periods as well
    b.Progs.push_back(q);
  }
  BgaProg badAnim;
  badAnim.ProgB = 9;  // no such animated object
  badAnim.ProgC = 1;
  b.Progs.push_back(badAnim);
  b.ProgCount = static_cast<int16_t>(b.Progs.size());
  EXPECT_EQ(DrawBga(v.G(), v.Assets, 1000), valid);
  EXPECT_EQ(ProgObject(b, b.Progs[1], 100), 1);   // twinkle frame 1 in its first period
  EXPECT_EQ(ProgObject(b, b.Progs[1], 300), 2);
}

TEST(PlayView, DanceFramesNamingWhatIsNotThereDrawNothing) {
  ViewRig v(OneChip(6, 1));
  const DanceView& view = v.Assets.DanceViews[0];
  ASSERT_NE(view.Dance, nullptr);
  EXPECT_TRUE(DrawDance(v.G(), view, kDanceGroove, 0, 1.0, 150, 120));
  DanceRecord broken = *view.Dance;
  DanceView brokenView{&broken, view.Pages};
  broken.Frames[1].Picture = 4;
  EXPECT_FALSE(DrawDance(v.G(), brokenView, kDanceGroove, 0, 1.0, 150, 120));
  broken.Frames[1].Picture = 0;
  broken.Frames[1].V1 = 600;  // 600 + 120 is past the page
  EXPECT_FALSE(DrawDance(v.G(), brokenView, kDanceGroove, 0, 1.0, 150, 120));
  // Patterns: groove alternates its two frames every 250 ms; a missing pattern falls back.
  EXPECT_EQ(DanceFrameAt(*view.Dance, kDanceGroove, 0, 1.0), 1);
  EXPECT_EQ(DanceFrameAt(*view.Dance, kDanceGroove, 260, 1.0), 2);
  EXPECT_EQ(DanceFrameAt(*view.Dance, kDanceGroove, 510, 1.0), 1);
  EXPECT_EQ(DanceFrameAt(*view.Dance, kDanceGroove, 260, 2.0), 1);
  EXPECT_EQ(DanceFrameAt(*view.Dance, kDanceMiss, 0, 1.0), 1);
  EXPECT_EQ(DanceFrameAt(*view.Dance, kDanceIdle, 0, 1.0), 0);
}

}  // namespace
}  // namespace tessaru::playtest
