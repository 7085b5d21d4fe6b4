#pragma once
// Fonts and sprite sheets; the layout of each sheet is written beside its drawing code.
#include <cstdint>

#include "gen/art.h"
#include "gen/canvas.h"

namespace tessaru::gen {

Canvas SystemFontImage(Fonts& fonts);
Canvas BigFontImage(Fonts& fonts);
// The play sheets at a resolution (1: the 320x240 sheets), every cell where the play
// screen cuts it. variant 0 default, 1 the special skin, 2 the two-colour skin.
Canvas ChipSheet(int variant, int16_t resolution = 0);
Canvas PlaySheet(Fonts& fonts, int16_t resolution = 0);
Canvas MenuSheet(Fonts& fonts);

}  // namespace tessaru::gen
