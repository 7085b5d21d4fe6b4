#include "graphics/graph_lib.h"

#include <new>

#include "core/file_access.h"

namespace tessaru {
namespace {

struct ModeSize {
  int32_t Width;
  int32_t Height;
  int32_t StretchWindow;
};

ModeSize SizeForMode(int32_t mode) {
  if (mode == 1) return {320, 240, 0};
  if (mode == 2) return {320, 240, 1};
  return {640, 480, 0};
}

}  // namespace

GraphLib::GraphLib(platform::VideoOut& video, platform::Clock& clock, ErrorLog& errorLog)
    : video_(video), clock_(clock), errorLog_(errorLog) {}

GraphLib::~GraphLib() { ReleaseDirectDraw(); }

void GraphLib::SetWindowTitle(std::string title) {
  title_ = std::move(title);
  video_.SetTitle(title_);
}

bool GraphLib::InitDirectDraw(bool fullScreen, int32_t mode) {
  if (initialized_) return false;
  const ModeSize size = SizeForMode(mode);
  stretchWindow_ = size.StretchWindow;
  screenWidth_ = size.Width;
  screenHeight_ = size.Height;

  platform::VideoConfig config;
  config.Width = screenWidth_;
  config.Height = screenHeight_;
  // Doubling is a window-only mode: in full screen the picture is scaled anyway.
  config.Mode = fullScreen ? platform::DisplayMode::FullScreen
                : stretchWindow_ == 1 ? platform::DisplayMode::Doubled
                                      : platform::DisplayMode::Windowed;
  config.Title = title_;
  config.IconFile = iconFile_.empty() ? std::string() : ResolvePath(iconFile_);
  config.HideCursor = hideCursor_;
  if (!video_.Open(config)) return false;
  fullScreen_ = fullScreen;
  try {
    pool_.clear();
    pool_.reserve(4);
    pool_.resize(2);
    for (Page& page : pool_) {
      page.Pixels.assign(static_cast<size_t>(screenWidth_) * screenHeight_, 0);
    }
  } catch (const std::bad_alloc&) {
    pool_.clear();
    video_.Close();
    return false;
  }
  video_.TakeDeviceLost();  // a loss before this display existed is not ours to restore
  restorePending_ = false;
  initialized_ = true;
  return true;
}

void GraphLib::ReleaseDirectDraw() {
  if (!initialized_) return;
  initialized_ = false;
  pool_.clear();
  video_.Close();
}

GraphLib::Page* GraphLib::Find(SurfaceIndex index) {
  if (!initialized_ || index < 0 || index >= SurfaceCount()) return nullptr;
  return &pool_[static_cast<size_t>(index)];
}

const GraphLib::Page* GraphLib::Find(SurfaceIndex index) const {
  if (!initialized_ || index < 0 || index >= SurfaceCount()) return nullptr;
  return &pool_[static_cast<size_t>(index)];
}

PageView GraphLib::View(Page& page) const {
  return PageView{page.Pixels.data(), screenWidth_, screenHeight_, screenWidth_};
}

SurfaceIndex GraphLib::NewSurface(uint32_t keyLow, uint32_t keyHigh) {
  if (!initialized_ || SurfaceCount() >= kMaxSurfaces) return -1;
  Page page;
  try {
    page.Pixels.assign(static_cast<size_t>(screenWidth_) * screenHeight_, 0);
    pool_.push_back(std::move(page));
  } catch (const std::bad_alloc&) {
    return -1;
  }
  pool_.back().Key = ColorKey{keyLow, keyHigh};
  return SurfaceCount() - 1;
}

void GraphLib::ReleaseLastSurface() {
  // The primary and the back buffer are never released; a released page takes its file
  // name and recorded key with it.
  if (SurfaceCount() <= 2) return;
  pool_.pop_back();
}

void GraphLib::ReleaseAllSurfaces() {
  if (SurfaceCount() <= 2) return;
  pool_.resize(2);
}

bool GraphLib::AllocScreenPages(int16_t n) {
  if (SurfaceCount() == 3) {
    // The one extra page held the system font; a fourth page is made and the font is
    // loaded again so text keeps working. A failed load is logged by LoadSystemFont.
    NewSurface(0, 0);
    LoadSystemFont(systemFontSurface_);
  }
  if (SurfaceCount() > 4) ReleaseAllSurfaces();
  if (n < 1) return true;
  screenPages_.assign(static_cast<size_t>(n), -1);
  for (SurfaceIndex& page : screenPages_) {
    page = NewSurface(0, 0);
    if (page < 0) {
      errorLog_.Add("メモリ不足のため画像保存領域の確保に失敗しました。");
      return false;
    }
  }
  return true;
}

int32_t GraphLib::FreeScreenPages() {
  ReleaseAllSurfaces();
  return 0;
}

void GraphLib::FlipScreen() {
  if (!initialized_) {
    restorePending_ = false;
    return;
  }
  if (restorePending_) {
    RestoreAll();
    restorePending_ = false;
    return;  // nothing is shown in the frame that restores
  }
  if (fullScreen_) {
    // The back buffer keeps its content after a present, as it does in a window, so a
    // screen that draws once and flips repeatedly shows the same picture either way.
    BltPage(PrimaryIndex, BackIndex);
  } else if (screenWidth_ == 320 && stretchWindow_ == 1) {
    // The display backend doubles the 320x240 picture into its 640x480 window.
    BltStretchClip(PrimaryIndex, BackIndex, 0, 0, 320, 240, 0, 0, 320, 240, 0);
  } else {
    BltClip(PrimaryIndex, BackIndex, 0, 0, screenWidth_, screenHeight_, 0, 0, 0);
  }
  const Page& primary = pool_[PrimaryIndex];
  const bool shown =
      video_.Present(primary.Pixels.data(), screenWidth_, screenHeight_, screenWidth_);
  const bool lost = video_.TakeDeviceLost();
  restorePending_ = !shown || lost;
}

void GraphLib::RestoreAll() {
  for (SurfaceIndex i = PrimaryIndex; i < SurfaceCount(); ++i) ClearSurface(i);
  for (SurfaceIndex i = BackIndex + 1; i < SurfaceCount(); ++i) {
    Page& page = pool_[static_cast<size_t>(i)];
    // Pages that were never loaded from a file have nothing to reload and stay black.
    if (!page.FileName.empty()) {
      std::string name = page.FileName;
      LoadSurfaceImage(i, name);
    }
    page.Key = page.RecordedKey;
  }
}

std::span<uint16_t> GraphLib::Pixels(SurfaceIndex index) {
  Page* page = Find(index);
  if (page == nullptr) return {};
  return page->Pixels;
}

std::span<const uint16_t> GraphLib::Pixels(SurfaceIndex index) const {
  const Page* page = Find(index);
  if (page == nullptr) return {};
  return page->Pixels;
}

ColorKey GraphLib::SurfaceKey(SurfaceIndex index) const {
  const Page* page = Find(index);
  return page == nullptr ? ColorKey{} : page->Key;
}

ColorKey GraphLib::RecordedKey(SurfaceIndex index) const {
  const Page* page = Find(index);
  return page == nullptr ? ColorKey{} : page->RecordedKey;
}

std::string GraphLib::FileName(SurfaceIndex index) const {
  const Page* page = Find(index);
  return page == nullptr ? std::string() : page->FileName;
}

}  // namespace tessaru
