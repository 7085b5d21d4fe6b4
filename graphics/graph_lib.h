#pragma once
// GraphLib: the pool of screen-sized RGB565 pages every screen draws with, the display
// they are presented on, the bitmap fonts, the screen wipe and the tick-count waits.
//
// Pages are addressed by SurfaceIndex: 0 is the visible page, 1 the back buffer each
// frame is composed in, and the rest are pages that screens load images into and cut
// sprites, fonts and backgrounds out of. Every page has the screen's size, which is what
// lets one clipping rule serve both ends of a blit. Until InitDirectDraw succeeds every
// drawing call does nothing.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/error_log.h"
#include "graphics/draw_helpers.h"
#include "graphics/pixel_ops.h"
#include "platform/platform.h"

namespace tessaru {

class GraphLib {
 public:
  // More pages than this at once is a leak, not a screen; NewSurface refuses them rather
  // than letting the process run out of memory.
  static constexpr int32_t kMaxSurfaces = 256;
  // Each frame of the screen wipe lasts about this long.
  static constexpr uint32_t kWipeFrameMs = 16;
  static constexpr uint32_t kWipeDurationMs = 500;

  GraphLib(platform::VideoOut& video, platform::Clock& clock, ErrorLog& errorLog);
  ~GraphLib();
  GraphLib(const GraphLib&) = delete;
  GraphLib& operator=(const GraphLib&) = delete;

  // --- wiring -------------------------------------------------------------------------
  // The data folder; the system font is read from "\image\sysfont.bmp" under it.
  void SetDataPath(std::string dataPath) { dataPath_ = std::move(dataPath); }
  const std::string& DataPath() const { return dataPath_; }
  // The window's caption, shown at once when the display is up.
  void SetWindowTitle(std::string title);
  const std::string& WindowTitle() const { return title_; }
  void SetCursorHidden(bool hidden) { hideCursor_ = hidden; }
  // A PNG file the window shows as its icon; none when empty or unreadable.
  void SetWindowIcon(std::string iconFile) { iconFile_ = std::move(iconFile); }
  // Run once per frame of the wipe, so input keeps its states during the transition.
  void SetFrameInput(std::function<void()> update) { frameInput_ = std::move(update); }
  // Services the window's events; run on every pass of a wait and after every wipe frame.
  void SetMessagePump(std::function<void()> pump) { pump_ = std::move(pump); }

  // --- display ------------------------------------------------------------------------
  // Mode 1: 320x240; mode 2: 320x240 shown doubled in a 640x480 window; any other mode:
  // 640x480. False (and nothing changed) when already initialised or the display fails.
  bool InitDirectDraw(bool fullScreen, int32_t mode);
  void ReleaseDirectDraw();
  bool Initialized() const { return initialized_; }
  bool FullScreen() const { return fullScreen_; }
  int32_t StretchWindow() const { return stretchWindow_; }
  bool RestorePending() const { return restorePending_; }
  int32_t ScreenWidth() const { return screenWidth_; }
  int32_t ScreenHeight() const { return screenHeight_; }
  // Shows the back buffer; after a lost device it restores the pages instead.
  void FlipScreen();

  // --- the page pool ------------------------------------------------------------------
  // A new black page whose blits skip pixels from keyLow to keyHigh; -1 when it cannot.
  SurfaceIndex NewSurface(uint32_t keyLow, uint32_t keyHigh);
  void ReleaseLastSurface();
  void ReleaseAllSurfaces();
  int32_t SurfaceCount() const { return static_cast<int32_t>(pool_.size()); }
  // Gives the current screen n fresh pages in ScreenPages(); false (with an ErrorLog
  // line) when a page cannot be made.
  bool AllocScreenPages(int16_t n);
  int32_t FreeScreenPages();
  const std::vector<SurfaceIndex>& ScreenPages() const { return screenPages_; }

  // Replaces the name's extension by ".zxg" (the caller's variable receives the new
  // name), reads that packed image and copies it into the page, cut at the screen size;
  // the rest of the page becomes black. Pages above the back buffer remember the file so
  // a lost device can reload them. The page's key becomes black.
  bool LoadSurfaceImage(SurfaceIndex index, std::string& fileName);
  bool LoadSurfaceImage(SurfaceIndex index, std::string_view fileName);
  // Why the last LoadSurfaceImage failed (for diagnostics; the caller logs the failure).
  const std::string& LastLoadError() const { return lastLoadError_; }

  // --- blits (bit 0 of useKey: skip pixels matching the source's colour key) ----------
  // A surface index that names no page makes a blit draw nothing.
  void BltClip(SurfaceIndex dst, SurfaceIndex src, int32_t x, int32_t y, int32_t w, int32_t h,
               int32_t srcX, int32_t srcY, int32_t useKey);
  // BltClip to (point.X, point.Y) of the rectangle `area`.
  void BltAreaTo(SurfaceIndex dst, SurfaceIndex src, const BltArea& point, const BltArea& area,
                 int32_t useKey);
  void BltStretchClip(SurfaceIndex dst, SurfaceIndex src, int32_t dstX, int32_t dstY,
                      int32_t dstW, int32_t dstH, int32_t srcX, int32_t srcY, int32_t srcW,
                      int32_t srcH, int32_t useKey);
  void BltStretchArea(SurfaceIndex dst, SurfaceIndex src, const BltArea& dstArea,
                      const BltArea& srcArea, int32_t useKey);
  // The whole source page onto the destination, no key.
  void BltPage(SurfaceIndex dst, SurfaceIndex src);
  void ClearSurface(SurfaceIndex index);
  // One colour over a rectangle, clipped to the page (bars and highlights of the menus).
  void FillArea(SurfaceIndex index, const BltArea& area, uint16_t colour);
  // Translucent copy: each channel becomes (1 - factor) * dst + factor * src; with
  // skipBlack == 1 black source pixels are left out.
  void BltBlend(SurfaceIndex dst, SurfaceIndex src, int32_t x, int32_t y, int32_t w, int32_t h,
                int32_t srcX, int32_t srcY, double factor, int32_t skipBlack);
  void SetKeyFromCorner(SurfaceIndex index);
  void SetKeyFromPixel(SurfaceIndex index, int32_t x, int32_t y);

  // --- inspection ---------------------------------------------------------------------
  // The page's pixels (ScreenWidth x ScreenHeight, row after row); empty for no page.
  std::span<uint16_t> Pixels(SurfaceIndex index);
  std::span<const uint16_t> Pixels(SurfaceIndex index) const;
  // The key the page's blits use, and the one recorded for restoring it.
  ColorKey SurfaceKey(SurfaceIndex index) const;
  ColorKey RecordedKey(SurfaceIndex index) const;
  // The packed image the page was last loaded from (pages above the back buffer only).
  std::string FileName(SurfaceIndex index) const;

  // --- fonts and the wipe -------------------------------------------------------------
  void LoadSystemFont(SurfaceIndex index);
  SurfaceIndex SystemFontSurface() const { return systemFontSurface_; }
  // 16-pixel cells; style 0 is 32 pixels high, style 1 24; any other style draws nothing.
  void DrawSystemText(SurfaceIndex dst, std::string_view text, int32_t x, int32_t y,
                      int16_t style);
  // 48x48 cells of a big-letter page, letters compared without regard to case.
  void DrawBigText(SurfaceIndex dst, SurfaceIndex font, std::string_view text, int32_t x,
                   int32_t y);
  // A 500 ms interlaced wipe from `remove` to `reveal`; the row and column patterns take
  // turns. Returns the direction the next wipe will use.
  int16_t WipeIn(SurfaceIndex reveal, SurfaceIndex remove);

  // --- tick-count timing --------------------------------------------------------------
  void GetTicks(uint32_t& ticks) const { ticks = clock_.GetTickCount(); }
  void MarkTime() { mark_ = clock_.GetTickCount(); }
  // Wait until the mark plus Int(seconds * 1000) ms, or Int(seconds * 1000) ms from now,
  // servicing events meanwhile.
  void WaitFromMark(double seconds);
  void WaitSeconds(double seconds);

 private:
  struct Page {
    std::vector<uint16_t> Pixels;
    ColorKey Key;          // the key its blits use
    ColorKey RecordedKey;  // set again after a restore
    std::string FileName;  // the image to reload after a restore
  };

  Page* Find(SurfaceIndex index);
  const Page* Find(SurfaceIndex index) const;
  PageView View(Page& page) const;
  void RestoreAll();
  bool LoadSystemFontImage(SurfaceIndex index);
  void SetKeyFrom(SurfaceIndex index, int32_t x, int32_t y);
  void WaitUntil(uint32_t target);
  void Pump() {
    if (pump_) pump_();
  }

  platform::VideoOut& video_;
  platform::Clock& clock_;
  ErrorLog& errorLog_;
  std::string dataPath_;
  std::string title_ = "Tessaru";
  std::string iconFile_;
  bool hideCursor_ = false;
  std::function<void()> frameInput_;
  std::function<void()> pump_;

  std::vector<Page> pool_;
  std::vector<SurfaceIndex> screenPages_;
  bool initialized_ = false;
  bool fullScreen_ = false;
  int32_t stretchWindow_ = 0;
  bool restorePending_ = false;
  int32_t screenWidth_ = 640;
  int32_t screenHeight_ = 480;

  std::string lastLoadError_;
  SurfaceIndex systemFontSurface_ = -1;
  int16_t wipeDirection_ = 0;
  uint32_t mark_ = 0;
};

}  // namespace tessaru
