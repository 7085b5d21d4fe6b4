#pragma once
// ErrorLog: the failures met during a run, shown and written to "error.txt" at exit.
#include <string>
#include <string_view>

namespace tessaru {

class ErrorLog {
 public:
  // Appends one entry; every entry is a line ending in CR LF.
  void Add(std::string_view line);
  // The standard entry for a file that could not be loaded.
  void AddLoadFailure(std::string_view fullPath);
  bool Empty() const { return text_.empty(); }
  const std::string& Text() const { return text_; }
  void Clear() { text_.clear(); }
  // The text of "error.txt": every entry, then "[EOF]" on a line of its own.
  std::string FileText() const { return text_ + "[EOF]\r\n"; }
  // Replaces the file at a logical path with FileText(), atomically; false when it cannot.
  bool WriteTo(std::string_view logicalPath) const;

 private:
  std::string text_;
};

// The suffix of the standard load-failure entry ("could not be loaded").
inline constexpr std::string_view kLoadFailedSuffix = "の読み込みに失敗しました";

}  // namespace tessaru
