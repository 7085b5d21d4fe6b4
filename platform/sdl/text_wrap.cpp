#include "platform/sdl/text_wrap.h"

namespace tessaru::platform {
namespace {

// Bytes of the UTF-8 character that starts at `at` (1 for a stray continuation byte).
size_t CharLength(const std::string& text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  size_t n = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (at + n > text.size()) n = text.size() - at;
  return n;
}

void WrapParagraph(const std::string& paragraph, const std::function<int(const std::string&)>& measure,
                   int width, std::vector<std::string>& lines) {
  std::string line;
  size_t lastBlank = std::string::npos;  // in `line`, just after the blank
  for (size_t at = 0; at < paragraph.size();) {
    const size_t n = CharLength(paragraph, at);
    const std::string ch = paragraph.substr(at, n);
    at += n;
    if (!line.empty() && measure(line + ch) > width) {
      if (ch == " ") {  // the break falls on a blank: it starts no line
        lines.push_back(line);
        line.clear();
        lastBlank = std::string::npos;
        continue;
      }
      if (lastBlank != std::string::npos) {
        lines.push_back(line.substr(0, lastBlank - 1));
        line.erase(0, lastBlank);
      }
      if (!line.empty() && (lastBlank == std::string::npos || measure(line + ch) > width)) {
        lines.push_back(line);
        line.clear();
      }
      lastBlank = std::string::npos;
    }
    line += ch;
    if (ch == " ") lastBlank = line.size();
  }
  lines.push_back(line);
}

}  // namespace

std::vector<std::string> WrapText(const std::string& text,
                                  const std::function<int(const std::string&)>& measure, int width) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find('\n', start);
    std::string paragraph = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
    WrapParagraph(paragraph, measure, width, lines);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

}  // namespace tessaru::platform
