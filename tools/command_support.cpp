#include "tools/command_support.h"

#include "core/file_access.h"

namespace tessaru {

void RequireFile(std::string_view path, std::string_view what) {
  if (!FileExists(path)) {
    throw CommandFailure(std::string(path) + ": " + std::string(what) + " not found or not readable");
  }
}

void WriteOrFail(std::string_view path, std::string_view bytes) {
  if (!WriteWholeFileAtomic(path, bytes)) throw CommandFailure(std::string(path) + ": cannot be written");
}

}  // namespace tessaru
