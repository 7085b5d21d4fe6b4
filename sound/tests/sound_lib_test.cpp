#include "sound/sound_lib.h"

#include <gtest/gtest.h>

#include <cmath>

#include "content/packed.h"
#include "sound/tests/sound_test_support.h"

namespace tessaru {
namespace {

using test::Constant;
using test::HeadlessSound;
using test::Ramp;

// An open sound layer with its own scratch folder.
class SoundLibTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(s.OpenSound(1)); }

  HeadlessSound h{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  SoundLib& s = h.sound;
};

TEST(SoundLib, ClosedLayerAndInvalidSlotsAnswerFalseMinusOneOrZero) {
  HeadlessSound h("invalid");
  SoundLib& s = h.sound;
  const std::string wave = h.WriteWave("a.wav", Constant(100, 1000), 1, 22050);
  EXPECT_EQ(s.LoadWave(wave, 0, 0), -1);
  EXPECT_EQ(s.LoadPackedWave(wave, 0, 0), -1);
  EXPECT_FALSE(s.SetPrimaryFormat(true, 16, 44100, 2));
  s.StopAllSounds();
  s.ReleaseAllSounds();
  EXPECT_EQ(s.SlotCount(), 0);
  // Slot 0 while closed; then, open with slot 0 loaded, slots out of range.
  std::vector<SoundSlot> invalid = {0};
  for (int round = 0; round < 2; ++round) {
    for (SoundSlot slot : invalid) {
      // Play, stop, volume and pan, seek, release; status, position, length.
      EXPECT_EQ((std::vector<int>{s.PlaySound(slot, true, false), s.StopSound(slot), s.SetVolPan(slot, 0, 0, true),
                                  s.SetSoundPositionMs(slot, 0), s.ReleaseSound(slot), s.GetSoundStatus(slot),
                                  s.GetSoundPositionMs(slot), s.GetSoundLengthMs(slot)}),
                (std::vector<int>{0, 0, 0, 0, 0, 0, -1, 0}))
          << slot;
    }
    if (round == 0) {
      ASSERT_TRUE(s.OpenSound(1));
      ASSERT_EQ(s.LoadWave(wave, 0, 0), 0);
      invalid = {-1, 1, 500};
    }
  }
}

TEST_F(SoundLibTest, SlotsAreReusedAndTheTableResets) {
  const std::string wave = h.WriteWave("a.wav", Constant(100, 1000), 1, 22050);
  EXPECT_EQ(s.LoadWave(wave, 0, 0), 0);
  EXPECT_EQ(s.LoadWave(wave, 0, 0), 1);
  EXPECT_EQ(s.LoadWave(wave, 0, 0), 2);
  EXPECT_EQ(s.SlotCount(), 3);
  // The first free slot is reused.
  EXPECT_TRUE(s.ReleaseSound(1));
  EXPECT_EQ(s.GetSoundStatus(1), 0);
  EXPECT_EQ(s.GetSoundPositionMs(1), -1);
  EXPECT_EQ(s.LoadWave(wave, 0, 0), 1);
  EXPECT_EQ(s.SlotCount(), 3);
  // A failed load leaves its slot empty (the table may grow by one empty slot).
  EXPECT_EQ(s.LoadWave(h.folder + "/missing.wav", 0, 0), -1);
  EXPECT_NE(s.LastLoadError().find("missing.wav"), std::string::npos);
  EXPECT_EQ(s.SlotCount(), 4);
  EXPECT_EQ(s.LoadWave(wave, 0, 0), 3);
  EXPECT_TRUE(s.LastLoadError().empty());
  // Releasing everything but one, then that one, resets the table: the next load is 0.
  for (SoundSlot slot = 0; slot < 3; ++slot) EXPECT_TRUE(s.ReleaseSound(slot));
  EXPECT_EQ(s.SlotCount(), 4);
  EXPECT_EQ(s.LoadWave(wave, 0, 0), 0);
  s.ReleaseAllSounds();
  EXPECT_EQ(s.SlotCount(), 0);
  EXPECT_EQ(s.LoadWave(wave, 0, 0), 0);
  EXPECT_EQ(s.SlotCount(), 1);
  EXPECT_TRUE(s.ReleaseSound(0));  // the only slot
  EXPECT_EQ(s.SlotCount(), 0);
  EXPECT_EQ(s.LoadWave(wave, 0, 0), 0);
}

TEST_F(SoundLibTest, LengthAndPositionInMilliseconds) {
  // Length = floor(round(bytes / blockAlign) / rate * 1000), halves to even.
  struct Case {
    int channels, bits, rate;
    uint32_t dataBytes;
    int32_t lengthMs;
  };
  const std::vector<Case> cases = {
      {2, 16, 22050, 88200, 1000}, {1, 8, 22050, 22050, 1000}, {1, 16, 44100, 88200, 1000},
      {2, 16, 22050, 88198, 1000},  // 22049.5 frames rounds to 22050
      {2, 16, 22050, 88194, 999},   // 22048.5 rounds to 22048
      {2, 16, 22050, 88195, 999},   // 22048.75 rounds to 22049 = 999.95 ms
      {2, 8, 11025, 11026, 500},    // 5513 frames
      {1, 16, 48000, 95, 1},        // 47.5 frames rounds to 48, exactly 1 ms
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    std::vector<uint8_t> bytes =
        BuildWave(std::vector<int16_t>(c.dataBytes / (c.bits / 8), 0), c.channels, c.rate, c.bits);
    // Patch the data size and the bytes to the odd count.
    bytes.resize(44 + c.dataBytes);
    for (int k = 0; k < 4; ++k) bytes[40 + k] = static_cast<uint8_t>(c.dataBytes >> (8 * k));
    const SoundSlot slot = s.LoadWave(h.Write("len" + std::to_string(i) + ".wav", bytes), 0, 0);
    ASSERT_GE(slot, 0) << s.LastLoadError();
    EXPECT_EQ(s.GetSoundLengthMs(slot), c.lengthMs) << i;
  }

  // Setting a position: bytes = blockAlign * Int(ms / 1000 * rate); reading it back goes
  // through whole frames, so 996 ms at 22050 Hz (21961.8 frames) reads 995.
  const SoundSlot slow = s.LoadWave(h.WriteWave("slow.wav", Ramp(44100), 1, 22050), 0, 0);
  const SoundSlot fast = s.LoadWave(h.WriteWave("fast.wav", Ramp(88200), 1, 44100), 0, 0);
  const SoundSlot odd = s.LoadWave(h.WriteWave("odd.wav", Ramp(64000), 2, 32000), 0, 0);
  struct Seek {
    SoundSlot slot;
    int32_t ms;
    bool ok;
    int32_t readBack;
  };
  for (const Seek& k : {Seek{slow, 996, true, 995}, Seek{slow, 1000, true, 1000},
                        Seek{slow, 0, true, 0}, Seek{slow, 2000, true, 2000},
                        Seek{slow, 2001, false, 2000}, Seek{slow, -1, false, 2000},
                        Seek{fast, 996, true, 995}, Seek{fast, 1500, true, 1500},
                        Seek{odd, 333, true, 333}, Seek{odd, 999, true, 999}}) {
    EXPECT_EQ(s.SetSoundPositionMs(k.slot, k.ms), k.ok) << k.slot << " " << k.ms;
    EXPECT_EQ(s.GetSoundPositionMs(k.slot), k.readBack) << k.slot << " " << k.ms;
  }
  EXPECT_EQ(s.GetSoundLengthMs(slow), 2000);
}

TEST_F(SoundLibTest, VolumeAndPanAreClampedCachedAndHeard) {
  h.control.RecordAudio(true);
  // A stereo file, its channels told apart: 20000 on the left, 16000 on the right.
  std::vector<int16_t> stereo(2 * 44100, 20000);
  for (size_t i = 1; i < stereo.size(); i += 2) stereo[i] = 16000;
  const SoundSlot slot = s.LoadWave(h.WriteWave("dc.wav", stereo, 2, 44100), 0, 0);
  ASSERT_EQ(slot, 0);
  // Loading applies the given pan and volume, clamped.
  const SoundSlot loud = s.LoadWave(h.WriteWave("dc2.wav", Constant(10, 1), 1, 44100), -20000, 500);
  EXPECT_EQ(s.CachedPan(loud), -10000);
  EXPECT_EQ(s.CachedVolume(loud), 0);

  struct Case {
    int32_t pan, volume;
    int32_t cachedPan, cachedVolume;
    double left, right;  // expected gain heard on each channel
  };
  const std::vector<Case> cases = {
      {0, 500, 0, 0, 1.0, 1.0},
      {600, 0, 600, 0, std::pow(10.0, -0.3), 1.0},
      {-2000, -1000, -2000, -1000, std::pow(10.0, -0.5), std::pow(10.0, -1.5)},
      {-20000, 0, -10000, 0, 1.0, 0.0},
      {20000, -20000, 10000, -10000, 0.0, 0.0},
      {1, -1, 1, -1, std::pow(10.0, -1.0 / 2000 - 1.0 / 2000), std::pow(10.0, -1.0 / 2000)},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(s.SetVolPan(slot, c.pan, c.volume, false));
    EXPECT_EQ(s.CachedPan(slot), c.cachedPan);
    EXPECT_EQ(s.CachedVolume(slot), c.cachedVolume);
    ASSERT_TRUE(s.PlaySound(slot, true, false));
    const size_t start = h.RecordedFrames();
    h.control.AdvanceMs(50.0);
    // Well after the start (one buffer of latency) and any gain slide.
    const size_t at = start + 1200;
    EXPECT_NEAR(h.Left(at), 20000 * c.left, 0.6) << c.pan << "," << c.volume;
    EXPECT_NEAR(h.Right(at), 16000 * c.right, 0.6) << c.pan << "," << c.volume;
  }
}

TEST_F(SoundLibTest, SetVolPanSkipsUnchangedValuesUnlessForced) {
  h.control.RecordAudio(true);
  const SoundSlot slot = s.LoadWave(h.WriteWave("dc.wav", Constant(44100, 20000), 1, 44100), 0, -2000);
  ASSERT_TRUE(s.PlaySound(slot, true, false));
  h.control.AdvanceMs(30.0);
  // Going around the cache (the mixer directly) and then setting the cached values again
  // changes nothing; forcing them restores the sound.
  s.GetMixer().SetGain(0, h.clock.NowMs(), StereoGain{1.0f, 1.0f});
  s.SetVolPan(slot, 0, -2000, false);
  const size_t before = h.RecordedFrames();
  h.control.AdvanceMs(30.0);
  EXPECT_EQ(h.Left(before + 1000), 20000);
  s.SetVolPan(slot, 0, -2000, true);
  const size_t after = h.RecordedFrames();
  h.control.AdvanceMs(30.0);
  EXPECT_EQ(h.Left(after + 1000), 2000);
}

TEST_F(SoundLibTest, PlayLoopStopAndContinue) {
  const SoundSlot slot = s.LoadWave(h.WriteWave("ramp.wav", Ramp(44100), 1, 44100), 0, 0);  // one second
  ASSERT_GE(slot, 0);
  // Per step: a command, then time passes; the status and the position read then (within
  // `slack` ms). "play" and "loop" do not rewind; "rewind and ..." does.
  struct Step {
    const char* command;
    double thenMs;
    int32_t status, positionMs, slack;
  };
  const Step steps[] = {
      {"rewind and loop", 300, kSoundLooping, 300, 1},
      {"loop", 100, kSoundLooping, 400, 1},  // a second PlaySound keeps the position running
      {"", 700, kSoundLooping, 100, 1},      // past its end the loop wraps around
      {"stop", 50, kSoundStopped, 100, 0},   // stop keeps the position ...
      {"", 200, kSoundStopped, 100, 0},
      {"play", 100, kSoundPlaying, 200, 1},  // ... and play continues from it
      {"play", 40, kSoundPlaying, 240, 1},   // as a playing sound restarted carries on
      {"", 1000, kSoundStopped, 1000, 0},    // played to its end it stops there
      {"play", 100, kSoundStopped, 1000, 0},  // and only a rewind starts it again
      {"rewind and play", 100, kSoundPlaying, 100, 1},
      // The menu-music keeper: position 996 ms (995.98 ms), then play once.
      {"stop, seek 996 and play", 1, kSoundPlaying, 996, 0},
      {"", 3.5, kSoundStopped, 1000, 0},
  };
  for (const Step& step : steps) {
    const std::string command = step.command;
    if (command.find("stop") == 0) {
      ASSERT_TRUE(s.StopSound(slot));
    }
    if (command.find("seek 996") != std::string::npos) {
      ASSERT_TRUE(s.SetSoundPositionMs(slot, 996));
    }
    if (command.find("play") != std::string::npos || command.find("loop") != std::string::npos) {
      ASSERT_TRUE(s.PlaySound(slot, command.find("rewind") == 0, command.find("loop") != std::string::npos));
    }
    h.control.AdvanceMs(step.thenMs);
    EXPECT_EQ(s.GetSoundStatus(slot), step.status) << "after \"" << command << "\" and " << step.thenMs << " ms";
    EXPECT_NEAR(s.GetSoundPositionMs(slot), step.positionMs, step.slack)
        << "after \"" << command << "\" and " << step.thenMs << " ms";
  }
}

TEST_F(SoundLibTest, StopAllStopsOnlyOneShotSounds) {
  const std::string wave = h.WriteWave("a.wav", Ramp(44100), 1, 44100);
  const SoundSlot once = s.LoadWave(wave, 0, 0);
  const SoundSlot looped = s.LoadWave(wave, 0, 0);
  s.PlaySound(once, true, false);
  s.PlaySound(looped, true, true);
  h.control.AdvanceMs(50.0);
  s.StopAllSounds();
  EXPECT_EQ(s.GetSoundStatus(once), kSoundStopped);
  EXPECT_EQ(s.GetSoundStatus(looped), kSoundLooping);
  s.ReleaseAllSounds();
  EXPECT_EQ(s.GetSoundStatus(looped), kSoundStopped);
}

TEST_F(SoundLibTest, PackedSoundsArePreferredAndBrokenFilesFailWithAReason) {
  // "voice.wav" exists only packed; "bgm.wav" only plain; "both" has a packed twin of
  // another length, which wins.
  ASSERT_TRUE(WritePackedFile(h.folder + "/voice.zxw", BuildWave(Constant(22050, 5), 1, 22050)));
  h.WriteWave("bgm.wav", Constant(44100, 5), 1, 44100);
  h.WriteWave("both.wav", Constant(44100, 5), 1, 44100);
  ASSERT_TRUE(WritePackedFile(h.folder + "/both.zxw", BuildWave(Constant(11025, 5), 1, 22050)));
  ASSERT_TRUE(WritePackedFile(h.folder + "/broken.zxw", {1, 2, 3}));
  h.WriteWave("broken.wav", Constant(100, 5), 1, 44100);

  SoundSlot slot = s.LoadPackedWave(h.folder + "/voice.wav", 0, 0);
  ASSERT_GE(slot, 0) << s.LastLoadError();
  EXPECT_EQ(s.GetSoundLengthMs(slot), 1000);
  slot = s.LoadPackedWave(h.folder + "/bgm.wav", 0, 0);
  ASSERT_GE(slot, 0) << s.LastLoadError();
  EXPECT_EQ(s.GetSoundLengthMs(slot), 1000);
  slot = s.LoadPackedWave(h.folder + "/BOTH.WAV", 0, 0);  // letter case differs on disk
  ASSERT_GE(slot, 0) << s.LastLoadError();
  EXPECT_EQ(s.GetSoundLengthMs(slot), 500);
  // A broken packed file is an error, not a silent fallback.
  EXPECT_EQ(s.LoadPackedWave(h.folder + "/broken.wav", 0, 0), -1);
  EXPECT_NE(s.LastLoadError().find("broken.zxw"), std::string::npos);
  // The plain loader reads only the plain file.
  EXPECT_EQ(s.LoadWave(h.folder + "/voice.wav", 0, 0), -1);
  std::vector<uint8_t> truncated = BuildWave(Constant(1000, 5), 1, 22050);
  truncated.resize(truncated.size() / 2);
  EXPECT_EQ(s.LoadWave(h.Write("t.wav", truncated), 0, 0), -1);
  EXPECT_NE(s.LastLoadError().find("truncated"), std::string::npos);
  EXPECT_EQ(s.LoadWave(h.Write("e.wav", {}), 0, 0), -1);
  EXPECT_GE(s.LoadWave(h.folder + "/bgm.wav", 0, 0), 0) << "and the game goes on";
}

TEST_F(SoundLibTest, MultiCopySoundsOverlapThemselves) {
  h.control.RecordAudio(true);
  const SoundSlot slot =
      s.LoadMultiCopyWave(h.WriteWave("decide.wav", Constant(44100, 1000), 1, 44100), 0, 0);
  ASSERT_GE(slot, 0);
  h.control.AdvanceMs(0.0);
  // Five presses 50 ms apart: four copies sound together, the fifth cuts the oldest.
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(s.PlaySound(slot, true, false));
    h.control.AdvanceMs(50.0);
  }
  h.control.AdvanceMs(50.0);
  // Halfway between presses: one to four copies, and four again once the first was cut.
  const int latency = s.GetMixer().LatencyFrames();
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(h.Left(static_cast<size_t>(latency + std::llround((25 + 50 * i) * 44.1))), 1000 * std::min(i + 1, 4)) << i;
  }
  EXPECT_EQ(s.GetSoundStatus(slot), kSoundPlaying);
  EXPECT_TRUE(s.StopSound(slot));
  EXPECT_EQ(s.GetSoundStatus(slot), kSoundStopped);
  h.control.AdvanceMs(50.0);
  EXPECT_EQ(h.Left(h.RecordedFrames() - 1), 0);
}

TEST_F(SoundLibTest, OutputFormatsAndTheirFallback) {
  EXPECT_EQ(s.OutputFormat().Rate, 44100);
  EXPECT_EQ(s.OutputFormat().BufferFrames, 512);
  const SoundSlot slot = s.LoadWave(h.WriteWave("ramp.wav", Ramp(22050), 1, 22050), 0, 0);
  // 250 ms is frame 5512.5, stored as 5512, which reads back as 249 ms.
  s.SetSoundPositionMs(slot, 250);
  EXPECT_EQ(s.GetSoundPositionMs(slot), 249);

  ASSERT_TRUE(s.SetPrimaryFormat(true, 8, 22050, 2));
  EXPECT_EQ(h.control.CurrentAudioFormat()->Rate, 22050);
  EXPECT_EQ(h.control.CurrentAudioFormat()->Bits, 8);
  EXPECT_EQ(s.OutputFormat().BufferFrames, 256);  // the same time at half the rate
  // Sounds loaded before keep their length and position.
  EXPECT_EQ(s.GetSoundLengthMs(slot), 1000);
  EXPECT_EQ(s.GetSoundPositionMs(slot), 249);
  s.PlaySound(slot, false, true);
  h.control.AdvanceMs(100.0);
  EXPECT_EQ(s.GetSoundStatus(slot), kSoundLooping);

  // A device that refuses 44100 Hz: the call fails, and the next format is tried.
  h.control.SetAudioAccepts([](const platform::AudioFormat& f) { return f.Rate != 44100; });
  EXPECT_FALSE(s.SetPrimaryFormat(true, 16, 44100, 2));
  EXPECT_EQ(s.GetSoundStatus(slot), kSoundLooping);  // the slot itself stays as it was
  EXPECT_TRUE(s.SetPrimaryFormat(true, 16, 22050, 2));
  EXPECT_EQ(h.control.CurrentAudioFormat()->Bits, 16);
  // A sound that was playing carries on through the change.
  h.control.AdvanceMs(100.0);
  EXPECT_EQ(s.GetSoundStatus(slot), kSoundLooping);
  // Without the primary format the output goes back to the default format.
  h.control.SetAudioAccepts(nullptr);
  EXPECT_TRUE(s.SetPrimaryFormat(false, 8, 11025, 7));
  EXPECT_EQ(h.control.CurrentAudioFormat()->Rate, 44100);
  EXPECT_TRUE(s.CloseSound());
  EXPECT_FALSE(h.control.CurrentAudioFormat().has_value());
  EXPECT_FALSE(s.IsSoundOpen());
}

TEST(SoundLib, DevicesAreNumberedFromOneWithTheDefaultFirst) {
  HeadlessSound h("devices");
  SoundLib& s = h.sound;
  for (const int16_t device : std::initializer_list<int16_t>{1, 2, 3, 0, -5}) {
    EXPECT_EQ(s.GetSoundDeviceGuid(device), device == 2 ? "Headless output" : "") << device;
  }
  ASSERT_TRUE(s.OpenSound(2));
  EXPECT_EQ(h.control.CurrentAudioFormat()->Device, "Headless output");
  EXPECT_FALSE(s.OpenSound(1));  // already open
  s.CloseSound();
  ASSERT_TRUE(s.OpenSound(-3));  // below 1 counts as the default device
  EXPECT_EQ(h.control.CurrentAudioFormat()->Device, "");
  s.CloseSound();
  h.control.SetAudioAccepts([](const platform::AudioFormat&) { return false; });
  EXPECT_FALSE(s.OpenSound(1));
  EXPECT_FALSE(s.IsSoundOpen());
}

}  // namespace
}  // namespace tessaru
