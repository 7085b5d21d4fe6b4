#pragma once
// Little-endian reading and writing of the binary content layouts. Reads refuse to run
// past the end of the buffer, so a damaged file can never make us read beyond it.
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>
#include <vector>

namespace tessaru {

class ByteCursor {
 public:
  explicit ByteCursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  bool AtEnd() const { return pos_ >= bytes_.size(); }
  size_t Remaining() const { return bytes_.size() - pos_; }
  size_t Position() const { return pos_; }

  template <typename T>
  bool Take(T& out) {
    if (Remaining() < sizeof(T)) return false;
    uint64_t raw = 0;
    for (size_t i = 0; i < sizeof(T); ++i) raw |= uint64_t{bytes_[pos_ + i]} << (8 * i);
    pos_ += sizeof(T);
    if constexpr (std::is_floating_point_v<T>) {
      using Bits = std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>;
      const auto bits = static_cast<Bits>(raw);
      std::memcpy(&out, &bits, sizeof out);
    } else {
      out = static_cast<T>(raw);
    }
    return true;
  }

  // The next n bytes; false (and nothing consumed) when fewer remain.
  bool TakeBytes(size_t n, std::span<const uint8_t>& out) {
    if (Remaining() < n) return false;
    out = bytes_.subspan(pos_, n);
    pos_ += n;
    return true;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
};

template <typename T>
void PutLittleEndian(std::vector<uint8_t>& out, T value) {
  uint64_t raw = 0;
  if constexpr (std::is_floating_point_v<T>) {
    using Bits = std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>;
    Bits bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    raw = bits;
  } else {
    raw = static_cast<uint64_t>(value);
  }
  for (size_t i = 0; i < sizeof(T); ++i) out.push_back(static_cast<uint8_t>(raw >> (8 * i)));
}

}  // namespace tessaru
