// Scripted runs of the whole game on the generated data: the example scripts, the ways a
// run ends, the shots and the report.
#include <gtest/gtest.h>

#include <algorithm>

#include "flow/tests/game_rig.h"

namespace tessaru::flowtest {
namespace {

fs::path FreshFolder(const std::string& name) { return MakeProgramFolder(name, {}, "[USER]\r\nMAXFPS=20\r\n"); }

// Shots go to folder/frames, made first unless `makeFrames` is false.
ScriptRun RunText(const fs::path& folder, const std::string& text, double maxMs = kDefaultScriptMaxMs,
                  bool makeFrames = true) {
  ScriptRunOptions options;
  options.Folders = FoldersOf(folder);
  options.FramesFolder = (folder / "frames").string();
  options.MaxMs = maxMs;
  if (makeFrames) fs::create_directories(options.FramesFolder);
  return RunScript(ScriptText(text), options);
}

bool IsPng(const fs::path& path) { return ReadFile(path).starts_with("\x89PNG"); }

// The scripts shipped as examples play through the real screens to their quit.
TEST(ScriptRun, TheExampleScriptsPlayTheirStagesAndRecordNothing) {
  struct Case {
    const char* File;
    size_t Stages;
    std::vector<const char*> Shots;
  };
  const Case cases[] = {{"free-mode.txt", 1, {"stage.png", "results.png"}},
                        {"tutorial.txt", 3, {"lesson-1.png", "ending.png"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.File);
    const fs::path folder = FreshFolder(std::string("example-") + c.File);
    const ScriptRun run = RunText(folder, ReadFile(fs::path(TESSARU_SOURCE_DIR) / "scripts" / "examples" / c.File));
    EXPECT_EQ(run.Status, kExitOk);
    EXPECT_EQ(run.Exit, ScriptExit::Quit);
    EXPECT_TRUE(run.Problems.empty()) << run.Problems.front();
    ASSERT_EQ(run.Stages.size(), c.Stages);
    for (const PlayedStage& stage : run.Stages) {
      EXPECT_TRUE(stage.Ended) << stage.Title;
      EXPECT_TRUE(stage.Outcome.Players[0].Autoplayed) << stage.Title;
      EXPECT_EQ(stage.Outcome.Players[0].StageScore, 100) << stage.Title;
    }
    EXPECT_EQ(run.Screens.front().Name, "title");
    EXPECT_EQ(run.Screens.back().Name, "title");
    EXPECT_TRUE(std::is_sorted(run.Screens.begin(), run.Screens.end(),
                               [](const VisitedScreen& a, const VisitedScreen& b) { return a.AtMs < b.AtMs; }));
    for (const char* shot : c.Shots) EXPECT_TRUE(IsPng(folder / "frames" / shot)) << shot;
    // Saved as on any exit, but with nothing of the autoplayed side in it.
    ASSERT_TRUE(fs::exists(folder / "hsc.ini"));
    EXPECT_EQ(ReadFile(folder / "hsc.ini").find("HPS"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "error.txt")) << ReadFile(folder / "error.txt");
  }
}

TEST(ScriptRun, EndsAtItsQuitOrItsLimitAndReportsShotsThatFailed) {
  struct Case {
    const char* Name;
    std::string Text;
    double MaxMs;
    ScriptExit Exit;
    double EndFrom, EndTo;
    std::vector<std::string> Problems;  // each the start of a line
    bool MakeFrames = true;
    size_t Stages = 0;  // started, none of them ended
  };
  const Case cases[] = {
      {"quit on the title", "at 700 quit\n", kDefaultScriptMaxMs, ScriptExit::Quit, 700, 760, {}},
      {"no quit", "at 100 tap Down\n", 2000, ScriptExit::TimeLimit, 2000, 2060, {}},
      {"a quit past the limit", "at 5000 quit\n", 1500, ScriptExit::TimeLimit, 1500, 1560, {}},
      {"Esc ends the game", "at 900 tap Escape\nat 5000 quit\n", kDefaultScriptMaxMs, ScriptExit::Ended, 900, 960, {}},
      {"a quit during play",
       "at 1500 tap Return\nat 3000 tap Return\nat 4500 tap Return\nat 6000 tap Return\nat 8000 tap Return\n"
       "after stage\nat 5000 quit\n",
       kDefaultScriptMaxMs, ScriptExit::Quit, 8000, 40000, {}, true, 1},
      {"a shot before any frame", "at 0 shot early\nat 900 quit\n", kDefaultScriptMaxMs, ScriptExit::Quit, 900, 960,
       {"line 1: shot early.png: no frame had been shown yet"}},
      {"a shot into a folder that is gone", "at 800 shot late\nat 900 quit\n", kDefaultScriptMaxMs,
       ScriptExit::Quit, 900, 960, {"line 1: shot late.png: "}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const fs::path folder = FreshFolder("ends");
    const ScriptRun run = RunText(folder, c.Text, c.MaxMs, c.MakeFrames);
    EXPECT_EQ(run.Status, kExitOk);
    EXPECT_EQ(run.Exit, c.Exit);
    EXPECT_GE(run.EndMs, c.EndFrom);
    EXPECT_LE(run.EndMs, c.EndTo);
    ASSERT_EQ(run.Problems.size(), c.Problems.size());
    for (size_t i = 0; i < c.Problems.size(); ++i) {
      EXPECT_TRUE(run.Problems[i].starts_with(c.Problems[i])) << run.Problems[i];
    }
    ASSERT_EQ(run.Stages.size(), c.Stages);
    for (const PlayedStage& stage : run.Stages) EXPECT_FALSE(stage.Ended);
    // Every way out saves the records, as a player's exit does.
    EXPECT_TRUE(fs::exists(folder / "hsc.ini"));
  }
}

// Stretches start at the screen they wait for: keys timed from the free mode setting's
// opening reach it however long the title took.
TEST(ScriptRun, KeysAfterAScreenCountFromItsOpening) {
  const fs::path folder = FreshFolder("after");
  const ScriptRun run = RunText(folder,
                            "at 2345 tap Return\n"
                            "after free-mode-setting\n"
                            "at 0 shot setting-open\n"
                            "at 800 tap Return\n"
                            "after song-select\n"
                            "at 1000 quit\n");
  EXPECT_EQ(run.Exit, ScriptExit::Quit);
  ASSERT_EQ(run.Screens.size(), 3u);
  EXPECT_EQ(run.Screens[1].Name, "free-mode-setting");
  EXPECT_NEAR(run.Screens[1].AtMs, 2345, 5);
  EXPECT_EQ(run.Screens[2].Name, "song-select");
  EXPECT_NEAR(run.Screens[2].AtMs, run.Screens[1].AtMs + 800, 5);
  EXPECT_NEAR(run.EndMs, run.Screens[2].AtMs + 1000, 5);
  EXPECT_TRUE(IsPng(folder / "frames" / "setting-open.png"));
}

TEST(ScriptRun, TheReportNamesEverySideAndField) {
  ScriptRun run;
  run.Status = 0;
  run.Exit = ScriptExit::TimeLimit;
  run.EndMs = 1234;
  run.Screens = {{"title", 1}, {"stage", 900}};
  PlayedStage stage;
  stage.Title = "Ember";
  stage.SongPath = "songs\\ember\\ember.z4s";
  stage.Setup.SongIndex = 3;
  stage.Setup.PlayerPart = {2, 5};
  stage.Setup.ComSkill = {-1, 40, 99, 99};
  stage.Outcome.StartMs = 900;
  stage.Outcome.Players[0].Autoplayed = true;
  stage.Outcome.Players[0].StageScore = 100;
  stage.Ended = true;
  run.Stages = {stage, stage};
  run.Stages[1].Setup.ReplayPlayback[0] = true;
  run.Stages[1].Setup.PlayerPart[1] = -1;
  const nlohmann::ordered_json json = ScriptRunJson(run);
  std::vector<std::string> keys;
  for (const auto& [key, value] : json.items()) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{"Exit", "Status", "GameMs", "Screens", "Stages", "Problems"}));
  EXPECT_EQ(json["Exit"], "time-limit");
  EXPECT_EQ(json["Screens"][1]["Name"], "stage");
  const auto& first = json["Stages"][0];
  EXPECT_EQ(first["Song"], "Ember");
  EXPECT_EQ(first["SongIndex"], 3);
  EXPECT_EQ(first["Players"][0]["Side"], "human");
  EXPECT_EQ(first["Players"][0]["Autoplayed"], true);
  EXPECT_EQ(first["Players"][0]["StageScore"], 100);
  EXPECT_EQ(first["Players"][1]["Side"], "computer");
  EXPECT_EQ(first["Players"][1]["Part"], 5);
  EXPECT_TRUE(first["Players"][1]["Timing"]["Median"].is_null());
  EXPECT_EQ(json["Stages"][1]["Players"][0]["Side"], "replay");
  EXPECT_EQ(json["Stages"][1]["Players"][1]["Side"], "none");
}

}  // namespace
}  // namespace tessaru::flowtest
