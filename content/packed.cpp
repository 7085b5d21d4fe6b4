#include "content/packed.h"

#include <algorithm>

#include "core/file_access.h"

namespace tessaru {

uint8_t ByteKey(size_t position) {
  return static_cast<uint8_t>(((position + 1) * kByteKeyStep) & 0xFF);
}

void ScrambleBytes(std::span<uint8_t> bytes) {
  const size_t n = std::min(bytes.size(), kScrambledBytes);
  // A running sum, as the format defines the stream: step added before each byte.
  unsigned sum = 0;
  for (size_t i = 0; i < n; ++i) {
    sum += kByteKeyStep;
    if (sum >= 256) sum -= 256;
    bytes[i] = static_cast<uint8_t>(bytes[i] ^ sum);
  }
}

std::optional<std::vector<uint8_t>> ReadPackedFile(std::string_view logicalPath) {
  auto bytes = ReadWholeFile(logicalPath);
  if (!bytes) return std::nullopt;
  ScrambleBytes(*bytes);
  return bytes;
}

bool WritePackedFile(std::string_view logicalPath, std::vector<uint8_t> plainBytes) {
  ScrambleBytes(plainBytes);
  return WriteWholeFileAtomic(
      logicalPath,
      std::string_view(reinterpret_cast<const char*>(plainBytes.data()), plainBytes.size()));
}

bool ScrambleCopy(std::string_view source, std::string_view destination) {
  auto bytes = ReadPackedFile(source);
  if (!bytes) return false;
  return WriteWholeFileAtomic(
      destination,
      std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

}  // namespace tessaru
