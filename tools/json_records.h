#pragma once
// The content records as JSON, field names as in the records.
#include <nlohmann/json.hpp>

#include "content/bga_file.h"
#include "content/dance_file.h"
#include "content/song_record.h"

namespace tessaru {

nlohmann::ordered_json SongJson(const SongRecord& song);
// The header fields and sound tables; with tables also the step word and chip-slot tables,
// otherwise only the number of steps that carry a chip.
nlohmann::ordered_json PartJson(const PartRecord& part, bool tables);
nlohmann::ordered_json DanceJson(const DanceRecord& dance);
nlohmann::ordered_json BgaJson(const BgaRecord& bga);

// A part from its JSON description. Missing fields take the defaults of an empty part of
// that Kind and Bars; "Chips" lists [step, lane, sound] triples placed in a step's first
// free slot. Throws CommandFailure on a value the part cannot hold.
PartRecord PartFromJson(const nlohmann::json& description);

// Pretty JSON text; invalid UTF-8 is replaced rather than refused.
std::string JsonText(const nlohmann::ordered_json& json);

}  // namespace tessaru
