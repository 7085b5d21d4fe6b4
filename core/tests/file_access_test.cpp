#include "core/file_access.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/testing/scratch_folder.h"

namespace tessaru {
namespace {
namespace fs = std::filesystem;

class FileAccess : public testing_support::ScratchFolder {
 protected:
  void SetUp() override {
    ScratchFolder::SetUp();
    fs::create_directories(root_ + "/Image/Sub");
    Write("Image/Chip.BMP", "chip");
    Write("Image/Sub/exact.wav", "exact");
    Write("Image/Sub/EXACT.wav", "upper");
  }
};

TEST_F(FileAccess, FindsFilesWhoseCaseDiffers) {
  EXPECT_TRUE(FileExists(root_ + "\\image\\chip.bmp"));
  EXPECT_EQ(ResolvePath(root_ + "\\image\\chip.bmp"), root_ + "/Image/Chip.BMP");
  // The exact spelling wins over a case-insensitive one.
  EXPECT_EQ(ResolvePath(root_ + "\\Image\\Sub\\EXACT.wav"), root_ + "/Image/Sub/EXACT.wav");
  // Without an exact match, the smallest name breaks the tie.
  EXPECT_EQ(ResolvePath(root_ + "\\image\\sub\\Exact.WAV"), root_ + "/Image/Sub/EXACT.wav");
  EXPECT_FALSE(FileExists(root_ + "\\image\\missing.bmp"));
  EXPECT_FALSE(FileExists(root_ + "\\image"));  // a folder is not a readable file
  EXPECT_TRUE(FolderExists(root_ + "\\IMAGE\\sub"));
  EXPECT_EQ(ResolvePath(root_ + "\\nothing\\x.bmp"), root_ + "/nothing/x.bmp");
}

TEST_F(FileAccess, ReadAndAtomicWrite) {
  const auto bytes = ReadWholeFile(root_ + "\\IMAGE\\CHIP.bmp");
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "chip");
  EXPECT_FALSE(ReadWholeFile(root_ + "\\missing").has_value());
  EXPECT_FALSE(ReadWholeFile(root_ + "\\image\\chip.bmp", 3).has_value());

  ASSERT_TRUE(WriteWholeFileAtomic(root_ + "\\image\\chip.bmp", "new"));
  EXPECT_EQ(*ReadWholeFile(root_ + "/Image/Chip.BMP"), (std::vector<uint8_t>{'n', 'e', 'w'}));
  EXPECT_FALSE(fs::exists(root_ + "/Image/Chip.BMP" + std::string(kSaveTempSuffix)));
  EXPECT_FALSE(WriteWholeFileAtomic(root_ + "/no/such/folder/file", "x"));

  DeleteFileQuiet(root_ + "\\image\\chip.bmp");
  EXPECT_FALSE(FileExists(root_ + "\\image\\chip.bmp"));
  DeleteFileQuiet(root_ + "\\image\\chip.bmp");  // a second delete is quiet
}

TEST_F(FileAccess, LeftoversOfInterruptedSavesAreRemoved) {
  const std::string tmp(kSaveTempSuffix);
  Write("hsc.ini", "whole");
  Write("hsc.ini" + tmp, "half");
  Write("user.ini" + tmp, "");  // the first save of a file never got renamed
  Write("notes" + tmp + ".txt", "kept");
  Write(tmp, "kept");  // the bare suffix is nobody's temporary
  fs::create_directories(root_ + "/folder" + tmp);
  EXPECT_EQ(RemoveLeftoverSaves(root_), 2);
  EXPECT_EQ(Read("hsc.ini"), "whole");
  for (const char* gone : {"/hsc.ini", "/user.ini"}) EXPECT_FALSE(fs::exists(root_ + gone + tmp)) << gone;
  for (const std::string& kept : {"/notes" + tmp + ".txt", "/" + tmp, "/folder" + tmp}) {
    EXPECT_TRUE(fs::exists(root_ + kept)) << kept;
  }
  EXPECT_EQ(RemoveLeftoverSaves(root_ + "/no/such/folder"), 0);
}

}  // namespace
}  // namespace tessaru
