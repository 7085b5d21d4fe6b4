#include "core/error_log.h"

#include "core/file_access.h"

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

bool ErrorLog::WriteTo(std::string_view logicalPath) const {
  return WriteWholeFileAtomic(logicalPath, FileText());
}

}  // namespace tessaru
