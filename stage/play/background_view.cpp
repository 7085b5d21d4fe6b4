#include "stage/play/background_view.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "core/numbers.h"
#include "stage/play/sprite_blit.h"

namespace tessaru {
namespace {

size_t Used(int16_t count, size_t size) { return std::min(size, static_cast<size_t>(std::max<int16_t>(count, 0))); }

bool PatternUsable(const DanceRecord& d, int pattern) {
  if (pattern < 0 || pattern >= d.PatternCount) return false;
  const auto p = static_cast<size_t>(pattern);
  if (p >= d.PatternLengths.size() || p >= d.PatternFirst.size()) return false;
  return d.PatternLengths[p] > 0 && d.PatternFirst[p] >= 0 &&
         static_cast<size_t>(d.PatternFirst[p]) < d.Frames.size();
}

}  // namespace

int32_t ProgObject(const BgaRecord& bga, const BgaProg& prog, double t) {
  if (t < prog.StartTime) return -1;
  if (prog.ProgA > 0 && t >= prog.ProgA) return -1;
  int64_t object = prog.ProgB;
  if (prog.ProgC != 0) {
    if (prog.ProgB < 0 || static_cast<size_t>(prog.ProgB) >= Used(bga.AObjCount, bga.AObjs.size())) return -1;
    object = AnimFrame(t - prog.StartTime, bga.AObjs[static_cast<size_t>(prog.ProgB)]);
  }
  if (object < 0 || static_cast<size_t>(object) >= Used(bga.ObjCount, bga.Objs.size())) return -1;
  return static_cast<int32_t>(object);
}

int DrawBga(GraphLib& graph, const PlayAssets& assets, double t) {
  const BgaRecord& bga = assets.Bga;
  const size_t progs = Used(bga.ProgCount, bga.Progs.size());
  std::vector<size_t> order(progs);
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return bga.Progs[a].Q[0] < bga.Progs[b].Q[0]; });
  int drawn = 0;
  for (size_t i : order) {
    const BgaProg& prog = bga.Progs[i];
    const int32_t object = ProgObject(bga, prog, t);
    if (object < 0) continue;
    const BgaObj& obj = bga.Objs[static_cast<size_t>(object)];
    if (obj.Picture < 0 || static_cast<size_t>(obj.Picture) >= assets.BgaPages.size()) continue;
    int32_t x = 0;
    int32_t y = 0;
    ProgPosition(t, prog, x, y);
    if (BlitSprite(graph, assets.BgaPages[static_cast<size_t>(obj.Picture)], obj.O1, obj.O2, obj.O3, obj.O4, x, y,
                   obj.O5 != 0)) {
      ++drawn;
    }
  }
  return drawn;
}

int32_t DanceFrameAt(const DanceRecord& dance, int pattern, double t, double durationScale) {
  int chosen = pattern;
  if (!PatternUsable(dance, chosen)) chosen = kDanceGroove;
  if (!PatternUsable(dance, chosen)) chosen = kDanceIdle;
  if (!PatternUsable(dance, chosen)) return -1;
  const auto p = static_cast<size_t>(chosen);
  const auto first = static_cast<size_t>(dance.PatternFirst[p]);
  const size_t length = std::min(static_cast<size_t>(dance.PatternLengths[p]), dance.Frames.size() - first);
  double total = 0;
  for (size_t k = 0; k < length; ++k) total += std::max(0, dance.Frames[first + k].Duration) * durationScale;
  if (!(total > 0) || !std::isfinite(t)) return static_cast<int32_t>(first);
  const double local = FloorMod(t, total);
  double end = 0;
  for (size_t k = 0; k < length; ++k) {
    end += std::max(0, dance.Frames[first + k].Duration) * durationScale;
    if (local < end) return static_cast<int32_t>(first + k);
  }
  return static_cast<int32_t>(first + length - 1);
}

bool DrawDance(GraphLib& graph, const DanceView& view, int pattern, double t, double durationScale,
               int32_t anchorX, int32_t anchorY) {
  if (view.Dance == nullptr) return false;
  const int32_t index = DanceFrameAt(*view.Dance, pattern, t, durationScale);
  if (index < 0) return false;
  const DanceFrame& f = view.Dance->Frames[static_cast<size_t>(index)];
  if (f.Picture < 0 || static_cast<size_t>(f.Picture) >= view.Pages.size()) return false;
  return BlitSprite(graph, view.Pages[static_cast<size_t>(f.Picture)], f.V1, f.V2, f.V3, f.V4,
                    int64_t{anchorX} + f.V5, int64_t{anchorY} + f.V6, true);
}

}  // namespace tessaru
