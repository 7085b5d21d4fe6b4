#pragma once
// Menu sounds, menu and title music, result jingles and the spoken lines.
#include "gen/output.h"

namespace tessaru::gen {

void WriteSounds(DataWriter& out);

}  // namespace tessaru::gen
