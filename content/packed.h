#pragma once
// The two layers of packed content files.
//
// Byte layer: the first 1024 bytes of a file are XORed with a key stream; the rest is
// plain. Images, sounds and part files use only this layer.
// Text layer (tagged text files): after the byte layer the file is a stream of typed
// tokens; strings are arrays of CP932 character codes XORed with a key word. Unpacking
// gives a text of one value per line that the loaders read field by field.
//
// Everything is undone in memory: the program folder may be read-only, and a crash must
// not leave stray temporary files behind.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "content/field_reader.h"

namespace tessaru {

// Format constants shared with every tool that packs content for this game.
inline constexpr uint8_t kByteKeyStep = 0x4B;
inline constexpr uint32_t kTextKeyWord = 0x2F6A1C5D;
// Only this many leading bytes are scrambled, so big files cost one pass over 1 KB.
inline constexpr size_t kScrambledBytes = 1024;

// The key byte for a byte position: ((position + 1) * step) mod 256.
uint8_t ByteKey(size_t position);
// XORs the first min(n, 1024) bytes with the key stream, in place; its own inverse.
void ScrambleBytes(std::span<uint8_t> bytes);
// Copies a file, scrambling (or unscrambling) its first 1024 bytes; false on any error.
bool ScrambleCopy(std::string_view source, std::string_view destination);
// The descrambled bytes of a packed binary file; nothing when it cannot be read.
std::optional<std::vector<uint8_t>> ReadPackedFile(std::string_view logicalPath);
// Scrambles plain bytes and replaces the file atomically; false on any error.
bool WritePackedFile(std::string_view logicalPath, std::vector<uint8_t> plainBytes);

// One value of the text layer. Strings are UTF-8 in memory, CP932 in the file.
using TextValue = std::variant<std::string, int16_t, int32_t, float, double>;

// Token type codes of the stream.
inline constexpr uint16_t kTokenInt16 = 2;
inline constexpr uint16_t kTokenInt32 = 3;
inline constexpr uint16_t kTokenSingle = 4;
inline constexpr uint16_t kTokenDouble = 5;
inline constexpr uint16_t kTokenLongArray = 0x2003;

// The exact bytes of a packed text file holding these values (tokens, then scrambled).
std::vector<uint8_t> PackText(const std::vector<TextValue>& values);
// The values of a packed text file, or nothing when the token stream is malformed
// (unknown type code, array of other than one dimension, negative or oversized count,
// a token cut short by the end of the file). Never reads past the buffer.
std::optional<std::vector<TextValue>> UnpackValues(std::span<const uint8_t> packedBytes);
// The unpacked text: one line per value, each ended by CR LF; strings in double quotes.
std::optional<std::string> UnpackText(std::span<const uint8_t> packedBytes);
// The text line of one value, without its line end.
std::string ValueText(const TextValue& value);

// A packed text opened for field reading, as a value that closes with its scope; nothing
// when the file is missing or cannot be unpacked. The reader's fields are false for
// reading past the last line and for a number field that is not a number of that type.
std::optional<FieldReader> OpenPackedText(std::string_view logicalPath);
std::optional<FieldReader> OpenPackedBytes(std::span<const uint8_t> packedBytes);

}  // namespace tessaru
