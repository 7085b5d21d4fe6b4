#include "content/packed.h"

#include "core/file_access.h"

namespace tessaru {

std::optional<FieldReader> OpenPackedBytes(std::span<const uint8_t> packedBytes) {
  auto text = UnpackText(packedBytes);
  if (!text) return std::nullopt;
  return FieldReader(std::move(*text));
}

std::optional<FieldReader> OpenPackedText(std::string_view logicalPath) {
  const auto bytes = ReadWholeFile(logicalPath);
  if (!bytes) return std::nullopt;
  return OpenPackedBytes(*bytes);
}

}  // namespace tessaru
