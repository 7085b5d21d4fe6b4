#pragma once
// A sound layer on the headless platform, with WAVE files written to the test's scratch
// folder.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "sound/sound_lib.h"
#include "sound/wave_file.h"

namespace tessaru::test {

class HeadlessSound {
 public:
  explicit HeadlessSound(const std::string& folderName)
      : headless(platform::CreateHeadlessPlatform()),
        clock(*headless.platform->clock),
        control(*headless.control),
        sound(*headless.platform->audio, *headless.platform->clock),
        folder(std::string(TESSARU_SCRATCH) + "/" + folderName) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }

  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    const std::string path = folder + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  std::string WriteWave(const std::string& name, const std::vector<int16_t>& samples,
                        int channels, int rate, int bits = 16) const {
    return Write(name, BuildWave(samples, channels, rate, bits));
  }
  // The frame of the recording at which output frame f of the open device sits.
  int16_t Left(size_t frame) const { return control.RecordedAudio()[2 * frame]; }
  int16_t Right(size_t frame) const { return control.RecordedAudio()[2 * frame + 1]; }
  size_t RecordedFrames() const { return control.RecordedAudio().size() / 2; }

  platform::HeadlessPlatform headless;
  platform::Clock& clock;
  platform::HeadlessControl& control;
  SoundLib sound;
  std::string folder;
};

inline std::vector<int16_t> Constant(size_t frames, int16_t value) {
  return std::vector<int16_t>(frames, value);
}

inline std::vector<int16_t> Ramp(size_t frames) {
  std::vector<int16_t> s(frames);
  for (size_t i = 0; i < frames; ++i) s[i] = static_cast<int16_t>(i % 30000 + 1);
  return s;
}

}  // namespace tessaru::test
