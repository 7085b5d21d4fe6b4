#pragma once
// Small helpers shared by the subcommands.
#include <string>
#include <string_view>

#include "tools/commands.h"

namespace tessaru {

// Throws CommandFailure unless the file exists; `what` names the kind of file.
void RequireFile(std::string_view path, std::string_view what);
// Writes bytes to a file atomically or throws CommandFailure.
void WriteOrFail(std::string_view path, std::string_view bytes);

}  // namespace tessaru
