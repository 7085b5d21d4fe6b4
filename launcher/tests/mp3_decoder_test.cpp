// Real MP3 files are made here with lame from sox-generated tones, decoded through the
// decoder, and the WAVE compared with the source in length and level.
#include "launcher/mp3_decoder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "core/file_access.h"
#include "sound/wave_file.h"

namespace tessaru {
namespace {

namespace fs = std::filesystem;

std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen((command + " 2>&1").c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    ::pclose(pipe);
  }
  return out;
}

// sox's RMS level of the whole file, in dB.
double RmsDb(const std::string& wave) {
  const std::string stats = Shell("sox '" + wave + "' -n stats");
  std::smatch m;
  const std::regex line(R"(RMS lev dB\s+(-?[0-9.]+))");
  if (!std::regex_search(stats, m, line)) return 1000.0;
  return std::stod(m[1]);
}

class Mp3DecoderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::string(TESSARU_SCRATCH) + "/mp3_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(root_);
    fs::create_directories(root_);
  }

  // A tone of `seconds` made with sox and encoded with lame; the source WAVE stays beside it.
  std::string MakeMp3(const std::string& name, int rate, int channels, double seconds) {
    const std::string source = root_ + "/" + name + ".src.wav";
    const std::string mp3 = root_ + "/" + name + ".mp3";
    Shell("sox -n -r " + std::to_string(rate) + " -c " + std::to_string(channels) + " -b 16 '" +
        source + "' synth " + std::to_string(seconds) + " sine 440 gain -6");
    Shell("lame --quiet -b 160 '" + source + "' '" + mp3 + "'");
    return mp3;
  }

  // Decodes to completion (or a 20 s limit) and returns the last error number.
  int32_t Decode(Mp3Decoder& decoder, const std::string& mp3, const std::string& wave,
                 bool* opened = nullptr, bool* started = nullptr) {
    const bool o = decoder.Open(mp3);
    const bool s = decoder.DecodeWave(wave);
    if (opened != nullptr) *opened = o;
    if (started != nullptr) *started = s;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (decoder.GetState() != 0 && std::chrono::steady_clock::now() < limit) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const int32_t error = decoder.GetLastErrorNo();
    decoder.Close();
    return error;
  }

  std::string root_;
};

TEST_F(Mp3DecoderTest, WaveMatchesTheSourceInLengthAndLevel) {
  struct Case {
    int rate;
    int channels;
    double seconds;
  };
  const Case cases[] = {{44100, 2, 3.0}, {22050, 1, 1.5}, {48000, 2, 0.25}};
  const auto decoder = CreateMpg123Decoder();
  ASSERT_TRUE(decoder->Init());
  for (const Case& c : cases) {
    const std::string name = "tone" + std::to_string(c.rate) + "_" + std::to_string(c.channels);
    SCOPED_TRACE(name);
    const std::string mp3 = MakeMp3(name, c.rate, c.channels, c.seconds);
    ASSERT_TRUE(fs::exists(mp3)) << "lame did not run";
    const std::string wave = root_ + "/" + name + ".wav";
    EXPECT_EQ(Decode(*decoder, mp3, wave), 0);

    const auto bytes = ReadWholeFile(wave);
    ASSERT_TRUE(bytes.has_value());
    const auto parsed = ParseWave(*bytes);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->Format.SamplesPerSec, c.rate);
    EXPECT_EQ(parsed->Format.Channels, c.channels);
    EXPECT_EQ(parsed->Format.BitsPerSample, 16);
    // The encoder's delay and padding are trimmed: the length is the source's, exactly.
    EXPECT_EQ(parsed->Frames, static_cast<int64_t>(c.seconds * c.rate));
    // The encoding itself loses a little level; lame's own decoder is the reference.
    const std::string reference = root_ + "/" + name + ".lame.wav";
    Shell("lame --quiet --decode '" + mp3 + "' '" + reference + "'");
    EXPECT_NEAR(RmsDb(wave), RmsDb(reference), 0.05);
    EXPECT_NEAR(RmsDb(wave), RmsDb(root_ + "/" + name + ".src.wav"), 0.6);
    EXPECT_FALSE(fs::exists(PartialWaveName(wave)));
  }
  decoder->Free();
}

// One decoder through calls out of order, bad input of every kind and a decode closed
// midway; it fails each cleanly, never leaves a partial WAVE, and still works afterwards.
TEST_F(Mp3DecoderTest, BadInputAndBadCallsFailWithoutLeavingAWave) {
  const std::string good = MakeMp3("good", 44100, 2, 2.0);
  const auto decoder = CreateMpg123Decoder();
  EXPECT_FALSE(decoder->Open(good));
  EXPECT_EQ(decoder->GetLastErrorNo(), static_cast<int32_t>(DecodeError::NotInitialised));
  ASSERT_TRUE(decoder->Init());
  EXPECT_FALSE(decoder->DecodeWave(root_ + "/x.wav"));
  EXPECT_EQ(decoder->GetLastErrorNo(), static_cast<int32_t>(DecodeError::NoFileOpen));
  EXPECT_EQ(decoder->GetState(), 0);

  // The first third of a real MP3: its header still announces the whole length.
  std::string head(fs::file_size(good) / 3, '\0');
  std::ifstream(good, std::ios::binary).read(head.data(), static_cast<std::streamsize>(head.size()));
  std::ofstream(root_ + "/cut.mp3", std::ios::binary) << head;
  std::ofstream(root_ + "/text.mp3") << "This is a note about the song, not audio.\n";
  std::ofstream(root_ + "/.mp3");  // empty, and nothing before the dot
  struct Case {
    std::string name;  // beside the MP3 in the scratch folder, or good's
    std::string wave;
    bool opens;
    bool starts;
    DecodeError error;
  };
  const Case cases[] = {
      {"cut", "cut.wav", true, true, DecodeError::Truncated},
      {"text", "text.wav", false, false, DecodeError::NoFileOpen},
      {"", ".wav", false, false, DecodeError::NoFileOpen},
      {"missing", "missing.wav", false, false, DecodeError::NoFileOpen},
      {"good", "no/such/folder/good.wav", true, false, DecodeError::CannotWrite},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + ".mp3");
    bool opened = false;
    bool started = false;
    const std::string wave = root_ + "/" + c.wave;
    EXPECT_EQ(Decode(*decoder, root_ + "/" + c.name + ".mp3", wave, &opened, &started), static_cast<int32_t>(c.error));
    EXPECT_EQ(opened, c.opens);
    EXPECT_EQ(started, c.starts);
    EXPECT_FALSE(fs::exists(wave));
    EXPECT_FALSE(fs::exists(PartialWaveName(wave)));
  }
  // Random bytes either fail to open or decode to something; they never crash or leave
  // a partial file.
  {
    std::ofstream noise(root_ + "/noise.mp3", std::ios::binary);
    uint32_t x = 12345;
    for (int i = 0; i < 200000; ++i) noise.put(static_cast<char>((x = x * 1664525u + 1013904223u) >> 24));
  }
  Decode(*decoder, root_ + "/noise.mp3", root_ + "/noise.wav");
  EXPECT_FALSE(fs::exists(PartialWaveName(root_ + "/noise.wav")));

  // Closed midway: either it was stopped, or it had already finished whole; never
  // anything in between.
  const std::string mp3 = MakeMp3("long", 44100, 2, 60.0);
  const std::string wave = root_ + "/long.wav";
  ASSERT_TRUE(decoder->Open(mp3));
  ASSERT_TRUE(decoder->DecodeWave(wave));
  decoder->Close();
  EXPECT_EQ(decoder->GetState(), 0);
  EXPECT_FALSE(fs::exists(PartialWaveName(wave)));
  if (decoder->GetLastErrorNo() == static_cast<int32_t>(DecodeError::Cancelled)) {
    EXPECT_FALSE(fs::exists(wave));
  } else {
    EXPECT_EQ(decoder->GetLastErrorNo(), 0);
    EXPECT_EQ(fs::file_size(wave), 44u + 60u * 44100u * 4u);
  }

  // After all of that the decoder still works.
  EXPECT_EQ(Decode(*decoder, good, root_ + "/good.wav"), 0);
  decoder->Free();
  decoder->Free();  // twice is harmless
}

}  // namespace
}  // namespace tessaru
