#include "content/extension_parts.h"

#include <algorithm>

#include "content/packed.h"
#include "content/part_file.h"
#include "core/paths.h"

namespace tessaru {
namespace {

// The part at `target` takes over part `replaced`: its own link and every earlier link
// to it. An index outside the song's parts (0 .. partsBefore-1) changes nothing.
void Relink(SongRecord& song, int replaced, int target, int partsBefore) {
  if (replaced < 0 || replaced >= partsBefore) return;
  auto& links = song.PartLinks;
  links[static_cast<size_t>(replaced)] = static_cast<int16_t>(target);
  for (int i = 0; i < partsBefore; ++i) {
    if (links[static_cast<size_t>(i)] == replaced) links[static_cast<size_t>(i)] = static_cast<int16_t>(target);
  }
}

void AddPart(SongRecord& song, std::vector<PartRecord>& parts, const std::string& folder,
             const std::string& file, int index) {
  const auto at = static_cast<size_t>(index);
  const std::string fullPath = JoinLogical(folder, file);
  // A part that cannot be read still has to be as long as the song, or the stage would
  // index past its tables.
  if (!LoadPartFile(parts[at], fullPath)) InitPartRecord(parts[at], index, song.Bars);
  song.PartFiles[at] = fullPath;
  song.PartLinks[at] = 0;
  parts[at].Kind = 8;
}

void Grow(SongRecord& song, std::vector<PartRecord>& parts, size_t size) {
  parts.resize(size);
  song.PartLinks.resize(size, 0);
  song.PartFiles.resize(size);
}

}  // namespace

void LoadExtensionParts(SongRecord& song, std::vector<PartRecord>& parts,
                        std::string_view songPath) {
  const std::string folder = FolderOf(songPath);
  std::optional<FieldReader> list = OpenPackedText(JoinLogical(folder, "extreme.zxt"));
  if (!list) return;
  FieldReader& in = *list;

  std::string fileA;
  std::string fileB;
  int16_t indexA = 0;
  int16_t indexB = 0;
  // The list is optional and its errors are not reported; a list cut short adds nothing.
  const int p = std::max<int>(song.PartCount, 0);
  if (p + 3 <= INT16_MAX && in.Read(fileA) && in.Read(fileB) && in.ReadInt16(indexA) &&
      in.ReadInt16(indexB)) {
    Grow(song, parts, static_cast<size_t>(p) + 2);
    AddPart(song, parts, folder, fileA, p);
    AddPart(song, parts, folder, fileB, p + 1);
    Relink(song, indexA, p, p);
    Relink(song, indexB, p + 1, p);
    song.PartCount = static_cast<int16_t>(p + 2);

    std::string tag;
    std::string fileC;
    int16_t indexC = 0;
    if (in.Read(tag) && tag == "<extend>" && in.Read(fileC) && in.ReadInt16(indexC)) {
      const int q = p + 2;
      Grow(song, parts, static_cast<size_t>(q) + 1);
      AddPart(song, parts, folder, fileC, q);
      Relink(song, indexC, q, q);
      song.PartCount = static_cast<int16_t>(q + 1);
    }
  }
}

SongWithParts ExtendedSong(const SongRecord& song, const std::vector<PartRecord>& parts,
                           std::string_view songPath) {
  SongWithParts extended{song, parts};
  LoadExtensionParts(extended.Song, extended.Parts, songPath);
  return extended;
}

}  // namespace tessaru
