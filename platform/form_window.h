#pragma once
// A window that hosts Dear ImGui dialogs (the launcher's forms), over SDL and its 2D
// renderer. Callers draw with ImGui between BeginFrame and EndFrame; SDL stays in here.
#include <cstdint>
#include <memory>
#include <string>

namespace tessaru::platform {

struct FormFont {
  std::string Path;  // a TrueType/OpenType file; the built-in font when it cannot be read
  float Pixels = 12.0f;
  std::string GlyphText;  // every text the dialogs show beyond ASCII
};

// Keys and window events of one frame that the dialogs act on themselves.
struct FormEvents {
  bool Escape = false;
  bool F1 = false;
  bool CloseRequested = false;  // the window's close box
  bool QuitRequested = false;   // the program is asked to end (a signal, the session)
};

struct FormPicture {
  void* Texture = nullptr;  // an ImTextureID; null when the picture could not be loaded
  int Width = 0;
  int Height = 0;
};

class FormWindow {
 public:
  virtual ~FormWindow() = default;
  // Shows the window with the program's icon (a PNG); false (with LastError) when there
  // is no display.
  virtual bool Open(const std::string& title, int width, int height, const FormFont& font,
                    const std::string& iconFile) = 0;
  virtual void SetTitle(const std::string& title) = 0;
  virtual void SetClientSize(int width, int height) = 0;
  // Text that may be shown (file names): glyphs the font lacks are added before the next
  // frame.
  virtual void AddGlyphs(const std::string& text) = 0;
  virtual FormEvents BeginFrame() = 0;
  // Draws the frame; when `screenshotPng` is given the frame is also written there.
  virtual void EndFrame(const std::string& screenshotPng = {}) = 0;
  // A picture (RGB565, top row first) as a texture, kept until the window closes.
  virtual FormPicture AddPicture(const uint16_t* pixels, int width, int height) = 0;
  virtual void Close() = 0;
  virtual std::string LastError() const = 0;
};

std::unique_ptr<FormWindow> CreateSdlFormWindow();

// A message box with an error (critical) or warning icon; it needs no open window. Where
// no box can be shown (no display, a virtual one) the message goes to stderr instead.
void ShowFormMessage(bool critical, const std::string& title, const std::string& text);

}  // namespace tessaru::platform
