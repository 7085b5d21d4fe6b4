#pragma once
// What the start-up sequence needs from the window that shows the dialogs. The real one
// draws with Dear ImGui; tests script the player's clicks and a clock.
#include <cstdint>
#include <string>

#include "launcher/forms.h"

namespace tessaru {

// What the player did on the dialog that has the focus.
enum class FormChoice {
  Command1,    // the first button (decode, options, save)
  Command2,    // the second button (cancel, start)
  Command3,    // the third button (end)
  Close,       // the window's close box: the dialog is unloaded
  Back,        // F1: back one step (as Close, except that the boot menu stays)
  EndProgram,  // Esc: the whole program ends
};

enum class MessageIcon { Critical, Exclamation };

class LauncherUi {
 public:
  virtual ~LauncherUi() = default;
  // Draws the visible dialogs once and services the window (busy work calls it).
  virtual void Repaint(LauncherForms& forms) = 0;
  // Keeps the dialogs drawn and the window serviced for `ms` milliseconds.
  virtual void Wait(LauncherForms& forms, uint32_t ms) = 0;
  virtual uint32_t Ticks() = 0;
  // Runs until the player acts on the dialog in front (the options dialog, else the boot
  // menu, else the conversion dialog); check boxes change `forms` meanwhile.
  virtual FormChoice WaitChoice(LauncherForms& forms) = 0;
  virtual void ShowMessage(MessageIcon icon, const std::string& title, const std::string& text) = 0;
  // The player pressed Esc (or closed the window) while the program was busy.
  virtual bool EndRequested() const = 0;
};

}  // namespace tessaru
