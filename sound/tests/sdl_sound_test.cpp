// The sound layer on the real backend, with SDL's disk audio driver standing in for a
// sound card: the mixer runs on SDL's own audio thread, as in the game.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "sound/tests/sound_test_support.h"

namespace tessaru {
namespace {

TEST(SdlSound, ASoundReachesTheDeviceWholeAndAtFullLevel) {
  const std::string raw =
      std::string(TESSARU_SCRATCH) + "/sound_disk_" + std::to_string(getpid()) + ".raw";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
  unsetenv("SDL_DISKAUDIODELAY");  // paced like a real device
  {
    test::HeadlessSound files("sdl");  // only for writing the WAVE file
    auto sdl = platform::CreateSdlPlatform();
    SoundLib sound(*sdl->audio, *sdl->clock);
    if (!sound.OpenSound(1)) GTEST_SKIP() << "SDL's disk audio driver is not available";
    const SoundSlot slot =
        sound.LoadWave(files.WriteWave("tone.wav", test::Constant(2205, 7777), 1, 44100), 0, 0);
    ASSERT_GE(slot, 0) << sound.LastLoadError();
    sdl->clock->SleepMs(30);
    ASSERT_TRUE(sound.PlaySound(slot, true, false));
    EXPECT_EQ(sound.GetSoundStatus(slot), kSoundPlaying);
    for (int i = 0; i < 200 && sound.GetSoundStatus(slot) != kSoundStopped; ++i) {
      sdl->clock->SleepMs(5);
    }
    EXPECT_EQ(sound.GetSoundStatus(slot), kSoundStopped);
    EXPECT_EQ(sound.GetSoundPositionMs(slot), 50);
    sdl->clock->SleepMs(30);
    sound.CloseSound();
  }
  std::ifstream in(raw, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::remove(raw.c_str());
  const size_t frames = bytes.size() / 4;
  size_t loud = 0;
  for (size_t f = 0; f < frames; ++f) {
    int16_t left, right;
    std::memcpy(&left, bytes.data() + 4 * f, 2);
    std::memcpy(&right, bytes.data() + 4 * f + 2, 2);
    if (left == 7777 && right == 7777) ++loud;
  }
  EXPECT_EQ(loud, 2205u);
}

}  // namespace
}  // namespace tessaru
