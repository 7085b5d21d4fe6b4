#include "core/paths.h"

#include <gtest/gtest.h>

namespace tessaru {
namespace {

struct PathCase {
  const char* path;
  const char* folder;
  const char* name;
  const char* stripped;
  const char* extension;
};

TEST(PathHelpers, SplitEveryForm) {
  const PathCase cases[] = {
      {"songs\\x\\x.z4s", "songs\\x", "x.z4s", "songs\\x\\x", "z4s"},
      {"/home/p/data/a.b.c", "/home/p/data", "a.b.c", "/home/p/data/a.b", "c"},
      {"mixed/dir\\file.wav", "mixed/dir", "file.wav", "mixed/dir\\file", "wav"},
      {"noext", "", "noext", "noext", ""},
      {"dir.d\\noext", "dir.d", "noext", "dir", "d\\noext"},
      {"trailing\\", "trailing", "", "trailing\\", ""},
      {"", "", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FolderOf(c.path), c.folder);
    EXPECT_EQ(FileNameOf(c.path), c.name);
    EXPECT_EQ(StripExtension(c.path), c.stripped);
    EXPECT_EQ(ExtensionOf(c.path), c.extension);
  }
}

TEST(PathHelpers, ReplaceAndJoin) {
  EXPECT_EQ(ReplaceExtension("songs\\x\\x.z4s", ".zxs"), "songs\\x\\x.zxs");
  EXPECT_EQ(JoinLogical("/data", "\\image\\chip.bmp"), "/data\\image\\chip.bmp");
  EXPECT_EQ(JoinLogical("/data/", "image"), "/data/image");
  EXPECT_EQ(JoinLogical("", "image"), "image");
}

}  // namespace
}  // namespace tessaru
