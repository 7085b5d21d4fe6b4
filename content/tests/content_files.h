#pragma once
// Writes packed content into the scratch folder of one test.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "content/packed.h"
#include "content/part_file.h"
#include "core/file_access.h"
#include "core/testing/scratch_folder.h"

namespace tessaru {

class ContentFiles : public testing_support::ScratchFolder {
 protected:
  // A logical path under the scratch folder ("\"-separated like the game's own).
  std::string Path(const std::string& relative) const { return root_ + "\\" + relative; }
  void WriteBytes(const std::string& relative, const std::vector<uint8_t>& bytes) {
    ASSERT_TRUE(WriteWholeFileAtomic(
        Path(relative), std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())));
  }
  void WriteText(const std::string& relative, const std::vector<TextValue>& values) {
    WriteBytes(relative, PackText(values));
  }
  // An empty part of `bars` bars, packed, named `name` when one is given.
  void WritePart(const std::string& relative, int index, int bars, const std::string& name = "") {
    PartRecord part;
    InitPartRecord(part, index, bars);
    if (!name.empty()) part.Name = name;
    ASSERT_TRUE(WritePackedFile(Path(relative), EncodePartFile(part)));
  }
  void MakeFolder(const std::string& relative) {
    std::filesystem::create_directories(ResolvePath(Path(relative)));
  }
};

// Shorthand for values in value lists.
inline TextValue S(const char* text) { return std::string(text); }
inline TextValue I(int16_t value) { return value; }
inline TextValue L(int32_t value) { return value; }
inline TextValue D(double value) { return value; }
inline std::vector<TextValue> Join(std::initializer_list<std::vector<TextValue>> pieces) {
  std::vector<TextValue> out;
  for (const auto& p : pieces) out.insert(out.end(), p.begin(), p.end());
  return out;
}

}  // namespace tessaru
