#pragma once
// Writes the generated data folder: every file goes through the game's own packing code,
// named the way the game asks for it. Keeps a tally for the summary line.
#include <cstdint>
#include <string>
#include <vector>

#include "content/packed.h"
#include "gen/canvas.h"
#include "gen/wave.h"

namespace tessaru::gen {

class DataWriter {
 public:
  // root: the data folder on disk. previewRoot: when not empty, every image is also
  // written there as PNG for looking at it.
  DataWriter(std::string root, std::string previewRoot = {});

  // relative paths use "/" and carry the game's plain extension (".bmp", ".wav" ...);
  // the packed extension replaces it.
  void Image(const std::string& relative, const Canvas& canvas);
  void Sound(const std::string& relative, const Wave& wave);
  // A packed text table (".zxt", ".zxs", ".zxd", ".zxb" — the extension is taken as given).
  void Text(const std::string& relative, const std::vector<TextValue>& values);
  // A packed binary file as given (part files).
  void Binary(const std::string& relative, std::vector<uint8_t> plainBytes);

  int Files() const { return files_; }
  uint64_t Bytes() const { return bytes_; }
  const std::vector<std::string>& Failures() const { return failures_; }

 private:
  void Write(const std::string& relative, std::vector<uint8_t> plain);
  std::string root_;
  std::string previewRoot_;
  int files_ = 0;
  uint64_t bytes_ = 0;
  std::vector<std::string> failures_;
};

// "a/b/c.bmp" -> "a/b/c.zxg" and so on for each plain extension the game packs.
std::string PackedName(const std::string& relative);

}  // namespace tessaru::gen
