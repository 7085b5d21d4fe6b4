// Replays inputs kept from fuzzing. Each name says which reader it was found against and
// whether that reader loads it ("-ok-") or refuses it ("-refused-"); neither may crash.
#include <gtest/gtest.h>

#include <filesystem>

#include "content/bga_file.h"
#include "content/dance_file.h"
#include "content/packed.h"
#include "content/part_file.h"
#include "content/song_file.h"
#include "core/file_access.h"

namespace tessaru {
namespace {
namespace fs = std::filesystem;

bool Replay(const std::string& name, const std::vector<uint8_t>& bytes) {
  if (name.starts_with("unpack-")) return UnpackText(bytes).has_value();
  if (name.starts_with("part-")) {
    PartRecord part;
    return LoadPartBytes(part, bytes);
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
  int replayed = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(TESSARU_FIXTURES) / "fuzz")) {
    const auto bytes = ReadWholeFile(entry.path().string());
    ASSERT_TRUE(bytes) << entry.path();
    const std::string name = entry.path().filename().string();
    const bool expected = name.find("-ok-") != std::string::npos;
    EXPECT_EQ(Replay(name, *bytes), expected) << name;
    ++replayed;
  }
  EXPECT_GE(replayed, 10);
}

}  // namespace
}  // namespace tessaru
