// Song files (header only, so no part files are needed): load or refuse, never crash.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "content/song_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tessaru::SongRecord song;
  std::vector<tessaru::PartRecord> parts;
  if (tessaru::LoadSongBytes(song, parts, std::span<const uint8_t>(data, size), "songs\\f\\f.z4s",
                             true)) {
    // What the loader promises its users: a complete tempo map and a part list that fits.
    if (song.TempoCount < 1 || song.TempoTicks.size() != static_cast<size_t>(song.TempoCount) ||
        song.TempoBpms.size() != song.TempoTicks.size() || song.PartCount > 10 ||
        parts.size() < static_cast<size_t>(song.PartCount) ||
        song.PartFiles.size() < static_cast<size_t>(song.PartCount) || song.PartLinks.size() < 10) {
      __builtin_trap();
    }
    (void)tessaru::PackText(tessaru::EncodeSongFile(song, tessaru::SongFileVersion::Current));
  }
  return 0;
}
