#include "platform/sdl/sdl_dialogs.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/sdl/sdl_subsystem.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/text_wrap.h"

namespace tessaru::platform {
namespace {

// X11's own message box draws with the server's core fonts, which on most desktops have
// no Japanese glyphs, so the game's messages came out garbled. The box is drawn here with
// a Japanese TrueType font instead; SDL's box is the fallback when no font is found.
const char* const kFontFiles[] = {
    "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf",
    "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
    "/usr/share/fonts/truetype/fonts-japanese-gothic.ttf",
};
constexpr int kFontPoints = 16;
constexpr int kBoxWidth = 480;
constexpr int kMargin = 20;
constexpr int kIconSize = 36;
constexpr int kButtonW = 96;
constexpr int kButtonH = 30;
constexpr SDL_Color kInk{32, 32, 32, 255};

// A box would block forever where nobody can see it: the driver chosen for a test or a
// headless run says so.
bool DisplayIsVirtual() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr) driver = std::getenv("SDL_VIDEODRIVER");
  if (driver == nullptr) return false;
  return std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0;
}

TTF_Font* OpenJapaneseFont() {
  for (const char* file : kFontFiles) {
    if (TTF_Font* font = TTF_OpenFont(file, kFontPoints)) return font;
  }
  return nullptr;
}

void FillCircle(SDL_Renderer* r, int cx, int cy, int radius) {
  for (int dy = -radius; dy <= radius; ++dy) {
    int dx = 0;
    while ((dx + 1) * (dx + 1) + dy * dy <= radius * radius) ++dx;
    SDL_RenderDrawLine(r, cx - dx, cy + dy, cx + dx, cy + dy);
  }
}

// The stop sign: a red disc with a white cross; amber for a warning.
void DrawStopIcon(SDL_Renderer* r, int x, int y, bool critical) {
  const int c = kIconSize / 2;
  if (critical) {
    SDL_SetRenderDrawColor(r, 200, 40, 40, 255);
  } else {
    SDL_SetRenderDrawColor(r, 220, 150, 30, 255);
  }
  FillCircle(r, x + c, y + c, c);
  SDL_SetRenderDrawColor(r, 255, 255, 255, 255);
  const int arm = kIconSize / 4;
  for (int w = -1; w <= 1; ++w) {
    SDL_RenderDrawLine(r, x + c - arm + w, y + c - arm, x + c + arm + w, y + c + arm);
    SDL_RenderDrawLine(r, x + c + arm + w, y + c - arm, x + c - arm + w, y + c + arm);
  }
}

void DrawText(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y) {
  if (text.empty()) return;
  SDL_Surface* surface = TTF_RenderUTF8_Blended(font, text.c_str(), kInk);
  if (surface == nullptr) return;
  if (SDL_Texture* texture = SDL_CreateTextureFromSurface(r, surface)) {
    const SDL_Rect at{x, y, surface->w, surface->h};
    SDL_RenderCopy(r, texture, nullptr, &at);
    SDL_DestroyTexture(texture);
  }
  SDL_FreeSurface(surface);
}

class TextBox {
 public:
  TextBox(TTF_Font* font, const std::string& text, bool critical) : font_(font), critical_(critical) {
    const int width = kBoxWidth - 3 * kMargin - kIconSize;
    lines_ = WrapText(text, [font](const std::string& piece) {
      int w = 0;
      int h = 0;
      TTF_SizeUTF8(font, piece.c_str(), &w, &h);
      return w;
    }, width);
    lineHeight_ = TTF_FontLineSkip(font) + 4;  // a little air between the lines
  }
  int TextHeight() const { return std::max(kIconSize, static_cast<int>(lines_.size()) * lineHeight_); }
  int Height() const { return kMargin + TextHeight() + kMargin + kButtonH + kMargin; }
  SDL_Rect Button() const {
    return {(kBoxWidth - kButtonW) / 2, kMargin + TextHeight() + kMargin, kButtonW, kButtonH};
  }

  void Draw(SDL_Renderer* r, bool focused) const {
    SDL_SetRenderDrawColor(r, 240, 240, 240, 255);
    SDL_RenderClear(r);
    DrawStopIcon(r, kMargin, kMargin, critical_);
    const int textX = 2 * kMargin + kIconSize;
    for (size_t i = 0; i < lines_.size(); ++i) {
      DrawText(r, font_, lines_[i], textX, kMargin + static_cast<int>(i) * lineHeight_);
    }
    const SDL_Rect b = Button();
    SDL_SetRenderDrawColor(r, 225, 225, 225, 255);
    SDL_RenderFillRect(r, &b);
    SDL_SetRenderDrawColor(r, focused ? 0 : 120, focused ? 90 : 120, focused ? 200 : 120, 255);
    SDL_RenderDrawRect(r, &b);
    int w = 0;
    int h = 0;
    TTF_SizeUTF8(font_, "OK", &w, &h);
    DrawText(r, font_, "OK", b.x + (b.w - w) / 2, b.y + (b.h - h) / 2);
    SDL_RenderPresent(r);
  }

 private:
  TTF_Font* font_;
  bool critical_;
  std::vector<std::string> lines_;
  int lineHeight_ = 20;
};

// Until OK, Enter, Space, Esc or the close button; false when the box could not be made.
bool RunOwnBox(const std::string& title, const std::string& text, bool critical) {
  if (TTF_Init() != 0) return false;  // counted: the launcher may hold it too
  bool shown = false;
  if (TTF_Font* font = OpenJapaneseFont()) {
    const TextBox box(font, text, critical);
    SDL_Window* window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          kBoxWidth, box.Height(), SDL_WINDOW_SHOWN);
    SDL_Renderer* renderer = window != nullptr ? SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE) : nullptr;
    if (renderer != nullptr) {
      shown = true;
      SDL_RaiseWindow(window);
      const Uint32 id = SDL_GetWindowID(window);
      bool done = false;
      while (!done) {
        box.Draw(renderer, true);
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, 250) == 0) continue;
        switch (e.type) {
          case SDL_QUIT: done = true; break;
          case SDL_WINDOWEVENT:
            done = e.window.windowID == id && e.window.event == SDL_WINDOWEVENT_CLOSE;
            break;
          case SDL_KEYDOWN: {
            const SDL_Keycode k = e.key.keysym.sym;
            done = k == SDLK_RETURN || k == SDLK_KP_ENTER || k == SDLK_SPACE || k == SDLK_ESCAPE;
            break;
          }
          case SDL_MOUSEBUTTONUP: {
            const SDL_Rect b = box.Button();
            const SDL_Point p{e.button.x, e.button.y};
            done = e.button.windowID == id && SDL_PointInRect(&p, &b);
            break;
          }
          default: break;
        }
      }
    }
    if (renderer != nullptr) SDL_DestroyRenderer(renderer);
    if (window != nullptr) SDL_DestroyWindow(window);
    TTF_CloseFont(font);
  }
  TTF_Quit();
  return shown;
}

}  // namespace

void ShowSdlMessage(uint32_t flags, const std::string& title, const std::string& text,
                    SDL_Window* parent) {
  if (!DisplayIsVirtual()) {
    SdlSubsystem video;
    if (video.Acquire(SDL_INIT_VIDEO, nullptr)) {
      if (RunOwnBox(title, text, (flags & SDL_MESSAGEBOX_ERROR) != 0)) return;
      if (SDL_ShowSimpleMessageBox(flags, title.c_str(), text.c_str(), parent) == 0) return;
    }
  }
  std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

void SdlDialogs::ShowMessage(const std::string& title, const std::string& text) {
  ShowSdlMessage(SDL_MESSAGEBOX_ERROR, title, text, video_ != nullptr ? video_->Window() : nullptr);
}

}  // namespace tessaru::platform
