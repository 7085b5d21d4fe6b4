// The MP3 decoder over libmpg123. Decoding runs in a worker thread that streams PCM into
// a temporary file beside the target; only a complete, consistent WAVE is renamed to the
// target name, so an interrupted or failed decode never looks like a converted file.
#include <fcntl.h>
#include <mpg123.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "launcher/mp3_decoder.h"
#include "sound/wave_file.h"

namespace tessaru {
namespace {

constexpr size_t kHeaderBytes = 44;
// A WAVE's size fields are 32-bit; a stream that would overflow them is refused.
constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - kHeaderBytes - 1;

struct OutputFormat {
  long Rate = 0;
  int Channels = 0;
};

class Mpg123Decoder final : public Mp3Decoder {
 public:
  ~Mpg123Decoder() override { Free(); }

  bool Init() override {
    Free();
    int err = MPG123_OK;
    handle_ = mpg123_new(nullptr, &err);
    if (handle_ == nullptr) return Fail(DecodeError::NotInitialised);
    mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    lastError_ = DecodeError::None;
    return true;
  }

  bool Open(const std::string& mp3Path) override {
    if (handle_ == nullptr) return Fail(DecodeError::NotInitialised);
    if (Decoding()) return Fail(DecodeError::Busy);
    CloseFile();
    // Opened by us so a missing or unreadable file is told apart from one that is not MPEG.
    const int fd = ::open(mp3Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Fail(DecodeError::CannotOpen);
    fd_ = fd;
    // One output encoding keeps the WAVE uniform; the rate and channels are the stream's.
    mpg123_format_none(handle_);
    for (const long* rates = RateList(); *rates != 0; ++rates) {
      mpg123_format(handle_, *rates, MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
    if (mpg123_open_fd(handle_, fd_) != MPG123_OK) {
      CloseFile();
      return Fail(DecodeError::NotMp3);
    }
    int channels = 0;
    int encoding = 0;
    long rate = 0;
    if (mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK || channels < 1) {
      CloseFile();
      return Fail(DecodeError::NotMp3);
    }
    format_ = {rate, channels};
    // The length is only trusted when an encoder tag states it: a truncated file is then
    // recognised by coming up short.
    long delay = -1;
    double unused = 0.0;
    mpg123_getstate(handle_, MPG123_ENC_DELAY, &delay, &unused);
    expectedFrames_ = delay >= 0 ? static_cast<int64_t>(mpg123_length(handle_)) : -1;
    open_ = true;
    lastError_ = DecodeError::None;
    return true;
  }

  bool DecodeWave(const std::string& wavePath) override {
    if (handle_ == nullptr) return Fail(DecodeError::NotInitialised);
    if (Decoding()) return Fail(DecodeError::Busy);
    Join();
    if (!open_) return Fail(DecodeError::NoFileOpen);
    const std::string partial = PartialWaveName(wavePath);
    std::FILE* out = std::fopen(partial.c_str(), "wb");
    if (out == nullptr) return Fail(DecodeError::CannotWrite);
    lastError_ = DecodeError::None;
    cancel_ = false;
    state_ = 1;
    try {
      worker_ = std::thread([this, out, partial, wavePath] {
        const DecodeError result = Run(out, partial, wavePath);
        lastError_ = result;
        state_ = 0;
      });
    } catch (const std::system_error&) {
      std::fclose(out);
      std::remove(partial.c_str());
      state_ = 0;
      return Fail(DecodeError::StreamError);
    }
    return true;
  }

  int32_t GetState() override { return state_.load(); }
  int32_t GetLastErrorNo() override { return static_cast<int32_t>(lastError_.load()); }

  void Close() override {
    if (Decoding()) cancel_ = true;
    Join();
    CloseFile();
  }

  void Free() override {
    Close();
    if (handle_ != nullptr) mpg123_delete(handle_);
    handle_ = nullptr;
  }

 private:
  static const long* RateList() {
    static std::vector<long> rates = [] {
      const long* list = nullptr;
      size_t count = 0;
      mpg123_rates(&list, &count);
      std::vector<long> all(list, list + count);
      all.push_back(0);
      return all;
    }();
    return rates.data();
  }

  bool Decoding() const { return state_.load() != 0; }

  bool Fail(DecodeError error) {
    lastError_ = error;
    return false;
  }

  void Join() {
    if (worker_.joinable()) worker_.join();
  }

  void CloseFile() {
    if (open_) mpg123_close(handle_);
    open_ = false;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  // The worker: decode everything, then finish the header and move the file into place.
  DecodeError Run(std::FILE* out, const std::string& partial, const std::string& wavePath) {
    DecodeError result = Stream(out);
    if (result == DecodeError::None && (std::fflush(out) != 0 || ::fsync(fileno(out)) != 0)) {
      result = DecodeError::CannotWrite;
    }
    if (std::fclose(out) != 0 && result == DecodeError::None) result = DecodeError::CannotWrite;
    if (result == DecodeError::None && std::rename(partial.c_str(), wavePath.c_str()) != 0) {
      result = DecodeError::CannotWrite;
    }
    if (result != DecodeError::None) std::remove(partial.c_str());
    return result;
  }

  DecodeError Stream(std::FILE* out) {
    const auto header = [&](uint32_t dataBytes) {
      const std::vector<uint8_t> bytes =
          BuildWaveHeader(dataBytes, format_.Channels, static_cast<int>(format_.Rate), 16);
      return std::fseek(out, 0, SEEK_SET) == 0 &&
             std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    };
    if (!header(0)) return DecodeError::CannotWrite;
    std::vector<unsigned char> buffer(64 * 1024);
    uint64_t dataBytes = 0;
    for (;;) {
      if (cancel_) return DecodeError::Cancelled;
      size_t got = 0;
      const int rc = mpg123_read(handle_, buffer.data(), buffer.size(), &got);
      if (rc == MPG123_NEW_FORMAT) {
        long rate = 0;
        int channels = 0;
        int encoding = 0;
        mpg123_getformat(handle_, &rate, &channels, &encoding);
        if (rate != format_.Rate || channels != format_.Channels) return DecodeError::StreamError;
      } else if (rc != MPG123_OK && rc != MPG123_DONE) {
        return DecodeError::StreamError;
      }
      if (got > 0) {
        dataBytes += got;
        if (dataBytes > kMaxDataBytes) return DecodeError::StreamError;
        if (std::fwrite(buffer.data(), 1, got, out) != got) return DecodeError::CannotWrite;
      }
      if (rc == MPG123_DONE) break;
    }
    const int64_t frames = static_cast<int64_t>(dataBytes / (2u * static_cast<unsigned>(format_.Channels)));
    if (frames == 0) return DecodeError::NotMp3;
    if (expectedFrames_ > 0 && frames < expectedFrames_) return DecodeError::Truncated;
    return header(static_cast<uint32_t>(dataBytes)) ? DecodeError::None : DecodeError::CannotWrite;
  }

  mpg123_handle* handle_ = nullptr;
  int fd_ = -1;
  bool open_ = false;
  OutputFormat format_;
  int64_t expectedFrames_ = -1;
  std::thread worker_;
  std::atomic<int32_t> state_{0};
  std::atomic<DecodeError> lastError_{DecodeError::NotInitialised};
  std::atomic<bool> cancel_{false};
};

}  // namespace

std::unique_ptr<Mp3Decoder> CreateMpg123Decoder() { return std::make_unique<Mpg123Decoder>(); }

std::string PartialWaveName(const std::string& wavePath) { return wavePath + ".part"; }

}  // namespace tessaru
