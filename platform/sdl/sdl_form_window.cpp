// The dialogs' window: SDL's 2D renderer under Dear ImGui, with a FreeType-rendered
// Japanese font (small dialog text stays crisp that way).
#include <SDL.h>
#include <imgui.h>
#include <imgui_freetype.h>
#include <imgui_internal.h>
#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>
#include <stb_image_write.h>

#include <vector>

#include "platform/form_window.h"
#include "platform/sdl/sdl_dialogs.h"
#include "platform/sdl/sdl_subsystem.h"
#include "platform/sdl/sdl_video.h"

namespace tessaru::platform {
namespace {

class SdlFormWindow final : public FormWindow {
 public:
  ~SdlFormWindow() override { Close(); }

  bool Open(const std::string& title, int width, int height, const FormFont& font,
            const std::string& iconFile) override {
    Close();
    if (!video_.Acquire(SDL_INIT_VIDEO, &error_)) return false;
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               width, height, SDL_WINDOW_SHOWN);
    if (window_ != nullptr) {
      renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
      if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    }
    if (renderer_ == nullptr) {
      error_ = SDL_GetError();
      Close();
      return false;
    }
    ShowWindowIcon(window_, iconFile);
    IMGUI_CHECKVERSION();
    context_ = ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;  // the dialogs place themselves; nothing to remember
    io.LogFilename = nullptr;
    font_ = font;
    LoadFont();
    ImGui_ImplSDL2_InitForSDLRenderer(window_);
    ImGui_ImplSDLRenderer_Init(renderer_);
    return true;
  }

  void SetTitle(const std::string& title) override {
    if (window_ != nullptr && title != title_) SDL_SetWindowTitle(window_, title.c_str());
    title_ = title;
  }

  void SetClientSize(int width, int height) override {
    if (window_ == nullptr) return;
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    if (w == width && h == height) return;
    SDL_SetWindowSize(window_, width, height);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }

  void AddGlyphs(const std::string& text) override {
    if (context_ == nullptr) return;
    const ImFont* loaded = ImGui::GetIO().Fonts->Fonts.empty() ? nullptr : ImGui::GetIO().Fonts->Fonts[0];
    const char* p = text.c_str();
    const char* end = p + text.size();
    while (p < end) {
      unsigned int c = 0;
      const int length = ImTextCharFromUtf8(&c, p, end);
      if (length <= 0) break;
      if (c >= 0x80 && loaded != nullptr && loaded->FindGlyphNoFallback(static_cast<ImWchar>(c)) == nullptr &&
          pendingGlyphs_.find(std::string(p, static_cast<size_t>(length))) == std::string::npos) {
        pendingGlyphs_.append(p, static_cast<size_t>(length));
      }
      p += length;
    }
  }

  FormEvents BeginFrame() override {
    FormEvents events;
    if (window_ == nullptr) return events;
    if (!pendingGlyphs_.empty()) {
      // New names to show: the atlas is rebuilt with them before this frame is drawn.
      font_.GlyphText += pendingGlyphs_;
      pendingGlyphs_.clear();
      ImGui_ImplSDLRenderer_DestroyFontsTexture();
      ImGui::GetIO().Fonts->Clear();
      LoadFont();
    }
    SDL_Event e;
    while (SDL_PollEvent(&e) != 0) {
      ImGui_ImplSDL2_ProcessEvent(&e);
      // SDL sends a quit after the last window's close too; that one is only a close.
      if (e.type == SDL_QUIT) events.QuitRequested = true;
      if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE) {
        events.CloseRequested = true;
      }
      if (e.type == SDL_KEYDOWN && e.key.repeat == 0) {
        if (e.key.keysym.scancode == SDL_SCANCODE_ESCAPE) events.Escape = true;
        if (e.key.keysym.scancode == SDL_SCANCODE_F1) events.F1 = true;
      }
    }
    if (events.CloseRequested) events.QuitRequested = false;
    ImGui_ImplSDLRenderer_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
    return events;
  }

  void EndFrame(const std::string& screenshotPng) override {
    if (window_ == nullptr) return;
    ImGui::Render();
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
    if (!screenshotPng.empty()) WriteScreenshot(screenshotPng);
    SDL_RenderPresent(renderer_);
  }

  FormPicture AddPicture(const uint16_t* pixels, int width, int height) override {
    if (renderer_ == nullptr || pixels == nullptr || width <= 0 || height <= 0) return {};
    SDL_Texture* texture = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565,
                                             SDL_TEXTUREACCESS_STATIC, width, height);
    if (texture == nullptr) return {};
    SDL_UpdateTexture(texture, nullptr, pixels, width * 2);
    pictures_.push_back(texture);
    return {texture, width, height};
  }

  void Close() override {
    for (SDL_Texture* texture : pictures_) SDL_DestroyTexture(texture);
    pictures_.clear();
    if (context_ != nullptr) {
      ImGui_ImplSDLRenderer_Shutdown();
      ImGui_ImplSDL2_Shutdown();
      ImGui::DestroyContext(context_);
      context_ = nullptr;
    }
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    window_ = nullptr;
    // Pump once so the window really leaves the screen before the game opens its own.
    if (video_.Held()) SDL_PumpEvents();
    video_.Release();
  }

  std::string LastError() const override { return error_; }

 private:
  // Only the glyphs in use go into the atlas: the whole Japanese set would cost the first
  // frame a few hundred milliseconds.
  void LoadFont() {
    const FormFont& font = font_;
    ImGuiIO& io = ImGui::GetIO();
    io.Fonts->FontBuilderIO = ImGuiFreeType::GetBuilderForFreeType();
    io.Fonts->FontBuilderFlags = ImGuiFreeTypeBuilderFlags_LightHinting;
    ImFontGlyphRangesBuilder builder;
    builder.AddRanges(io.Fonts->GetGlyphRangesDefault());
    builder.AddText(font.GlyphText.c_str());
    ranges_.clear();
    builder.BuildRanges(&ranges_);
    if (font.Path.empty() ||
        io.Fonts->AddFontFromFileTTF(font.Path.c_str(), font.Pixels, nullptr, ranges_.Data) == nullptr) {
      io.Fonts->AddFontDefault();
    }
  }

  void WriteScreenshot(const std::string& path) {
    int w = 0;
    int h = 0;
    if (SDL_GetRendererOutputSize(renderer_, &w, &h) != 0 || w <= 0 || h <= 0) return;
    std::vector<uint8_t> rgb(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
    if (SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_RGB24, rgb.data(), w * 3) == 0) {
      stbi_write_png(path.c_str(), w, h, 3, rgb.data(), w * 3);
    }
  }

  SdlSubsystem video_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  ImGuiContext* context_ = nullptr;
  FormFont font_;
  std::string pendingGlyphs_;
  ImVector<ImWchar> ranges_;
  std::vector<SDL_Texture*> pictures_;
  std::string title_;
  std::string error_;
};

}  // namespace

std::unique_ptr<FormWindow> CreateSdlFormWindow() { return std::make_unique<SdlFormWindow>(); }

void ShowFormMessage(bool critical, const std::string& title, const std::string& text) {
  ShowSdlMessage(critical ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_WARNING, title, text, nullptr);
}

}  // namespace tessaru::platform
