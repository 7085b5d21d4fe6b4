#pragma once
// The launcher on a real window: the dialogs from the settings to the boot menu.
#include <cstdint>
#include <optional>

#include "flow/game.h"

namespace tessaru {

// Settings must be loaded. The hide-cursor value for GameMain when the player starts the
// game, nothing when the program ends here. The window is closed before it returns.
std::optional<int16_t> RunStartUpForms(Game& game);

}  // namespace tessaru
