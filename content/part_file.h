#pragma once
// Part files (".zxp"): one instrument's chart, a packed binary file (byte layer only).
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "content/song_record.h"

namespace tessaru {

// An empty part: default name (PART01..PART08, BGM01, BGM02, ...), kind, icon and flag
// for its index, and empty step and slot tables for `bars` bars.
void InitPartRecord(PartRecord& part, int index, int bars);

// Reads StripExtension(path) + ".zxp". False (the part unchanged) when the file is
// missing, its signature is wrong, or its counts are negative or beyond the file.
bool LoadPartFile(PartRecord& part, std::string_view path);
// The same over descrambled bytes already in memory.
bool LoadPartBytes(PartRecord& part, std::span<const uint8_t> plainBytes);

// The plain bytes of a part file (before scrambling), in the file's layout. Tables shorter
// than the bar count says are padded (empty slots -1, everything else 0).
std::vector<uint8_t> EncodePartFile(const PartRecord& part);

// Steps of the chart that carry a chip (a non-zero step word).
int CountChipSteps(const PartRecord& part);

}  // namespace tessaru
