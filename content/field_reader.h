#pragma once
// Reads the fields of an unpacked text one after the other: leading blanks are skipped;
// a field that starts with a double quote runs to the next double quote; any other field
// runs to the next comma or line end. Reading past the last line is an error.
#include <cstdint>
#include <string>
#include <string_view>

namespace tessaru {

class FieldReader {
 public:
  explicit FieldReader(std::string text) : text_(std::move(text)) {}

  // The next field; false when there is none left.
  bool Read(std::string& out);
  // A number field; false past the end, when the text is not a number, or when the value
  // does not fit. A fraction read into an integer rounds half to even.
  bool ReadInt16(int16_t& out);
  bool ReadInt32(int32_t& out);
  bool ReadDouble(double& out);
  bool AtEnd() const { return pos_ >= text_.size(); }
  const std::string& Text() const { return text_; }

 private:
  bool ReadInteger(int64_t low, int64_t high, int64_t& out);
  std::string text_;
  size_t pos_ = 0;
};

// Parses a number field's text (surrounding blanks allowed); false unless the whole text is
// one finite decimal number. An empty field reads as 0.
bool ParseNumberField(std::string_view text, double& out);

}  // namespace tessaru
