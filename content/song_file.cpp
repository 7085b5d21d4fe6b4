#include "content/song_file.h"

#include <algorithm>

#include "content/field_reader.h"
#include "content/part_file.h"
#include "core/file_access.h"
#include "core/numbers.h"
#include "core/paths.h"

namespace tessaru {
namespace {

constexpr int kFirstVersionListedParts = 8;

bool ReadTempoMap(FieldReader& in, SongRecord& song) {
  int16_t count = 0;
  // A map needs at least one entry; the record cannot hold an empty one.
  if (!in.ReadInt16(count) || count < 1) return false;
  std::vector<int32_t> ticks;
  std::vector<double> bpms;
  for (int i = 0; i < count; ++i) {
    int32_t tick = 0;
    double bpm = 0.0;
    if (!in.ReadInt32(tick) || !in.ReadDouble(bpm)) return false;
    ticks.push_back(tick);
    bpms.push_back(bpm);
  }
  song.TempoCount = count;
  song.TempoTicks = std::move(ticks);
  song.TempoBpms = std::move(bpms);
  return true;
}

bool ReadPartList(FieldReader& in, SongRecord& song, std::vector<PartRecord>& parts,
                  SongFileVersion version, std::string_view path) {
  int16_t count = 0;
  if (!in.ReadInt16(count) || count < 0 || count > kMaxSongParts) return false;
  if (version == SongFileVersion::Current) {
    song.PartCount = count;
    if (count < 1) return true;
    parts.assign(static_cast<size_t>(count), PartRecord{});
    song.PartFiles.assign(static_cast<size_t>(count), std::string());
  } else {
    parts.assign(kMaxSongParts, PartRecord{});
    song.PartFiles.assign(kMaxSongParts, std::string());
  }
  song.PartLinks.resize(kMaxSongParts, 0);
  for (size_t i = 0; i < static_cast<size_t>(count); ++i) {
    if (!in.Read(song.PartFiles[i]) || !in.ReadInt16(song.PartLinks[i])) return false;
  }
  if (version == SongFileVersion::First) {
    // The first version keeps its two background parts beside the song file.
    const std::string base = StripExtension(FileNameOf(path));
    song.PartCount = kMaxSongParts;
    song.PartFiles[8] = base + "08.z4p";
    song.PartFiles[9] = base + "09.z4p";
    song.PartLinks[8] = 0;
    song.PartLinks[9] = 0;
  }
  return true;
}

bool ReadTags(FieldReader& in, SongRecord& song, std::vector<PartRecord>& parts,
              SongFileVersion version, std::string_view path) {
  std::string tag;
  while (true) {
    if (!in.Read(tag)) return false;
    bool ok = true;
    if (tag == "<EOF>") {
      return true;
    } else if (tag == "<TITLE>") {
      ok = in.Read(song.Title);
    } else if (tag == "<ARTIST>") {
      ok = in.Read(song.Artist);
    } else if (tag == "<GENRE>") {
      ok = in.Read(song.Genre);
    } else if (tag == "<LEVEL>") {
      ok = in.ReadInt16(song.Level);
    } else if (tag == "<BPM>") {
      ok = in.ReadDouble(song.Bpm);
    } else if (tag == "<BARS>") {
      ok = in.ReadInt16(song.Bars);
    } else if (tag == "<INTROBARS>") {
      ok = in.ReadInt16(song.IntroBars);
    } else if (tag == "<BGM>") {
      ok = in.Read(song.Bgm);
    } else if (tag == "<BGMOFFSET>") {
      ok = in.ReadInt32(song.BgmOffset);
    } else if (tag == "<ANIME>") {
      ok = in.Read(song.Anime);
    } else if (tag == "<EXBPM>") {
      ok = ReadTempoMap(in, song);
    } else if (tag == "<PART>") {
      ok = ReadPartList(in, song, parts, version, path);
    } else {
      ok = false;
    }
    if (!ok) return false;
  }
}

void CompleteTempoMap(SongRecord& song) {
  if (song.TempoCount <= 0) {
    song.TempoCount = 1;
    song.TempoTicks.assign(1, 0);
    song.TempoBpms.assign(1, song.Bpm);
  } else if (song.TempoCount == 1 && song.TempoBpms[0] != song.Bpm) {
    song.TempoBpms[0] = song.Bpm;
  }
}

}  // namespace

void InitSongRecord(SongRecord& song, std::vector<PartRecord>& parts) {
  song = SongRecord{};
  song.PartCount = kMaxSongParts;
  song.PartFiles.clear();
  for (int i = 0; i < kMaxSongParts; ++i) song.PartFiles.push_back("part" + ZeroPadNumber(i, 2) + ".z4p");
  song.PartLinks = {4, 5, 6, 7, 0, 0, 0, 0, 0, 0};
  song.TempoCount = 1;
  song.TempoTicks.assign(1, 0);
  song.TempoBpms.assign(1, 120.0);
  parts.assign(kMaxSongParts, PartRecord{});
  for (int i = 0; i < kMaxSongParts; ++i) InitPartRecord(parts[static_cast<size_t>(i)], i, 100);
}

bool LoadSongFile(SongRecord& song, std::vector<PartRecord>& parts, std::string_view path,
                  bool headerOnly) {
  const auto bytes = ReadWholeFile(ReplaceExtension(path, ".zxs"));
  return bytes && LoadSongBytes(song, parts, *bytes, path, headerOnly);
}

bool LoadSongBytes(SongRecord& song, std::vector<PartRecord>& parts,
                   std::span<const uint8_t> packedBytes, std::string_view path,
                   bool headerOnly) {
  auto text = UnpackText(packedBytes);
  if (!text) return false;
  FieldReader in(std::move(*text));
  std::string header;
  if (!in.Read(header)) return false;
  SongFileVersion version;
  if (header == kSongHeaderFirst) {
    version = SongFileVersion::First;
  } else if (header == kSongHeaderCurrent) {
    version = SongFileVersion::Current;
  } else {
    return false;
  }
  InitSongRecord(song, parts);
  if (!ReadTags(in, song, parts, version, path)) return false;
  CompleteTempoMap(song);
  if (headerOnly) return true;

  const std::string folder = FolderOf(path);
  const int loaded = version == SongFileVersion::Current ? song.PartCount : kFirstVersionListedParts;
  for (size_t i = 0; i < static_cast<size_t>(std::max(loaded, 0)); ++i) {
    if (!LoadPartFile(parts[i], JoinLogical(folder, song.PartFiles[i]))) return false;
  }
  if (version == SongFileVersion::First) {
    InitPartRecord(parts[8], 8, parts[0].Bars);
    InitPartRecord(parts[9], 9, parts[0].Bars);
  }
  return true;
}

std::vector<TextValue> EncodeSongFile(const SongRecord& song, SongFileVersion version) {
  std::vector<TextValue> v;
  v.emplace_back(std::string(version == SongFileVersion::First ? kSongHeaderFirst : kSongHeaderCurrent));
  v.insert(v.end(), {std::string("<TITLE>"), song.Title, std::string("<ARTIST>"), song.Artist,
                     std::string("<GENRE>"), song.Genre, std::string("<LEVEL>"), song.Level,
                     std::string("<BPM>"), song.Bpm, std::string("<BARS>"), song.Bars,
                     std::string("<INTROBARS>"), song.IntroBars, std::string("<BGM>"), song.Bgm,
                     std::string("<BGMOFFSET>"), song.BgmOffset, std::string("<ANIME>"), song.Anime});
  const size_t tempos = std::min({static_cast<size_t>(std::max<int16_t>(song.TempoCount, 0)),
                                  song.TempoTicks.size(), song.TempoBpms.size()});
  if (tempos > 0) {
    v.emplace_back(std::string("<EXBPM>"));
    v.emplace_back(static_cast<int16_t>(tempos));
    for (size_t i = 0; i < tempos; ++i) {
      v.emplace_back(song.TempoTicks[i]);
      v.emplace_back(song.TempoBpms[i]);
    }
  }
  const size_t limit = version == SongFileVersion::First ? kFirstVersionListedParts : kMaxSongParts;
  const size_t listed = std::min({static_cast<size_t>(std::max<int16_t>(song.PartCount, 0)), limit,
                                  song.PartFiles.size()});
  v.emplace_back(std::string("<PART>"));
  v.emplace_back(static_cast<int16_t>(listed));
  for (size_t i = 0; i < listed; ++i) {
    v.emplace_back(song.PartFiles[i]);
    v.emplace_back(i < song.PartLinks.size() ? song.PartLinks[i] : int16_t{0});
  }
  v.emplace_back(std::string("<EOF>"));
  return v;
}

}  // namespace tessaru
