#pragma once
// Fonts and sprite sheets; the layout of each sheet is written beside its drawing code.
#include "gen/art.h"
#include "gen/canvas.h"

namespace tessaru::gen {

Canvas SystemFontImage(Fonts& fonts);
Canvas BigFontImage(Fonts& fonts);
// variant 0 default, 1 the special skin, 2 the two-colour skin.
Canvas ChipSheet(int variant);
Canvas PlaySheet(Fonts& fonts);
Canvas MenuSheet(Fonts& fonts);

}  // namespace tessaru::gen
