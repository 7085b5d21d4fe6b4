#pragma once
// Pictures on the dialogs come from the data folder like every other picture of the game:
// the packed form first, then a plain bitmap of the given name.
#include <optional>
#include <string_view>

#include "graphics/bmp_decode.h"

namespace tessaru {

// Nothing when neither file is there or readable as a bitmap (the dialog goes without).
std::optional<DecodedImage> LoadFormPicture(std::string_view logicalPath);

}  // namespace tessaru
