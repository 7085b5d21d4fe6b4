// Replays every input kept from fuzzing: each must load or fail cleanly, never crash.
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

TEST(FuzzRegressions, KeptInputsLoadOrFailCleanly) {
  const fs::path folder = fs::path(TESSARU_FIXTURES) / "fuzz";
  if (!fs::exists(folder)) GTEST_SKIP() << "no kept inputs";
  int replayed = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const auto bytes = ReadWholeFile(entry.path().string());
    ASSERT_TRUE(bytes) << entry.path();
    const std::string name = entry.path().filename().string();
    // The prefix names the loader the input was found against.
    if (name.starts_with("unpack-")) {
      (void)UnpackText(*bytes);
    } else if (name.starts_with("part-")) {
      PartRecord part;
      (void)LoadPartBytes(part, *bytes);
    } else if (name.starts_with("song-")) {
      SongRecord song;
      std::vector<PartRecord> parts;
      (void)LoadSongBytes(song, parts, *bytes, "fuzz.z4s", true);
    } else if (name.starts_with("dance-")) {
      DanceRecord dance;
      (void)LoadDanceBytes(dance, *bytes);
    } else if (name.starts_with("bga-")) {
      BgaRecord bga;
      if (LoadBgaBytes(bga, *bytes)) {
        for (int i = 0; i < bga.AObjCount; ++i) (void)AnimFrame(-12345.5, bga.AObjs[static_cast<size_t>(i)]);
      }
    } else {
      ADD_FAILURE() << "unknown kept input " << name;
    }
    ++replayed;
  }
  EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace tessaru
