#include "core/error_log.h"

#include <fstream>

namespace tessaru {

void ErrorLog::Add(std::string_view line) {
  // A caller's own line end is replaced, so every entry ends in exactly one CR LF.
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  text_ += line;
  text_ += "\r\n";
}

void ErrorLog::AddLoadFailure(std::string_view fullPath) {
  std::string line(fullPath);
  line += kLoadFailedSuffix;
  Add(line);
}

bool ErrorLog::WriteTo(const std::string& fileSystemPath) const {
  std::ofstream out(fileSystemPath, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << text_ << "[EOF]";
  out.flush();
  return static_cast<bool>(out);
}

}  // namespace tessaru
