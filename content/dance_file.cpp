#include "content/dance_file.h"

#include <algorithm>
#include <limits>

#include "content/data_files.h"
#include "content/field_reader.h"
#include "core/file_access.h"
#include "core/paths.h"

namespace tessaru {
namespace {

bool Expect(FieldReader& in, std::string_view tag) {
  std::string field;
  return in.Read(field) && field == tag;
}

bool ReadFrame(FieldReader& in, DanceFrame& frame) {
  // The file's order differs from the record's: placement values 5 and 6 come first.
  return in.ReadInt32(frame.Duration) && in.ReadInt16(frame.Picture) && in.ReadInt32(frame.V5) &&
         in.ReadInt32(frame.V6) && in.ReadInt32(frame.V1) && in.ReadInt32(frame.V2) &&
         in.ReadInt32(frame.V3) && in.ReadInt32(frame.V4);
}

bool ReadDance(FieldReader& in, DanceRecord& dance) {
  if (!Expect(in, "<KWDANCEFILE>")) return false;
  InitDance(dance);

  if (!Expect(in, "<PICTURE>") || !in.ReadInt16(dance.PictureCount) || dance.PictureCount < 0) {
    return false;
  }
  if (dance.PictureCount > 0) {
    std::vector<std::string> pictures;
    for (int i = 0; i < dance.PictureCount; ++i) {
      std::string name;
      if (!in.Read(name)) return false;
      pictures.push_back(std::move(name));
    }
    dance.Pictures = std::move(pictures);
  }

  int16_t patterns = 0;
  if (!Expect(in, "<PATTERNS>") || !in.ReadInt16(patterns) || patterns < 0 ||
      patterns > kMaxDancePatterns) {
    return false;
  }
  dance.PatternCount = patterns;
  dance.PatternLengths.assign(static_cast<size_t>(patterns), 0);
  dance.PatternFirst.assign(static_cast<size_t>(patterns), 0);
  std::vector<DanceFrame> frames;
  for (size_t p = 0; p < static_cast<size_t>(patterns); ++p) {
    int16_t length = 0;
    if (!Expect(in, "<DATA>") || !in.ReadInt16(length) || length < 0) return false;
    // Frame indexes are 16-bit in the record.
    if (frames.size() + static_cast<size_t>(length) > std::numeric_limits<int16_t>::max()) {
      return false;
    }
    dance.PatternFirst[p] = static_cast<int16_t>(frames.size());
    dance.PatternLengths[p] = length;
    int64_t duration = 0;
    for (int k = 0; k < length; ++k) {
      DanceFrame frame;
      if (!ReadFrame(in, frame)) return false;
      duration += frame.Duration;
      frames.push_back(frame);
    }
    if (duration < std::numeric_limits<int32_t>::min() ||
        duration > std::numeric_limits<int32_t>::max()) {
      return false;
    }
    dance.PatternDurations[p] = static_cast<int32_t>(duration);
  }
  // With no frames at all the one empty default frame stays.
  if (!frames.empty()) dance.Frames = std::move(frames);
  return true;
}

}  // namespace

void InitDance(DanceRecord& dance) { dance = DanceRecord{}; }

bool LoadDanceFile(DanceRecord& dance, std::string_view path) {
  const auto bytes = ReadWholeFile(ReplaceExtension(path, ".zxd"));
  return bytes && LoadDanceBytes(dance, *bytes);
}

bool LoadDanceBytes(DanceRecord& dance, std::span<const uint8_t> packedBytes) {
  auto text = UnpackText(packedBytes);
  if (!text) return false;
  FieldReader in(std::move(*text));
  return ReadDance(in, dance);
}

bool LoadDanceList(DanceList& list, std::string_view dataPath, int resolution) {
  const auto bytes = ReadWholeFile(JoinLogical(dataPath, data_files::kDanceListTable));
  if (!bytes) return false;
  auto text = UnpackText(*bytes);
  if (!text) return false;
  FieldReader in(std::move(*text));
  if (!Expect(in, "<KWDANCEFILENAME>")) return false;

  list.DanceCount = 0;
  list.Dances.clear();
  std::string label;
  if (!in.Read(label)) return false;
  while (label != "<EOF>") {
    std::string name;
    if (!in.Read(name)) return false;
    if (resolution == 1) name = StripExtension(name) + "s.z4d";
    if (list.DanceCount == std::numeric_limits<int16_t>::max()) return false;
    list.Dances.emplace_back();
    ++list.DanceCount;
    if (!LoadDanceFile(list.Dances.back(), JoinLogical(JoinLogical(dataPath, "dance"), name))) {
      return false;
    }
    if (!in.Read(label)) return false;
  }
  return true;
}

std::vector<TextValue> EncodeDanceFile(const DanceRecord& dance) {
  std::vector<TextValue> v{std::string("<KWDANCEFILE>"), std::string("<PICTURE>")};
  const auto pictures = static_cast<size_t>(std::max<int16_t>(dance.PictureCount, 0));
  v.emplace_back(static_cast<int16_t>(pictures));
  for (size_t i = 0; i < pictures; ++i) {
    v.emplace_back(i < dance.Pictures.size() ? dance.Pictures[i] : std::string());
  }
  const size_t patterns = std::min({static_cast<size_t>(std::max<int16_t>(dance.PatternCount, 0)),
                                    static_cast<size_t>(kMaxDancePatterns),
                                    dance.PatternLengths.size(), dance.PatternFirst.size()});
  v.emplace_back(std::string("<PATTERNS>"));
  v.emplace_back(static_cast<int16_t>(patterns));
  for (size_t p = 0; p < patterns; ++p) {
    v.emplace_back(std::string("<DATA>"));
    const auto first = static_cast<size_t>(std::max<int16_t>(dance.PatternFirst[p], 0));
    const auto length = static_cast<size_t>(std::max<int16_t>(dance.PatternLengths[p], 0));
    const size_t available = first < dance.Frames.size() ? dance.Frames.size() - first : 0;
    const size_t written = std::min(length, available);
    v.emplace_back(static_cast<int16_t>(written));
    for (size_t k = 0; k < written; ++k) {
      const DanceFrame& f = dance.Frames[first + k];
      v.insert(v.end(), {f.Duration, f.Picture, f.V5, f.V6, f.V1, f.V2, f.V3, f.V4});
    }
  }
  return v;
}

std::vector<TextValue> EncodeDanceList(const std::vector<std::string>& danceFiles) {
  std::vector<TextValue> v{std::string("<KWDANCEFILENAME>")};
  for (const auto& file : danceFiles) {
    v.emplace_back(StripExtension(FileNameOf(file)));
    v.emplace_back(file);
  }
  v.emplace_back(std::string("<EOF>"));
  return v;
}

}  // namespace tessaru
