#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "launcher/launcher.h"
#include "launcher/mp3_conversion.h"
#include "persist/user_settings.h"

namespace tessaru {
namespace {

namespace fs = std::filesystem;
using namespace form_text;

// The player's clicks in order; a virtual clock that only waits move.
class ScriptedUi final : public LauncherUi {
 public:
  std::deque<FormChoice> clicks;
  std::function<void(LauncherForms&)> onChoice;  // edits boxes before the next click
  std::vector<std::string> statuses;              // every progress line of the decode window
  std::vector<std::string> captions;
  std::vector<std::string> searched;
  std::vector<std::string> messages;
  std::vector<std::string> dialogs;  // which dialog was in front at each WaitChoice
  uint32_t now = 0;
  int waits = 0;
  bool end = false;
  int escAtWait = -1;  // the player presses Esc during this wait

  void Repaint(LauncherForms& forms) override { Record(forms); }
  void Wait(LauncherForms& forms, uint32_t ms) override {
    Record(forms);
    now += ms;
    if (waits++ == escAtWait) end = true;
  }
  uint32_t Ticks() override { return now; }
  FormChoice WaitChoice(LauncherForms& forms) override {
    dialogs.push_back(forms.Options.Visible ? "options" : forms.Boot.Visible ? "boot" : "conv");
    if (onChoice) onChoice(forms);
    if (clicks.empty()) return FormChoice::EndProgram;
    const FormChoice c = clicks.front();
    clicks.pop_front();
    if (c == FormChoice::EndProgram) end = true;
    return c;
  }
  void ShowMessage(MessageIcon, const std::string& title, const std::string& text) override {
    messages.push_back(title + " " + text);
  }
  bool EndRequested() const override { return end; }

 private:
  void Record(const LauncherForms& forms) {
    if (forms.Dec.Visible && (statuses.empty() || statuses.back() != forms.Dec.Status)) {
      statuses.push_back(forms.Dec.Status);
      captions.push_back(forms.Dec.Caption);
    }
    if (forms.Conv.Progress.rfind(kSearching, 0) == 0 &&
        (searched.empty() || searched.back() != forms.Conv.Progress)) {
      searched.push_back(forms.Conv.Progress);
    }
  }
};

// Each file's outcome is scripted by its name: "noopen" fails to open, "nostart" fails to
// start decoding, "broken" fails while decoding, "hang" never becomes idle.
class FakeDecoder final : public Mp3Decoder {
 public:
  bool initOk = true;
  std::vector<std::string> calls;

  bool Init() override {
    Log("init");
    return initOk;
  }
  bool Open(const std::string& path) override {
    Log("open " + path);
    open_ = path.find("noopen") == std::string::npos;
    error_ = open_ ? 0 : 2;
    name_ = path;
    return open_;
  }
  bool DecodeWave(const std::string& wave) override {
    Log("decode " + wave);
    if (!open_ || name_.find("nostart") != std::string::npos) {
      error_ = open_ ? 5 : 4;
      return false;
    }
    polls_ = name_.find("hang") != std::string::npos ? -1 : 3;
    error_ = name_.find("broken") != std::string::npos ? 6 : 0;
    return true;
  }
  int32_t GetState() override {
    if (polls_ == 0) return 0;
    if (polls_ > 0) --polls_;
    return 1;
  }
  int32_t GetLastErrorNo() override { return error_; }
  void Close() override {
    Log("close");
    open_ = false;
  }
  void Free() override { Log("free"); }

 private:
  void Log(const std::string& s) { calls.push_back(s); }
  bool open_ = false;
  std::string name_;
  int polls_ = 0;
  int32_t error_ = 0;
};

class LauncherFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::string(TESSARU_SCRATCH) + "/flow_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(root_);
    fs::create_directories(root_ + "/data/image");
  }

  void AddMp3(const std::string& relative) {
    fs::create_directories(fs::path(root_ + "/data/" + relative).parent_path());
    std::ofstream(root_ + "/data/" + relative) << "mp3";
  }

  LauncherResult Run() {
    std::string dataPath;
    LoadUserSettings(settings_, dataPath, root_);
    return RunLauncher(ui_, decoder_, settings_, {root_, root_ + "/data"});
  }

  std::string UserIni() const {
    std::ifstream in(root_ + "/user.ini", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::string root_;
  ScriptedUi ui_;
  FakeDecoder decoder_;
  UserSettings settings_;
};

TEST_F(LauncherFlowTest, FirstStartSearchesAndAnEmptySearchSkipsLaterOnes) {
  ui_.clicks = {FormChoice::Command2};  // start
  const LauncherResult result = Run();
  EXPECT_TRUE(result.Start);
  EXPECT_EQ(result.HideCursor, 0);
  EXPECT_EQ(ui_.searched, (std::vector<std::string>{std::string(kSearching) + root_ + "/data",
                                                    std::string(kSearching) + root_ + "/data/image"}));
  EXPECT_EQ(settings_.AUTODEC, 1);
  EXPECT_EQ(ui_.dialogs, std::vector<std::string>{"boot"});
  // Kept in memory only: the file is written when the settings are saved.
  EXPECT_FALSE(fs::exists(root_ + "/user.ini"));
}

TEST_F(LauncherFlowTest, OptionsDialogSavesCancelsAndShowsWhatWasStored) {
  struct Case {
    const char* name;
    FormChoice button;
    bool autoSearch, fullScreen, directDraw;
    const char* stored;  // expected "AUTODEC FULLSCREEN USEDX" in user.ini; nullptr: untouched
  };
  const Case cases[] = {
      {"save unchecked", FormChoice::Command1, false, false, true, "-1 -1 -1"},
      {"save checked", FormChoice::Command1, true, true, false, "0 0 0"},
      {"cancel", FormChoice::Command2, false, false, true, nullptr},
      {"close box", FormChoice::Close, false, false, true, nullptr},
      {"F1", FormChoice::Back, false, false, true, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    const std::string original = "; mine\r\n[USER]\r\nAUTODEC=5\r\nUSEDX=0\r\nFULLSCREEN=1\r\n";
    std::ofstream(root_ + "/user.ini", std::ios::binary) << original;
    ui_ = ScriptedUi();
    ui_.clicks = {FormChoice::Command1, c.button, FormChoice::Command3};
    ui_.onChoice = [&](LauncherForms& forms) {
      if (!forms.Options.Visible) return;
      // What the stored file showed: AUTODEC 5 skips the search, FULLSCREEN 1 is windowed.
      EXPECT_FALSE(forms.Options.AutoSearch);
      EXPECT_FALSE(forms.Options.FullScreen);
      EXPECT_FALSE(forms.Options.UseDirectDraw);
      forms.Options.AutoSearch = c.autoSearch;
      forms.Options.FullScreen = c.fullScreen;
      forms.Options.UseDirectDraw = c.directDraw;
    };
    EXPECT_FALSE(Run().Start);
    EXPECT_TRUE(ui_.searched.empty());
    EXPECT_EQ(ui_.dialogs, (std::vector<std::string>{"boot", "options", "boot"}));
    if (c.stored == nullptr) {
      EXPECT_EQ(UserIni(), original);
      continue;
    }
    UserSettings reread;
    std::string dataPath;
    ASSERT_TRUE(LoadUserSettings(reread, dataPath, root_));
    std::ostringstream stored;
    stored << reread.AUTODEC << " " << reread.FULLSCREEN << " " << reread.USEDX;
    EXPECT_EQ(stored.str(), c.stored);
    EXPECT_EQ(LoadBootOptions(reread).UseDirectDraw, c.directDraw);
    EXPECT_NE(UserIni().find("; mine"), std::string::npos);
  }
}

TEST_F(LauncherFlowTest, UncheckedAutoSearchSkipsTheNextStart) {
  AddMp3("bgm.mp3");
  ui_.clicks = {FormChoice::Command2, FormChoice::Command1, FormChoice::Command1, FormChoice::Command3};
  ui_.onChoice = [](LauncherForms& forms) { forms.Options.AutoSearch = false; };
  EXPECT_FALSE(Run().Start);
  EXPECT_FALSE(ui_.searched.empty());  // the first start searched (and was cancelled)

  ui_ = ScriptedUi();
  ui_.clicks = {FormChoice::Command2};
  ui_.onChoice = [](LauncherForms& forms) { forms.Boot.HideCursor = true; };
  const LauncherResult next = Run();
  EXPECT_TRUE(next.Start);
  EXPECT_EQ(next.HideCursor, 1);
  EXPECT_TRUE(ui_.searched.empty());
  EXPECT_EQ(settings_.AUTODEC, -1);
}

TEST_F(LauncherFlowTest, EndingFromEachDialog) {
  struct Case {
    const char* name;
    bool withMp3;
    std::deque<FormChoice> clicks;
    size_t dialogs;
  };
  const Case cases[] = {
      {"Esc on the search dialog", true, {FormChoice::EndProgram}, 1},
      {"Esc on the boot menu", false, {FormChoice::EndProgram}, 1},
      {"end button", false, {FormChoice::Command3}, 1},
      {"close box of the boot menu", false, {FormChoice::Close}, 1},
      {"F1 on the boot menu stays there", false, {FormChoice::Back, FormChoice::Command3}, 2},
      {"F1 on the search dialog goes on to the boot menu", true, {FormChoice::Back, FormChoice::Command3}, 2},
      {"Esc in the options", false, {FormChoice::Command1, FormChoice::EndProgram}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    if (c.withMp3) AddMp3("a.mp3");
    ui_ = ScriptedUi();
    ui_.clicks = c.clicks;
    EXPECT_FALSE(Run().Start);
    EXPECT_EQ(ui_.dialogs.size(), c.dialogs);
    EXPECT_FALSE(fs::exists(root_ + "/user.ini"));
  }
}

TEST_F(LauncherFlowTest, DecodeRunReportsEachFileAndGoesOn) {
  AddMp3("a_noopen.mp3");
  AddMp3("b_nostart.mp3");
  AddMp3("c_broken.mp3");
  AddMp3("sub/deep/d.mp3");
  ui_.clicks = {FormChoice::Command1, FormChoice::Command3};
  LauncherForms forms;
  std::string dataPath;
  LoadUserSettings(settings_, dataPath, root_);
  ASSERT_TRUE(RunConversionDialog(ui_, forms, decoder_, root_ + "/data", settings_));
  const std::string d = root_ + "/data/";
  EXPECT_EQ(forms.Conv.Progress, "4" + std::string(kFoundSuffix));
  EXPECT_EQ(settings_.AUTODEC, 0);
  const std::vector<std::string> expected = {
      "ロード中：" + d + "a_noopen.mp3",
      "ロード失敗：" + d + "a_noopen.mp3",
      "デコード失敗 err : 4：a_noopen.mp3",
      "クローズ中：a_noopen.mp3",
      "ロード中：" + d + "b_nostart.mp3",
      "デコード失敗 err : 5：b_nostart.mp3",
      "クローズ中：b_nostart.mp3",
      "ロード中：" + d + "c_broken.mp3",
      "デコード中：c_broken.mp3",
      // A decode that failed in the background is not reported as complete.
      "デコード失敗 err : 6：c_broken.mp3",
      "クローズ中：c_broken.mp3",
      "ロード中：" + d + "sub/deep/d.mp3",
      "デコード中：d.mp3",
      "デコード完了：" + d + "sub/deep/d.wav",
      "クローズ中：d.mp3",
      "終了処理中",
  };
  EXPECT_EQ(ui_.statuses, expected);
  EXPECT_EQ(ui_.captions.front(), std::string(kDecCaption) + "(1 / 4)");
  EXPECT_EQ(ui_.captions.back(), std::string(kDecCaption) + "(4 / 4)");
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_FALSE(forms.Conv.Visible);
  EXPECT_EQ(decoder_.calls.front(), "init");
  EXPECT_EQ(decoder_.calls.back(), "free");
  EXPECT_EQ(std::count(decoder_.calls.begin(), decoder_.calls.end(), "close"), 4);
}

TEST_F(LauncherFlowTest, EscWhileDecodingStopsTheRunAndTheProgram) {
  AddMp3("a.mp3");
  AddMp3("b.mp3");
  ui_.clicks = {FormChoice::Command1, FormChoice::Command2};
  ui_.escAtWait = 0;  // while the first file decodes
  EXPECT_FALSE(Run().Start);
  EXPECT_EQ(ui_.dialogs, std::vector<std::string>{"conv"});
  const std::vector<std::string> calls = {"init", "open " + root_ + "/data/a.mp3",
                                          "decode " + root_ + "/data/a.wav", "close", "free"};
  EXPECT_EQ(decoder_.calls, calls);
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(LauncherFlowTest, DecoderThatCannotStartShowsTheFailureThenTheBootMenu) {
  AddMp3("a.mp3");
  decoder_.initOk = false;
  ui_.clicks = {FormChoice::Command1, FormChoice::Command2};
  EXPECT_TRUE(Run().Start);
  EXPECT_EQ(ui_.statuses, std::vector<std::string>{std::string(kInitFailed)});
  EXPECT_GE(ui_.now, 1000u);
  EXPECT_EQ(ui_.messages, std::vector<std::string>{"Error! " + std::string(kDecodeRunFailed)});
  EXPECT_EQ(ui_.dialogs, (std::vector<std::string>{"conv", "boot"}));
}

TEST_F(LauncherFlowTest, WaitWriteGivesUpAfterFiveMinutesPollingEveryTenth) {
  AddMp3("hang.mp3");
  LauncherForms forms;
  forms.Dec.Visible = true;
  ASSERT_TRUE(decoder_.Init());
  ASSERT_TRUE(decoder_.Open(root_ + "/data/hang.mp3"));
  ASSERT_TRUE(decoder_.DecodeWave(root_ + "/data/hang.wav"));
  EXPECT_FALSE(WaitWrite(ui_, forms, decoder_));
  EXPECT_GT(ui_.now, kDecodeTimeoutMs);
  EXPECT_LE(ui_.now, kDecodeTimeoutMs + 2 * kDecodePollMs);
  EXPECT_EQ(ui_.waits, static_cast<int>(ui_.now / kDecodePollMs));

  ui_ = ScriptedUi();
  ui_.clicks = {FormChoice::Command1};
  ASSERT_TRUE(DecodeMp3List(ui_, forms, decoder_, root_ + "/data/hang.mp3"));
  EXPECT_EQ(ui_.statuses.at(2), "デコード失敗 err : 10：hang.mp3");
}

TEST_F(LauncherFlowTest, SettingsThatCannotBeSavedAreReported) {
  ui_.clicks = {FormChoice::Command1, FormChoice::Command1, FormChoice::Command2};
  settings_.AUTODEC = 1;
  const LauncherResult result =
      RunLauncher(ui_, decoder_, settings_, {root_ + "/missing/folder", root_ + "/data"});
  EXPECT_TRUE(result.Start);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_NE(ui_.messages[0].find("user.iniの保存に失敗しました"), std::string::npos);
}

TEST(BootCaptionTest, VersionWithoutBlanks) {
  EXPECT_EQ(BootCaption(0, 1), "Tessaru VER.0.1起動メニュー");
  EXPECT_EQ(BootCaption(12, 30), "Tessaru VER.12.30起動メニュー");
}

}  // namespace
}  // namespace tessaru
