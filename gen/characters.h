#pragma once
// The characters' pictures and dances.
#include <string>
#include <vector>

#include "content/packed.h"
#include "gen/art.h"
#include "gen/canvas.h"

namespace tessaru::gen {

struct Pose {
  double armUp = 0.3;   // 0 down .. 1 up (left arm; the right mirrors it)
  double lean = 0;      // -1 .. 1
  double bounce = 0;    // pixels up at scale 1
  int mood = 0;         // 0 smile, 1 cheer, 2 dismay
  bool bothUp = false;
};

void DrawFigure(Canvas& c, int part, double cx, double baseY, double scale, const Pose& pose);
Canvas Portrait(int part, Fonts& fonts);
// Strips of 320 x 32, one per part index 0..14: name tags, or instrument names.
Canvas TagStrips(Fonts& fonts, bool instruments);
Canvas DanceSheet(int part);
// The values of a dance file whose frames cut `picture` (scale 0.5 for the small one).
std::vector<TextValue> DanceValues(const std::string& picture, double scale);
// kind < 0: the generic "try again" picture.
Canvas EndingPicture(int kind, Fonts& fonts);

}  // namespace tessaru::gen
