// Replays the inputs kept from fuzzing the content readers.
#include <gtest/gtest.h>

#include <filesystem>

#include "content/bga_file.h"
#include "content/dance_file.h"
#include "content/packed.h"
#include "content/part_file.h"
#include "content/song_file.h"
#include "content/testing/song_bundle.h"
#include "core/testing/kept_inputs.h"

namespace tessaru {
namespace {
namespace fs = std::filesystem;

bool Replay(const std::string& name, const std::vector<uint8_t>& bytes) {
  if (name.starts_with("unpack-")) return UnpackText(bytes).has_value();
  if (name.starts_with("part-")) {
    PartRecord part;
    return LoadPartBytes(part, bytes);
  }
  if (name.starts_with("songfolder-")) {
    SongRecord song;
    std::vector<PartRecord> parts;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return fuzzing::LoadSongBundle(text, std::string(TESSARU_SCRATCH) + "/songfolder", song, parts);
  }
  if (name.starts_with("song-")) {
    SongRecord song;
    std::vector<PartRecord> parts;
    return LoadSongBytes(song, parts, bytes, "fuzz.z4s", true);
  }
  if (name.starts_with("dance-")) {
    DanceRecord dance;
    return LoadDanceBytes(dance, bytes);
  }
  if (name.starts_with("bga-")) {
    BgaRecord bga;
    if (!LoadBgaBytes(bga, bytes)) return false;
    for (int i = 0; i < bga.AObjCount; ++i) (void)AnimFrame(-12345.5, bga.AObjs[static_cast<size_t>(i)]);
    return true;
  }
  ADD_FAILURE() << "kept input for no known reader: " << name;
  return false;
}

TEST(FuzzRegressions, KeptInputsKeepTheirOutcome) {
  testing_support::ReplayKeptInputs(fs::path(TESSARU_FIXTURES) / "fuzz", Replay, 10);
}

}  // namespace
}  // namespace tessaru
