#include "launcher/form_pictures.h"

#include "content/packed.h"
#include "core/file_access.h"
#include "core/paths.h"

namespace tessaru {

std::optional<DecodedImage> LoadFormPicture(std::string_view logicalPath) {
  // No dialog is bigger than this; a larger picture is cut, as the screens cut theirs.
  constexpr int32_t kMaxSide = 1024;
  const std::string packed = ReplaceExtension(logicalPath, ".zxg");
  auto bytes = FileExists(packed) ? ReadPackedFile(packed) : std::nullopt;
  if (!bytes && FileExists(logicalPath)) bytes = ReadWholeFile(logicalPath);
  if (!bytes) return std::nullopt;
  return DecodeBmp(*bytes, kMaxSide, kMaxSide);
}

}  // namespace tessaru
