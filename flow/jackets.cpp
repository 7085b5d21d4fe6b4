#include "flow/jackets.h"

#include "core/paths.h"

namespace tessaru {
namespace {

constexpr int kJacket = menu_layout::kJacketSize;
constexpr int kJacketsPerPage = 12;  // 4 x 3 cells of a screen page

}  // namespace

JacketCell JacketAtlas::Add(int16_t songIndex) {
  JacketCell cell;
  const SongList& list = game_.Songs;
  if (songIndex < 0 || songIndex >= list.SongCount || static_cast<size_t>(songIndex) >= list.SongPaths.size()) {
    return cell;
  }
  const std::string jacket = StripExtension(list.SongPaths[static_cast<size_t>(songIndex)]);
  GraphLib& g = game_.Graph;
  if (atlas_ < 0 || used_ == kJacketsPerPage) {
    atlas_ = g.NewSurface(0, 0);
    used_ = 0;
  }
  const int slot = used_;
  const SurfaceIndex loaded = pages_.LoadFull(jacket + ".bmp", false);
  if (loaded < 0) {
    game_.Errors.Add(jacket + ".bmpが見つかりませんでした。");
    return cell;
  }
  if (atlas_ >= 0) {
    cell = {atlas_, (slot % 4) * kJacket, (slot / 4) * kJacket};
    g.BltClip(atlas_, loaded, cell.X, cell.Y, kJacket, kJacket, 0, 0, 0);
    ++used_;
  }
  g.ReleaseLastSurface();
  return cell;
}

JacketCell JacketAtlas::Cached(int16_t songIndex) {
  const auto found = cache_.find(songIndex);
  if (found != cache_.end()) return found->second;
  return cache_[songIndex] = Add(songIndex);
}

void JacketAtlas::Draw(const JacketCell& cell, int x, int y, int size) const {
  DrawJacketCell(game_.Graph, cell, x, y, size);
}

void DrawJacketCell(GraphLib& g, const JacketCell& cell, int x, int y, int size) {
  if (cell.Page < 0) {
    g.DrawSystemText(BackIndex, "NO", x + size / 2 - 16, y + size / 2 - 24, 1);
    g.DrawSystemText(BackIndex, "IMAGE", x + size / 2 - 40, y + size / 2, 1);
    return;
  }
  if (size == kJacket) {
    g.BltClip(BackIndex, cell.Page, x, y, kJacket, kJacket, cell.X, cell.Y, 0);
  } else {
    g.BltStretchClip(BackIndex, cell.Page, x, y, size, size, cell.X, cell.Y, kJacket, kJacket, 0);
  }
}

}  // namespace tessaru
