#pragma once
// A song folder in one byte string, for fuzzing the song loader with its parts (fuzz/) and
// for replaying the inputs kept from it (content/tests/): the song file (packed, as stored), then
// "extreme.zxt" (packed), then the part files (plain, before scrambling) in the order the
// song and "extreme.zxt" name them, separated by kBundleSeparator. An empty piece is a
// missing file.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "content/extension_parts.h"
#include "content/packed.h"
#include "content/song_file.h"
#include "core/file_access.h"
#include "core/paths.h"

namespace tessaru::fuzzing {

inline constexpr std::string_view kBundleSeparator = "\n=PART=\n";

inline std::vector<std::string_view> SplitBundle(std::string_view bytes) {
  std::vector<std::string_view> pieces;
  for (;;) {
    const size_t at = bytes.find(kBundleSeparator);
    pieces.push_back(bytes.substr(0, at));
    if (at == std::string_view::npos) return pieces;
    bytes.remove_prefix(at + kBundleSeparator.size());
  }
}

inline std::vector<uint8_t> BundleBytes(const std::vector<std::vector<uint8_t>>& pieces) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) out.insert(out.end(), kBundleSeparator.begin(), kBundleSeparator.end());
    out.insert(out.end(), pieces[i].begin(), pieces[i].end());
  }
  return out;
}

// Only plain names inside the folder are written: the loader must never be steered
// outside it by a name in the input.
inline bool IsPlainName(std::string_view name) {
  return !name.empty() && name.size() < 64 && name.find_first_of(std::string_view("\\/:\0", 4)) == std::string_view::npos &&
         name != "." && name != ".." && name.front() != '.';
}

// Writes the bundle into `folder` (emptied first; its path must hold no ".") and loads its song as a flow does before
// play: the song with every part, then the extension parts.
inline bool LoadSongBundle(std::string_view bytes, const std::string& folder, SongRecord& song,
                           std::vector<PartRecord>& parts) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::remove_all(folder, ec);
  fs::create_directories(folder, ec);
  const std::vector<std::string_view> pieces = SplitBundle(bytes);
  const auto bytesOf = [](std::string_view piece) {
    return std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(piece.data()), piece.size());
  };
  const std::string songPath = folder + "/bundle.z4s";

  std::vector<std::string> names;
  if (!LoadSongBytes(song, parts, bytesOf(pieces[0]), songPath, true)) return false;
  names = song.PartFiles;
  if (pieces.size() > 1 && !pieces[1].empty()) {
    WriteWholeFileAtomic(folder + "/extreme.zxt", pieces[1]);
    if (const auto values = UnpackValues(bytesOf(pieces[1]))) {
      for (size_t i : {0u, 1u, 5u}) {
        if (i < values->size()) {
          if (const auto* name = std::get_if<std::string>(&(*values)[i])) names.push_back(*name);
        }
      }
    }
  }
  for (size_t i = 0; i < names.size() && i + 2 < pieces.size(); ++i) {
    if (!IsPlainName(names[i]) || pieces[i + 2].empty()) continue;
    std::vector<uint8_t> plain(bytesOf(pieces[i + 2]).begin(), bytesOf(pieces[i + 2]).end());
    // Where the loader will look for it.
    WritePackedFile(StripExtension(JoinLogical(folder, names[i])) + ".zxp", std::move(plain));
  }
  if (!LoadSongBytes(song, parts, bytesOf(pieces[0]), songPath, false)) return false;
  LoadExtensionParts(song, parts, songPath);
  return true;
}

}  // namespace tessaru::fuzzing
