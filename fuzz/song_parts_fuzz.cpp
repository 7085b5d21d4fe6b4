// A whole song folder (song file, extension list, part files): it loads or is refused,
// and what loads can be played: a stage of two computer players runs on it to its end or
// for a few minutes of song time without fault.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/random.h"
#include "content/testing/song_bundle.h"
#include "stage/stage.h"

namespace {

// The song folder each input is written into; removed when the fuzzer exits.
struct ScratchFolder {
  std::string path = "/tmp/tessaru-fuzz-song-" + std::to_string(::getpid());
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

const std::string& Folder() {
  static const ScratchFolder folder;
  return folder.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tessaru::SongRecord song;
  std::vector<tessaru::PartRecord> parts;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (!tessaru::fuzzing::LoadSongBundle(bytes, Folder(), song, parts)) return 0;
  // What the loaders promise the stage.
  if (song.PartCount < 0 || parts.size() < static_cast<size_t>(song.PartCount) ||
      song.PartFiles.size() < parts.size() || song.PartLinks.size() < parts.size() ||
      song.TempoTicks.size() != static_cast<size_t>(song.TempoCount) || song.TempoBpms.size() != song.TempoTicks.size()) {
    __builtin_trap();
  }
  if (song.PartCount < 1) return 0;

  tessaru::StageSetup setup;
  const auto last = static_cast<int16_t>(song.PartCount - 1);
  setup.PlayerPart = {static_cast<int16_t>(size % song.PartCount), last};
  setup.ComSkill = {100, 40, 99, 99};
  setup.PlayStyle = static_cast<int16_t>(size % 4);
  tessaru::Random random(size);
  tessaru::Stage stage(song, parts, setup, random);
  for (int32_t ms = 0; ms < 240'000 && stage.EndState() == 0; ms += 37) stage.Update(ms);
  return 0;
}
