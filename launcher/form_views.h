#pragma once
// Drawing the launcher's dialogs with Dear ImGui: the dialog in front fills the window
// (the options dialog over the boot menu over the conversion dialog); the decode
// progress window floats over the conversion dialog.
#include <optional>
#include <string>

#include "launcher/forms.h"
#include "launcher/launcher_ui.h"
#include "platform/form_window.h"

namespace tessaru {

struct FormView {
  std::string Title;  // the window caption of the dialog in front
  struct {
    int Width = 0;
    int Height = 0;
  } Client;
  std::optional<FormChoice> Choice;  // a button pressed this frame
};

// The game's colours and spacing for every dialog; once after the window opens.
void ApplyFormStyle();

// One frame of the visible dialogs, between the window's BeginFrame and EndFrame.
// `bootBack` is the boot menu's background (no texture: the plain colours).
FormView DrawForms(LauncherForms& forms, const platform::FormPicture& bootBack);

}  // namespace tessaru
