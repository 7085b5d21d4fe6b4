// Replays on the play screen: a stage saved from the result display plays back exactly,
// and a file that cannot drive its side is left out with a reason.
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "core/paths.h"
#include "stage/play/play_stage.h"
#include "stage/play/tests/play_test_rig.h"

namespace tessaru::playtest {
namespace {

constexpr uint8_t kEnterKey = 13;

SongOptions ReplaySong() {
  SongOptions song;
  song.Bpm = 133;
  song.Bars = 6;
  for (int32_t s = 8; s < 88; s += 2) song.Chips.push_back({s, static_cast<int16_t>(1 + (s / 2) % 4)});
  return song;
}

TEST(PlayReplay, AStageSavedFromTheResultDisplayPlaysBackExactly) {
  const SongOptions song = ReplaySong();
  PlayRig rig("replay_exact", song);
  const double start = LearnStart(rig);
  const std::string program = rig.Data + "/program";
  std::filesystem::remove_all(program);
  rig.Press(start + 150.25, 2);  // before the first chip, at nothing
  PressChips(rig, song, start, {2.5, -40.5, 80.25, -110, 0, 300, -0.75, 20}, 20);  // 300: missed, then blank
  const double end = start + StepToTime(rig.Song.Song, song.Bars * 16);
  rig.Key(end + 1500, kEnterKey);  // during the result display: keep this stage

  StageContext live = rig.Context();
  live.ProgramFolder = program;
  live.Setup.MenuChoice = TitleCode::FreeMode;
  PlayStage(live);
  const std::string saved = live.Outcome.SavedReplays[0];
  ASSERT_FALSE(saved.empty()) << rig.Devices->Errors.Text();
  EXPECT_EQ(FileNameOf(saved), "test1-000.zxr");
  EXPECT_TRUE(live.Outcome.SavedReplays[1].empty());  // a computer side keeps nothing
  const auto& counts = live.Outcome.Players[0].JudgeCount;
  for (int16_t c : counts) EXPECT_GT(c, 0);

  rig.Reopen();
  StageContext back = rig.Context();
  back.ProgramFolder = program;
  back.Setup.MenuChoice = TitleCode::FreeMode;
  back.Setup.ReplayPlayback = {true, false};
  back.ReplayFiles[0] = saved;
  rig.Key(end + 1500, kEnterKey);  // a replay is not saved again
  PlayStage(back);
  EXPECT_TRUE(rig.Devices->Errors.Empty()) << rig.Devices->Errors.Text();
  EXPECT_TRUE(back.Outcome.SavedReplays[0].empty());
  for (size_t p = 0; p < 2; ++p) {
    const StagePlayerOutcome& a = live.Outcome.Players[p];
    const StagePlayerOutcome& b = back.Outcome.Players[p];
    EXPECT_EQ(b.JudgeCount, a.JudgeCount) << p;
    EXPECT_EQ(std::tuple(b.StagePoints, b.MaxCombo, b.ComboCount, b.Gauge, b.StageScore),
              std::tuple(a.StagePoints, a.MaxCombo, a.ComboCount, a.Gauge, a.StageScore))
        << p << ": points, max combo, combo, gauge, score";
  }
}

TEST(PlayReplay, AFileThatCannotDriveItsSideIsLeftOut) {
  const SongOptions song = ReplaySong();
  PlayRig rig("replay_refused", song);
  const std::string folder = rig.Data + "/refused";
  std::filesystem::create_directories(folder);
  struct Case { const char* name; std::string text; const char* reason; };  // text "": no file
  const std::vector<Case> cases = {
      {"missing", "", "does not exist"},
      {"other part", "songs\\test\\test.z4s\r\n3\r\n-1\r\n2\r\n0\r\n", "recorded on part 3"},
      {"step outside", "songs\\test\\test.z4s\r\n0\r\n-1\r\n2\r\n1\r\n960,1,1,20000\r\n", "outside the chart"},
      {"count above lines", "songs\\test\\test.z4s\r\n0\r\n-1\r\n2\r\n9\r\n960,1,1,8\r\n", "ends after 1 of 9"},
  };
  for (const Case& c : cases) {
    const std::string file = folder + "/" + c.name + ".zxr";
    if (!c.text.empty()) {
      std::ofstream(file, std::ios::binary) << c.text;
    }
    rig.Reopen();
    const double start = LearnStart(rig);
    rig.Press(start + StepToTime(rig.Song.Song, 8), 1);  // the side plays by hand instead
    StageContext ctx = rig.Context();
    ctx.Setup.MenuChoice = TitleCode::FreeMode;
    ctx.Setup.ReplayPlayback = {true, false};
    ctx.ReplayFiles[0] = file;
    PlayStage(ctx);
    EXPECT_NE(rig.Devices->Errors.Text().find(c.reason), std::string::npos) << c.name << ": " << rig.Devices->Errors.Text();
    EXPECT_EQ(ctx.Outcome.Players[0].JudgeCount[0], 1) << c.name;
  }
}

}  // namespace
}  // namespace tessaru::playtest
