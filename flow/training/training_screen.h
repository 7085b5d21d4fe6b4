#pragma once
// Training mode from the title: the menu, and the practice runs it starts.
#include "flow/game.h"

namespace tessaru {

// Runs until EXIT or F1 on the menu; QuitRequested is set after Esc.
void RunTraining(Game& game);

}  // namespace tessaru
