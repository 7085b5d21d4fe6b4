// The text layer: any bytes either unpack to a text the field reader walks, or are refused.
#include <cstddef>
#include <cstdint>
#include <span>

#include "content/field_reader.h"
#include "content/packed.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto text = tessaru::UnpackText(std::span<const uint8_t>(data, size));
  if (!text) return 0;
  tessaru::FieldReader reader(*text);
  std::string field;
  double number = 0;
  while (reader.Read(field)) (void)tessaru::ParseNumberField(field, number);
  return 0;
}
