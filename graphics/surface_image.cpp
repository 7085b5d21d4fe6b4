#include <algorithm>

#include "content/packed.h"
#include "core/file_access.h"
#include "core/paths.h"
#include "graphics/bmp_decode.h"
#include "graphics/graph_lib.h"

namespace tessaru {

bool GraphLib::LoadSurfaceImage(SurfaceIndex index, std::string& fileName) {
  fileName = ReplaceExtension(fileName, ".zxg");
  lastLoadError_.clear();
  Page* page = Find(index);
  if (page == nullptr) {
    lastLoadError_ = "no such page";
    return false;
  }
  if (!FileExists(fileName)) {
    lastLoadError_ = "file not found";
    return false;
  }
  const auto bytes = ReadPackedFile(fileName);
  if (!bytes) {
    lastLoadError_ = "file cannot be read";
    return false;
  }
  const auto image = DecodeBmp(*bytes, screenWidth_, screenHeight_, &lastLoadError_);
  if (!image) return false;
  if (index > BackIndex) page->FileName = fileName;

  // A picture smaller than the screen leaves the rest of the page black, so the page
  // never shows what was in it before.
  const PageView view = View(*page);
  FillRect(view, 0, 0, screenWidth_, screenHeight_, 0);
  for (int32_t y = 0; y < image->KeptHeight; ++y) {
    const auto row = image->Pixels.begin() + static_cast<ptrdiff_t>(y) * image->KeptWidth;
    std::copy(row, row + image->KeptWidth, view.Row(y));
  }
  page->Key = ColorKey{0, 0};
  return true;
}

bool GraphLib::LoadSurfaceImage(SurfaceIndex index, std::string_view fileName) {
  std::string name(fileName);
  return LoadSurfaceImage(index, name);
}

}  // namespace tessaru
