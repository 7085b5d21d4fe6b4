#include "gen/output.h"

#include <filesystem>
#include <fstream>

#include "core/file_access.h"
#include "core/paths.h"

namespace tessaru::gen {

DataWriter::DataWriter(std::string root, std::string previewRoot)
    : root_(std::move(root)), previewRoot_(std::move(previewRoot)) {}

std::string PackedName(const std::string& relative) {
  const size_t dot = relative.rfind('.');
  if (dot == std::string::npos) return relative;
  const std::string ext = relative.substr(dot + 1);
  const std::string base = relative.substr(0, dot);
  if (ext == "bmp") return base + ".zxg";
  if (ext == "wav") return base + ".zxw";
  if (ext == "z4s") return base + ".zxs";
  if (ext == "z4p") return base + ".zxp";
  if (ext == "z4d") return base + ".zxd";
  if (ext == "z4b") return base + ".zxb";
  return relative;
}

void DataWriter::Write(const std::string& relative, std::vector<uint8_t> plain) {
  const std::filesystem::path path = std::filesystem::path(root_) / PackedName(relative);
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  const size_t size = plain.size();
  // Build output needs no crash safety, and thousands of synced renames cost a minute:
  // scramble with the game's own key stream and write plainly.
  ScrambleBytes(plain);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(plain.data()), static_cast<std::streamsize>(plain.size()));
  if (!file) {
    failures_.push_back(path.string());
    return;
  }
  ++files_;
  bytes_ += size;
}

void DataWriter::Image(const std::string& relative, const Canvas& canvas) {
  Write(relative, EncodeBmp16(canvas));
  if (previewRoot_.empty()) return;
  std::filesystem::path png = std::filesystem::path(previewRoot_) / relative;
  png.replace_extension(".png");
  std::error_code ec;
  std::filesystem::create_directories(png.parent_path(), ec);
  const std::vector<uint8_t> bytes = EncodePng(canvas);
  WriteWholeFileAtomic(png.string(), std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void DataWriter::Sound(const std::string& relative, const Wave& wave) {
  Write(relative, EncodeWave(wave));
}

void DataWriter::Text(const std::string& relative, const std::vector<TextValue>& values) {
  // PackText scrambles already; the byte layer is its own inverse, so undo it once here
  // and let Write apply it again (one code path for the tally and the folders).
  std::vector<uint8_t> bytes = PackText(values);
  ScrambleBytes(bytes);
  Write(relative, std::move(bytes));
}

void DataWriter::Binary(const std::string& relative, std::vector<uint8_t> plainBytes) {
  Write(relative, std::move(plainBytes));
}

}  // namespace tessaru::gen
