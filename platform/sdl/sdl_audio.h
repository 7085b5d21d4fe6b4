#pragma once
// The real audio device. SDL's audio thread calls our mixer once per device buffer; the
// mixer always renders signed 16-bit stereo, converted here when the device is 8-bit.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/sdl_subsystem.h"
#include "platform/sdl/time_base.h"

namespace tessaru::platform {

// Unsigned 8-bit PCM keeps the top byte of each sample, offset to centre on 128.
inline uint8_t SampleS16ToU8(int16_t sample) {
  return static_cast<uint8_t>((sample >> 8) + 128);
}

class SdlAudio final : public AudioOut {
 public:
  explicit SdlAudio(std::shared_ptr<const TimeBase> time) : time_(std::move(time)) {}
  ~SdlAudio() override { Close(); }

  std::optional<AudioFormat> Open(const AudioFormat& wanted, MixCallback mix) override;
  void Close() override;
  bool IsOpen() const override { return device_ != 0; }
  void Lock() override;
  void Unlock() override;
  std::vector<std::string> DeviceNames() override;
  std::string LastError() const override { return error_; }

 private:
  static void Callback(void* self, uint8_t* stream, int length);
  void Fill(uint8_t* stream, int length);

  std::shared_ptr<const TimeBase> time_;
  SdlSubsystem subsystem_;  // from the first Open until destruction, as formats change
  uint32_t device_ = 0;
  AudioFormat granted_;
  MixCallback mix_;
  std::vector<int16_t> scratch_;  // sized at open: the audio thread never allocates
  std::string error_;
};

}  // namespace tessaru::platform
