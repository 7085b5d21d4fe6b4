#pragma once
// Song files (".zxs", named ".z4s" in lists): a tagged packed text naming the song, its
// tempo map and its part files.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "content/packed.h"
#include "content/song_record.h"

namespace tessaru {

// The two versions, told apart by the first field.
enum class SongFileVersion { First, Current };
inline constexpr std::string_view kSongHeaderFirst = "<KWSONGFILE>";
inline constexpr std::string_view kSongHeaderCurrent = "<KWSONGFILE5.1>";
// A current-version song lists at most this many parts (its link table is this long).
inline constexpr int kMaxSongParts = 10;

// Every default of the record, and parts 0..9 as empty 100-bar parts.
void InitSongRecord(SongRecord& song, std::vector<PartRecord>& parts);

// Reads the song file StripExtension(path) + ".zxs". With headerOnly the part files are
// not read (the part array is still sized by the part list); otherwise every part is
// loaded from the song's folder and the first part that fails fails the load. The record
// keeps what was read when the load fails.
bool LoadSongFile(SongRecord& song, std::vector<PartRecord>& parts, std::string_view path,
                  bool headerOnly);
// The same over the packed bytes of the song file; `path` is the song's listed path (its
// folder and base name name the parts).
bool LoadSongBytes(SongRecord& song, std::vector<PartRecord>& parts,
                   std::span<const uint8_t> packedBytes, std::string_view path,
                   bool headerOnly);

// The values of a song file for this record. The first version lists parts 0..7 only.
std::vector<TextValue> EncodeSongFile(const SongRecord& song, SongFileVersion version);

}  // namespace tessaru
