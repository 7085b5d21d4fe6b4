#pragma once
// The MP3 decoder the conversion drives: a small library-like interface (init, open,
// decode into a WAVE file in the background, poll the state, read the last error, close,
// free). The conversion code only relies on the results written here, so a test can
// stand a scripted decoder in for the real one.
#include <cstdint>
#include <memory>
#include <string>

namespace tessaru {

// The numbers GetLastErrorNo reports (shown to the player after "err : ").
enum class DecodeError : int32_t {
  None = 0,
  NotInitialised = 1,  // Init was not called, or failed
  CannotOpen = 2,      // the MP3 file cannot be read
  NotMp3 = 3,          // no MPEG audio frame in the file
  NoFileOpen = 4,      // DecodeWave without a successful Open
  CannotWrite = 5,     // the WAVE file cannot be created or written
  Truncated = 6,       // the stream ends before the length its header announces
  StreamError = 7,     // undecodable data, or a format change a WAVE cannot hold
  Busy = 8,            // a decode is still running
  Cancelled = 9,       // Close or Free stopped a decode before it finished
  TimedOut = 10,       // the caller gave up waiting for the decode
};

class Mp3Decoder {
 public:
  virtual ~Mp3Decoder() = default;
  // True when the decoder is ready; once per run.
  virtual bool Init() = 0;
  // True when the file was opened as MPEG audio.
  virtual bool Open(const std::string& mp3Path) = 0;
  // True when decoding of the opened file into wavePath has started; it goes on in the
  // background. The WAVE appears under its name only once it is complete.
  virtual bool DecodeWave(const std::string& wavePath) = 0;
  // 0 once the decoder is idle (the last decode has finished, one way or the other).
  virtual int32_t GetState() = 0;
  // The last error; DecodeWave resets it, so after a decode it says how that ended.
  virtual int32_t GetLastErrorNo() = 0;
  // Closes the current file, stopping an unfinished decode (its partial output is removed).
  virtual void Close() = 0;
  // Releases the decoder; once at the end of a run.
  virtual void Free() = 0;
};

// The decoder over libmpg123: 16-bit PCM at the MP3's own rate and channel count.
std::unique_ptr<Mp3Decoder> CreateMpg123Decoder();

// The name a WAVE is written under until it is complete.
std::string PartialWaveName(const std::string& wavePath);

}  // namespace tessaru
