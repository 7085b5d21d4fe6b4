#include "flow/config/config_draw.h"

#include <algorithm>

#include "flow/menu_palette.h"
#include "layout/config_layout.h"

namespace tessaru {
namespace {

namespace cl = config_layout;

constexpr uint16_t kBarGround = menu_palette::kGround;
constexpr uint16_t kBarEdge = menu_palette::kEdge;
constexpr uint16_t kBarFill = menu_palette::kFill;
constexpr uint16_t kBarTop = menu_palette::kTop;

}  // namespace

void DrawConfigHeader(GraphLib& g, std::string_view title, std::string_view f1Line) {
  g.DrawSystemText(BackIndex, title, cl::kTitleX, cl::kTitleY, 0);
  g.DrawSystemText(BackIndex, "UP,DOWN:MOVE CURSOR  ENTER:DECIDE", cl::kTitleX, cl::kHelpY[0], 1);
  g.DrawSystemText(BackIndex, f1Line, cl::kTitleX, cl::kHelpY[1], 1);
}

void DrawVolumeBar(GraphLib& g, int x, int y, int32_t volume) {
  const int top = y + cl::kVolumeBarTop;
  const int w = cl::kVolumeBarWidth;
  const int h = cl::kVolumeBarHeight;
  g.FillArea(BackIndex, {x - 1, top - 1, w + 2, h + 2}, kBarEdge);
  g.FillArea(BackIndex, {x, top, w, h}, kBarGround);
  const int filled = std::clamp(volume, 0, 100) * w / 100;
  g.FillArea(BackIndex, {x, top, filled, h}, kBarFill);
  g.FillArea(BackIndex, {x, top, filled, 3}, kBarTop);
}

}  // namespace tessaru
