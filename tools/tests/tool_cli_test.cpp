// Runs the built tessaru-tool the way authors do: exit codes, outputs, one-line reasons.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/wait.h>

#include <cstdlib>
#include <iostream>

#include "content/song_file.h"
#include "stage/tempo_map.h"
#include "core/testing/linked_folder.h"

namespace {
namespace fs = std::filesystem;

struct Result {
  int exitCode;
  std::string out;
  std::string err;
};

class ToolCli : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::path(TESSARU_SCRATCH) / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  std::string P(const std::string& name) const { return (root_ / name).string(); }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(P(name), std::ios::binary) << text;
  }
  Result Run(const std::string& args) const {
    const std::string errFile = P("stderr.txt");
    const std::string command = std::string(TESSARU_TOOL) + " " + args + " 2>" + errFile;
    Result result{-1, "", ""};
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buf[4096];
    size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) result.out.append(buf, n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errFile);
    std::stringstream ss;
    ss << err.rdbuf();
    result.err = ss.str();
    return result;
  }
  // A failure reports one line naming the reason.
  static void ExpectOneLineFailure(const Result& r, const std::string& fragment) {
    EXPECT_NE(r.exitCode, 0) << fragment;
    EXPECT_NE(r.err.find(fragment), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  fs::path root_;
};

TEST_F(ToolCli, PackUnpackAndScramble) {
  Write("in.txt", "\"<TITLE>\"\n\"曲\"\n120\n70000\n1.25\n");
  ASSERT_EQ(Run("pack " + P("in.txt") + " " + P("out.zxt")).exitCode, 0);
  const Result unpacked = Run("unpack " + P("out.zxt"));
  EXPECT_EQ(unpacked.exitCode, 0);
  EXPECT_EQ(unpacked.out, "\"<TITLE>\"\n\"曲\"\n120\n70000\n1.25\n");
  ASSERT_EQ(Run("scramble " + P("out.zxt") + " " + P("plain.bin")).exitCode, 0);
  ASSERT_EQ(Run("scramble " + P("plain.bin") + " " + P("again.zxt")).exitCode, 0);
  EXPECT_EQ(Run("unpack " + P("again.zxt")).out, unpacked.out);
  // The unscrambled form starts with the first token's type code 0x2003.
  std::ifstream plain(P("plain.bin"), std::ios::binary);
  EXPECT_EQ(plain.get(), 0x03);
  EXPECT_EQ(plain.get(), 0x20);

  ExpectOneLineFailure(Run("unpack " + P("in.txt")), "damaged token stream");
  ExpectOneLineFailure(Run("unpack " + P("missing.zxt")), "not found");
  ExpectOneLineFailure(Run("scramble " + P("missing") + " " + P("x")), "not found");
  Write("bad.txt", "\"ok\"\nhello\n");
  ExpectOneLineFailure(Run("pack " + P("bad.txt") + " " + P("bad.zxt")), "line 2");
  EXPECT_FALSE(fs::exists(P("bad.zxt")));
}

TEST_F(ToolCli, SongWithItsParts) {
  Write("s.txt", "\"<KWSONGFILE5.1>\"\n\"<TITLE>\"\n\"T\"\n\"<BPM>\"\n140\n\"<PART>\"\n1\n\"p.z4p\"\n0\n\"<EOF>\"\n");
  ASSERT_EQ(Run("pack " + P("s.txt") + " " + P("s.zxs")).exitCode, 0);
  const Result header = Run("song " + P("s.z4s") + " --header-only");
  ASSERT_EQ(header.exitCode, 0) << header.err;
  const auto song = nlohmann::json::parse(header.out);
  EXPECT_EQ(song["Title"], "T");
  EXPECT_EQ(song["TempoBpms"], nlohmann::json::array({140.0}));
  EXPECT_FALSE(song.contains("Parts"));

  ExpectOneLineFailure(Run("song " + P("s.zxs")), "p.zxp: part file cannot be loaded");
  Write("p.json", R"({"Name": "P", "Bars": 2, "SoundFiles": ["a.wav"], "Chips": [[3, 2, 0], [5, 1, 0]]})");
  ASSERT_EQ(Run("make-part " + P("p.json") + " " + P("p.zxp")).exitCode, 0);
  const Result full = Run("song " + P("s.zxs"));
  ASSERT_EQ(full.exitCode, 0) << full.err;
  const auto parts = nlohmann::json::parse(full.out)["Parts"];
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_EQ(parts[0]["Name"], "P");
  EXPECT_EQ(parts[0]["ChipSteps"], 2);
  EXPECT_EQ(parts[0]["SoundFiles"], nlohmann::json::array({"a.wav"}));

  const auto part = nlohmann::json::parse(Run("part " + P("p.zxp")).out);
  EXPECT_EQ(part["StepWords"].size(), 32u);
  EXPECT_EQ(part["StepWords"][3], 2);
  EXPECT_EQ(part["ChipSounds"][12], 0);

  Write("bad.json", R"({"Bars": 1, "Chips": [[0, 9, 0]]})");
  ExpectOneLineFailure(Run("make-part " + P("bad.json") + " " + P("bad.zxp")), "lane");
  ExpectOneLineFailure(Run("song " + P("missing.z4s")), "song file not found");
  Write("junk.zxs", "junk");
  ExpectOneLineFailure(Run("song " + P("junk.z4s")), "not a readable song file");
  ExpectOneLineFailure(Run("part " + P("junk.zxs")), "part file not found");
}

TEST_F(ToolCli, DanceAndBga) {
  Write("d.txt", "\"<KWDANCEFILE>\"\n\"<PICTURE>\"\n1\n\"a.bmp\"\n\"<PATTERNS>\"\n1\n\"<DATA>\"\n1\n"
                 "40\n0\n5\n6\n1\n2\n3\n4\n");
  ASSERT_EQ(Run("pack " + P("d.txt") + " " + P("d.zxd")).exitCode, 0);
  const Result dance = Run("dance " + P("d.z4d"));
  ASSERT_EQ(dance.exitCode, 0) << dance.err;
  const auto d = nlohmann::json::parse(dance.out);
  EXPECT_EQ(d["PatternDurations"][0], 40);
  EXPECT_EQ(d["Frames"][0]["V5"], 5);
  EXPECT_EQ(d["Frames"][0]["V1"], 1);

  Write("b.txt", "\"<Z4BGAFILE>\"\n\"<PICTURE>\"\n\"p\"\n\"b.bmp\"\n\"<OBJ>\"\n\"<AOBJ>\"\n"
                 "\"star\"\n3\n2\n50\n300\n10\n11\n0\n0\n0\n0\n0\n"
                 "\"<PROG>\"\n\"bird\"\n0\n0\n0\n0\n0\n10\n10\n10\n10\n1000\n400\n100\n0\n0\n\"<EOF>\"\n");
  ASSERT_EQ(Run("pack " + P("b.txt") + " " + P("b.zxb")).exitCode, 0);
  EXPECT_EQ(Run("bga " + P("b.z4b") + " --anim-frame 0 --time 370").out, "11\n");
  EXPECT_EQ(Run("bga " + P("b.z4b") + " --anim-frame 0 --time 320").out, "10\n");
  EXPECT_EQ(Run("bga " + P("b.z4b") + " --prog-position 0 --time 100").out, "-77 60\n");
  const auto bga = nlohmann::json::parse(Run("bga " + P("b.z4b")).out);
  EXPECT_EQ(bga["AObjCount"], 1);
  EXPECT_EQ(bga["Progs"][0]["Q"][7], 100);
  ExpectOneLineFailure(Run("bga " + P("b.z4b") + " --anim-frame 1 --time 0"), "does not exist");
  ExpectOneLineFailure(Run("bga " + P("b.z4b") + " --prog-position 3 --time 0"), "does not exist");
  EXPECT_NE(Run("bga " + P("b.z4b") + " --anim-frame 0").exitCode, 0) << "--time is needed";
  ExpectOneLineFailure(Run("dance " + P("b.z4b")), "dance file not found");
  Write("x.zxd", "junk");
  ExpectOneLineFailure(Run("dance " + P("x.zxd")), "not a readable dance file");
}

// The headless play of a generated song writes the frame asked for, at the resolution
// asked for; a picture that cannot be taken is a failure, never a quiet success.
TEST_F(ToolCli, HeadlessPlayScreenshots) {
  const std::string data = TESSARU_DATA_DIR;
  if (!fs::exists(data + "/songs/firstlight")) GTEST_SKIP() << "no generated data folder";
  const std::string song = data + "/songs/firstlight/firstlight.z4s";
  struct Case {
    std::string args;
    int width, height;  // 0: the command fails
    std::string reason;
  };
  const Case cases[] = {
      {"--headless --screenshot-at 20000", 640, 480, ""},
      {"--headless --resolution 1 --screenshot-at 20000", 320, 240, ""},
      {"--screenshot-at 20000", 0, 0, "--screenshot needs --headless"},
      {"--headless --screenshot-at 99999999", 0, 0, "no frame at song time 99999999"},
  };
  for (const Case& c : cases) {
    const std::string png = P("shot.png");
    fs::remove(png);
    const Result r = Run("play " + song + " --part 0 --data " + data + " --screenshot " + png + " " + c.args);
    if (c.width == 0) {
      ExpectOneLineFailure(r, c.reason);
      continue;
    }
    ASSERT_EQ(r.exitCode, 0) << c.args << ": " << r.err;
    EXPECT_TRUE(nlohmann::json::accept(r.out)) << r.out;
    std::ifstream in(png, std::ios::binary);
    std::string head(24, '\0');
    in.read(head.data(), 24);
    ASSERT_TRUE(in) << c.args;
    auto be32 = [&](size_t at) {
      return (static_cast<unsigned char>(head[at]) << 24) | (static_cast<unsigned char>(head[at + 1]) << 16) |
             (static_cast<unsigned char>(head[at + 2]) << 8) | static_cast<unsigned char>(head[at + 3]);
    };
    EXPECT_EQ(head.substr(1, 3), "PNG");
    EXPECT_EQ(be32(16), c.width) << c.args;
    EXPECT_EQ(be32(20), c.height) << c.args;
  }
}

TEST_F(ToolCli, ReplayFilesShownAndRefused) {
  Write("v2.zxr", "songs\\a\\a.z4s\r\n1\r\n-1\r\n2\r\n2\r\n10,1,0,0\r\n960,3,1,8\r\n");
  const Result shown = Run("replay " + P("v2.zxr"));
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  const auto json = nlohmann::json::parse(shown.out);
  EXPECT_EQ(json["SongPath"], "songs\\a\\a.z4s");
  EXPECT_EQ(json["Part"], 1);
  EXPECT_EQ(json["Version"], 2);
  EXPECT_EQ(json["EventCount"], 2);
  EXPECT_EQ(json["Events"], nlohmann::json::parse("[[10,1,0,0],[960,3,1,8]]"));

  Write("huge.zxr", "a\r\n0\r\n-1\r\n2\r\n2000000000\r\n");
  ExpectOneLineFailure(Run("replay " + P("huge.zxr")), "above the 5000");
  ExpectOneLineFailure(Run("replay " + P("none.zxr")), "does not exist");

  const std::string data = TESSARU_DATA_DIR;
  const std::string song = data + "/songs/firstlight/firstlight.z4s";
  if (!fs::exists(song.substr(0, song.size() - 4) + ".zxs")) GTEST_SKIP() << "no generated data folder";
  ExpectOneLineFailure(Run("simulate " + song + " --part 0 --replay " + P("v2.zxr")), "recorded on part 1");
  ExpectOneLineFailure(Run("simulate " + song + " --part 0 --lane-opt 1 --save-replay " + P("x.zxr")),
                       "no lane option");
  ExpectOneLineFailure(Run("play " + song + " --part 0 --autoplay --save-replay " + P("x.zxr")), "by hand");
}

// Presses for player 1 of every kind: just, early, late, far, missed, blank, and a press in
// the intro, from the chart of the part.
std::string ScriptFor(const tessaru::SongRecord& song, const tessaru::PartRecord& part) {
  std::ostringstream out;
  out << "150.5,2\n";
  const double offsets[] = {3.25, -38.5, 61.75, -0.5, 140, 9999, -170.25, 18};
  int k = 0;
  for (size_t s = 0; s < part.StepWords.size(); ++s) {
    const int16_t lane = part.StepWords[s];
    if (lane < 1 || lane > 4) continue;
    const double offset = offsets[k++ % 8];
    if (offset > 9000) continue;
    const double at = tessaru::StepToTime(song, static_cast<int32_t>(s)) + offset;
    if (at > 200) out << at << "," << lane << "\n";
  }
  return out.str();
}

// Each generated song played from a script, saved as a replay and played back, through the
// simulator and through the play screen: the results must be the same to the point.
TEST_F(ToolCli, ReplaysRepeatEveryGeneratedSongExactly) {
  const fs::path songs = fs::path(TESSARU_DATA_DIR) / "songs";
  if (!fs::exists(songs)) GTEST_SKIP() << "no generated data folder";
  // The play screen takes seconds per stage: two songs unless asked for all.
  const bool allOnScreen = std::getenv("TESSARU_REPLAY_ALL_SONGS") != nullptr;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(songs)) {
    const fs::path file = entry.path() / (entry.path().filename().string() + ".zxs");
    if (fs::exists(file)) files.push_back(file);
  }
  std::sort(files.begin(), files.end());
  ASSERT_GE(files.size(), 10u);
  int compared = 0;
  int differed = 0;
  for (size_t i = 0; i < files.size(); ++i) {
    tessaru::SongRecord song;
    std::vector<tessaru::PartRecord> parts;
    ASSERT_TRUE(tessaru::LoadSongFile(song, parts, files[i].string(), false)) << files[i];
    Write("presses.csv", ScriptFor(song, parts[0]));
    const std::string base = files[i].string() + " --part 0 --opponent-part 1 ";
    struct Way {
      const char* name;
      std::string live, back;
    };
    std::vector<Way> ways = {{"simulate", "simulate " + base + "--free-mode --com-skill 70 --presses " + P("presses.csv"),
                              "simulate " + base + "--free-mode --com-skill 70"}};
    if (allOnScreen || i < 2) {
      ways.push_back({"play", "play " + base + "--headless --com-skill 70 --presses " + P("presses.csv"),
                      "play " + base + "--headless --com-skill 70"});
    }
    for (const Way& way : ways) {
      const std::string replay = P(std::string(way.name) + ".zxr");
      const Result live = Run(way.live + " --save-replay " + replay);
      ASSERT_EQ(live.exitCode, 0) << way.live << ": " << live.err;
      const Result back = Run(way.back + " --replay " + replay);
      ASSERT_EQ(back.exitCode, 0) << way.back << ": " << back.err;
      auto a = nlohmann::json::parse(live.out)["players"];
      auto b = nlohmann::json::parse(back.out)["players"];
      // Press timing belongs to hands on keys; a replay side presses none.
      EXPECT_TRUE(a[0]["Timing"]["Median"].is_number()) << way.name << " " << files[i];
      EXPECT_TRUE(b[0]["Timing"]["Median"].is_null()) << way.name << " " << files[i];
      EXPECT_TRUE(a[1]["Timing"]["Median"].is_null()) << "the computer side presses no keys";
      for (auto* side : {&a, &b}) {
        for (auto& player : *side) player.erase("Timing");
      }
      EXPECT_GT(a[0]["JudgeCount"][1].get<int>() + a[0]["JudgeCount"][2].get<int>(), 0) << files[i];
      ++compared;
      if (a != b) ++differed;
      EXPECT_EQ(a, b) << way.name << " " << files[i];
    }
  }
  std::cout << "replayed stages compared: " << compared << ", differing: " << differed << "\n";
}

// One file of each kind the game opens taken away from the generated data: each is
// reported, and nothing else is.
TEST_F(ToolCli, ValidateDataReportsEveryKindOfMissingFile) {
  const fs::path data = TESSARU_DATA_DIR;
  if (!fs::exists(data / "songs/firstlight")) GTEST_SKIP() << "no generated data folder";
  struct Removed {
    const char* path;      // relative to the data folder
    const char* reported;  // what the report line names
  };
  const Removed removed[] = {
      {"image/vschar11.zxg", "vschar11.zxg"},            // an extension part's portrait
      {"image/rankbg.zxg", "rankbg.zxg"},
      {"sound/voice0-3.zxw", "voice0-3.zxw"},            // a result voice
      {"sound/voice11-4.zxw", "voice11-4.zxw"},          // an extension part's voice
      {"sound/ruready.zxw", "ruready.zxw"},
      {"rank.zxt", "rank.zxt"},
      {"songs/tidewater/tidewater.zxs", "tidewater.zxs"},
      {"songs/aurora/part03.zxp", "part03.zxp"},
      {"songs/ember/extra1.zxp", "extra1.zxp"},         // an extension part
      {"songs/neondrift/beginner.zxp", "neondrift\\beginner.zxp"},
      {"songs/paperplanes/rapid03.zxp", "rapid.zxt"},  // a part of the rapid-mode song
      {"songs/clockwork/snd/k0003.zxw", "k0003.zxw"},   // a keysound
      {"songs/lantern/bgm.zxw", "lantern\\bgm.zxw"},
      {"songs/marblerun/marblerun.zxg", "marblerun.zxg"},  // the jacket
      {"songs/neondrift/neondrifts.zxb", "neondrifts.zxb"},
      {"songs/postcard/sprites.zxg", "postcard\\sprites.zxg"},
      {"dance/dance4.zxg", "dance4.zxg"},
  };
  std::vector<std::string> left;
  for (const Removed& r : removed) left.push_back(r.path);
  const fs::path damaged = root_ / "data";
  tessaru::testing_support::LinkFolder(data, damaged, left);
  const Result r = Run("validate-data " + damaged.string());
  EXPECT_NE(r.exitCode, 0);
  std::vector<std::string> lines;
  std::istringstream out(r.out);
  for (std::string line; std::getline(out, line);) lines.push_back(line);
  for (const Removed& gone : removed) {
    const auto named = std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.find(gone.reported) != std::string::npos;
    });
    EXPECT_EQ(named, 1) << gone.path << " in\n" << r.out;
  }
  EXPECT_NE(r.out.find(" " + std::to_string(std::size(removed)) + " problems"), std::string::npos) << r.out;
}

}  // namespace

// The records command reads the records as the game does and shows what they opened.
TEST_F(ToolCli, RecordsShowWhatTheRecordsUnlocked) {
  Write("hsc.ini",
        "[VERSION]\r\nVER=1\r\n[GAMEFLAG]\r\nFLAG4=6917\r\nFLAG8=7529\r\n"
        "[songs\\firstlight\\firstlight.z4s]\r\nHPR1=40\r\nHPS1=3\r\nHPR6=10\r\nHPS6=1\r\n");
  Write("hscsp.ini", "[SPMODE3]\r\nPS=2\r\n");
  const Result r = Run("records " + root_.string() + " --data " + TESSARU_DATA_DIR);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  ASSERT_EQ(j["GameFlags"].size(), 21u);
  EXPECT_EQ(j["GameFlags"][3], 6917);
  ASSERT_EQ(j["SpecialPlays"].size(), 31u);
  EXPECT_EQ(j["SpecialPlays"][3], 2);
  // Flag 3 opens COLOR and SILVER, flag 7 (its own marker) the last four, and any pass
  // TOUR PLUS.
  EXPECT_EQ(j["ModeUnlocked"], nlohmann::json::parse("[0, 1, 26, 27, 28, 29, 30]"));
  EXPECT_EQ(j["UnlockedModeCount"], 7);
  EXPECT_EQ(j["TotalPoints"], 40 + 2 * 10);  // parts 4..7 count twice, below the first rank
  EXPECT_EQ(j["PlayerRankIndex"], 0);
  EXPECT_EQ(j["FreeSongs"], nlohmann::json::parse("[0, 9, 10]"));
  // The keys come in the documented order.
  EXPECT_EQ(r.out.rfind("{\"GameFlags\":", 0), 0u);

  ExpectOneLineFailure(Run("records " + P("nowhere")), "not a folder");
}

TEST_F(ToolCli, Mp3ScanAndDecode) {
  fs::create_directories(root_ / "data" / "sub");
  Write("data/b.mp3", "x");
  Write("data/A.MP3", "x");
  Write("data/A.wav", "x");  // A.MP3 counts as converted
  Write("data/sub/c.mp3", "not audio");
  const Result scan = Run("mp3-scan " + P("data"));
  EXPECT_EQ(scan.exitCode, 0);
  EXPECT_EQ(scan.out, P("data") + "/b.mp3\n" + P("data") + "/sub/c.mp3\n");
  ExpectOneLineFailure(Run("mp3-scan " + P("missing")), "not a folder");

  ExpectOneLineFailure(Run("mp3-decode " + P("data/sub/c.mp3") + " " + P("c.wav")),
                       "cannot be opened as MP3 (err 3)");
  EXPECT_FALSE(fs::exists(P("c.wav")));
  const std::string source = P("tone.wav");
  ASSERT_EQ(std::system(("sox -n -r 44100 -c 1 -b 16 " + source + " synth 1 sine 440").c_str()), 0);
  ASSERT_EQ(std::system(("lame --quiet " + source + " " + P("tone.mp3")).c_str()), 0);
  EXPECT_EQ(Run("mp3-decode " + P("tone.mp3") + " " + P("out.wav")).exitCode, 0);
  EXPECT_EQ(fs::file_size(P("out.wav")), 44u + 44100u * 2u);
  ExpectOneLineFailure(Run("mp3-decode " + P("tone.mp3") + " " + P("no/folder/out.wav")),
                       "decoding cannot start (err 5)");
}
