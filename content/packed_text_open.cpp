#include "content/packed.h"

#include "core/file_access.h"

namespace tessaru {

int PackedTextTable::Insert(std::string text) {
  // The smallest free number, as handles are reused once closed.
  for (int handle = 1; handle <= kMaxHandles; ++handle) {
    if (open_.find(handle) == open_.end()) {
      open_.emplace(handle, FieldReader(std::move(text)));
      return handle;
    }
  }
  return -1;
}

int PackedTextTable::Open(std::string_view logicalPath) {
  const auto bytes = ReadWholeFile(logicalPath);
  if (!bytes) return -1;
  return OpenBytes(*bytes);
}

int PackedTextTable::OpenBytes(std::span<const uint8_t> packedBytes) {
  auto text = UnpackText(packedBytes);
  if (!text) return -1;
  return Insert(std::move(*text));
}

void PackedTextTable::Close(int handle) { open_.erase(handle); }

FieldReader* PackedTextTable::Reader(int handle) {
  const auto it = open_.find(handle);
  return it == open_.end() ? nullptr : &it->second;
}

PackedTextTable& DefaultPackedTexts() {
  static PackedTextTable table;
  return table;
}

int OpenPackedText(std::string_view logicalPath) {
  return DefaultPackedTexts().Open(logicalPath);
}

void ClosePackedText(int handle) { DefaultPackedTexts().Close(handle); }

bool ReadField(int handle, std::string& out) {
  FieldReader* reader = DefaultPackedTexts().Reader(handle);
  return reader != nullptr && reader->Read(out);
}

bool ReadFieldInt16(int handle, int16_t& out) {
  FieldReader* reader = DefaultPackedTexts().Reader(handle);
  return reader != nullptr && reader->ReadInt16(out);
}

bool ReadFieldInt32(int handle, int32_t& out) {
  FieldReader* reader = DefaultPackedTexts().Reader(handle);
  return reader != nullptr && reader->ReadInt32(out);
}

bool ReadFieldDouble(int handle, double& out) {
  FieldReader* reader = DefaultPackedTexts().Reader(handle);
  return reader != nullptr && reader->ReadDouble(out);
}

}  // namespace tessaru
