#pragma once
// Extension parts: a song folder's "extreme.zxt" adds two (or three) parts that take over
// the links of existing parts.
#include <string_view>
#include <vector>

#include "content/song_record.h"

namespace tessaru {

// Appends the parts named by FolderOf(songPath) + "\extreme.zxt". A missing or damaged
// list changes nothing; a part file that fails to load leaves an empty part of the song's
// length in its place; an index outside the song's parts changes no link.
void LoadExtensionParts(SongRecord& song, std::vector<PartRecord>& parts,
                        std::string_view songPath);

// A song and the parts it plays with, as one value.
struct SongWithParts {
  SongRecord Song;
  std::vector<PartRecord> Parts;
};

// A copy of the loaded song with its extension parts appended; the loaded song is left as
// it was, so going back to choose again needs nothing undone.
SongWithParts ExtendedSong(const SongRecord& song, const std::vector<PartRecord>& parts,
                           std::string_view songPath);

}  // namespace tessaru
