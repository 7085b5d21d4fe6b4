#pragma once
// Dance files (".zxd", named ".z4d" in lists) and the dance list "dancefn.zxt": each
// character's pictures and patterns of timed frames.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "content/packed.h"

namespace tessaru {

// A dance has at most this many patterns: its duration table holds this many.
inline constexpr int kMaxDancePatterns = 10;

struct DanceFrame {
  int32_t Duration = 0;
  int16_t Picture = 0;
  int32_t V1 = 0;
  int32_t V2 = 0;
  int32_t V3 = 0;
  int32_t V4 = 0;
  int32_t V5 = 0;
  int32_t V6 = 0;
  bool operator==(const DanceFrame&) const = default;
};

struct DanceRecord {
  int16_t PictureCount = 1;
  std::vector<std::string> Pictures{"", "", ""};
  int16_t PatternCount = kMaxDancePatterns;
  std::vector<int16_t> PatternLengths = std::vector<int16_t>(kMaxDancePatterns, 0);
  std::vector<int16_t> PatternFirst = std::vector<int16_t>(kMaxDancePatterns, 0);
  std::array<int32_t, kMaxDancePatterns> PatternDurations{};
  std::vector<DanceFrame> Frames{DanceFrame{}};
  bool operator==(const DanceRecord&) const = default;
};

struct DanceList {
  int16_t DanceCount = 0;
  std::vector<DanceRecord> Dances;
};

void InitDance(DanceRecord& dance);

// Reads StripExtension(path) + ".zxd". A missing tag, a negative count, more than ten
// patterns or a read past the end fails the load.
bool LoadDanceFile(DanceRecord& dance, std::string_view path);
bool LoadDanceBytes(DanceRecord& dance, std::span<const uint8_t> packedBytes);

// Reads dataPath + "\dancefn.zxt" and every dance it names from dataPath + "\dance\";
// with resolution 1 each name gets an "s" before its extension (the small pictures).
// Any dance that fails fails the list.
bool LoadDanceList(DanceList& list, std::string_view dataPath, int resolution);

// The values of a dance file for this record (patterns 0..PatternCount-1).
std::vector<TextValue> EncodeDanceFile(const DanceRecord& dance);
// The values of a dance list naming these files (labels are the names' base names).
std::vector<TextValue> EncodeDanceList(const std::vector<std::string>& danceFiles);

}  // namespace tessaru
