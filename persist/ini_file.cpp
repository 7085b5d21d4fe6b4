#include "persist/ini_file.h"

#include <sys/stat.h>

#include <utility>

#include "core/file_access.h"
#include "core/text.h"

namespace tessaru {
namespace {

// INI files are a few hundred kilobytes at most; anything far larger is not one of ours.
constexpr uint64_t kMaxIniBytes = 64ull << 20;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  // Ctrl-Z is blank too: old editors ended text files with it.
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view Trim(std::string_view text) {
  return TrimBlanks(text, " \t\r\v\f\x1A");
}

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Names compare without regard to ASCII case; other bytes (CP932 text) compare as they are.
std::string Fold(std::string_view name) {
  std::string out(Trim(name));
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// The section name of a header line, or nothing when the line is not a header.
std::optional<std::string_view> HeaderName(std::string_view text) {
  text = Trim(text);
  if (text.empty() || text.front() != '[') return std::nullopt;
  const size_t close = text.rfind(']');
  if (close == std::string_view::npos || close == 0) return std::nullopt;
  return Trim(text.substr(1, close - 1));
}

// The key name of a body line; nothing for a blank line.
std::optional<std::string_view> KeyName(std::string_view text) {
  text = Trim(text);
  if (text.empty()) return std::nullopt;
  return Trim(text.substr(0, text.find('=')));
}

std::string ValueOf(std::string_view text) {
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos) return {};
  std::string_view value = Trim(text.substr(equals + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

bool HasLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

IniDocument::IniDocument(std::string_view bytes) {
  sections_.emplace_back();  // the lines before any header
  bool endSeen = false;
  size_t pos = 0;
  while (pos < bytes.size()) {
    // A line ends at CR LF, LF, or CR alone (files from old Mac editors).
    const size_t textEnd = bytes.find_first_of("\r\n", pos);
    Line line;
    if (textEnd == std::string_view::npos) {
      line.text = std::string(bytes.substr(pos));
      pos = bytes.size();
    } else {
      const bool crlf = bytes[textEnd] == '\r' && textEnd + 1 < bytes.size() && bytes[textEnd + 1] == '\n';
      const size_t next = textEnd + (crlf ? 2 : 1);
      line.text = std::string(bytes.substr(pos, textEnd - pos));
      line.end = std::string(bytes.substr(textEnd, next - textEnd));
      pos = next;
      if (!endSeen) {
        lineEnd_ = line.end;
        endSeen = true;
      }
    }

    std::string_view text = line.text;
    if (sections_.size() == 1 && sections_[0].body.empty() && text.starts_with(kUtf8Bom)) {
      text.remove_prefix(kUtf8Bom.size());
    }
    if (const auto name = HeaderName(text)) {
      Section section;
      section.hasHeader = true;
      section.header = std::move(line);
      firstSection_.emplace(Fold(*name), sections_.size());
      sections_.push_back(std::move(section));
    } else {
      AddBodyLine(sections_.back(), std::move(line));
    }
  }
}

void IniDocument::AddBodyLine(Section& section, Line line) {
  if (const auto name = KeyName(line.text)) {
    section.firstKey.emplace(Fold(*name), section.body.size());  // the first one stays
  }
  section.body.push_back(std::move(line));
}

const IniDocument::Line* IniDocument::FindLine(std::string_view section,
                                               std::string_view key) const {
  const auto sectionAt = firstSection_.find(Fold(section));
  if (sectionAt == firstSection_.end()) return nullptr;
  const Section& found = sections_[sectionAt->second];
  const auto keyAt = found.firstKey.find(Fold(key));
  if (keyAt == found.firstKey.end()) return nullptr;
  return &found.body[keyAt->second];
}

std::optional<std::string> IniDocument::Find(std::string_view section,
                                             std::string_view key) const {
  const Line* line = FindLine(section, key);
  if (line == nullptr) return std::nullopt;
  return ValueOf(line->text);
}

std::string IniDocument::Get(std::string_view section, std::string_view key,
                             std::string_view defaultText) const {
  if (auto value = Find(section, key)) return *std::move(value);
  return std::string(TrimRight(defaultText));
}

const std::string& IniDocument::NewLineEnd() const { return lineEnd_; }

// Gives the last line of the text a line end, so a line can follow it.
void IniDocument::EndLastLine() {
  for (auto section = sections_.rbegin(); section != sections_.rend(); ++section) {
    if (!section->body.empty()) {
      if (section->body.back().end.empty()) section->body.back().end = NewLineEnd();
      return;
    }
    if (section->hasHeader) {
      if (section->header.end.empty()) section->header.end = NewLineEnd();
      return;
    }
  }
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view sectionName = Trim(section);
  const std::string_view keyName = Trim(key);
  if (sectionName.empty() || keyName.empty() || HasLineBreakOrNul(section) ||
      HasLineBreakOrNul(key) || HasLineBreakOrNul(value) ||
      keyName.find('=') != std::string_view::npos || keyName.front() == '[') {
    return false;
  }
  // A header reads as far as its last "]", so names holding "]" (song paths) come back whole.
  const std::string header = "[" + std::string(sectionName) + "]";

  if (sections_.empty()) sections_.emplace_back();
  const std::string newLine = std::string(keyName) + "=" + std::string(value);
  const auto sectionAt = firstSection_.find(Fold(sectionName));
  if (sectionAt != firstSection_.end()) {
    Section& target = sections_[sectionAt->second];
    const auto keyAt = target.firstKey.find(Fold(keyName));
    if (keyAt != target.firstKey.end()) {
      // Keep the line's own spelling, indentation and line end; replace what follows "=".
      Line& line = target.body[keyAt->second];
      const size_t equals = line.text.find('=');
      std::string text = equals == std::string::npos
                             ? std::string(TrimRight(line.text)) + "="
                             : line.text.substr(0, equals + 1);
      text += value;
      if (text != line.text) {
        line.text = std::move(text);
        changed_ = true;
      }
      return true;
    }
    // After the section's last non-blank line, so blank lines before the next header stay.
    size_t at = target.body.size();
    while (at > 0 && Trim(target.body[at - 1].text).empty()) --at;
    Line& before = at > 0 ? target.body[at - 1] : target.header;
    if (before.end.empty()) before.end = NewLineEnd();
    target.body.insert(target.body.begin() + static_cast<std::ptrdiff_t>(at),
                       Line{newLine, NewLineEnd()});
    target.firstKey.emplace(Fold(keyName), at);
    changed_ = true;
    return true;
  }

  EndLastLine();
  Section added;
  added.hasHeader = true;
  added.header = Line{header, NewLineEnd()};
  firstSection_.emplace(Fold(sectionName), sections_.size());
  sections_.push_back(std::move(added));
  AddBodyLine(sections_.back(), Line{newLine, NewLineEnd()});
  changed_ = true;
  return true;
}

std::string IniDocument::Bytes() const {
  std::string out;
  for (const Section& section : sections_) {
    if (section.hasHeader) out += section.header.text + section.header.end;
    for (const Line& line : section.body) out += line.text + line.end;
  }
  return out;
}

IniFile::IniFile(std::string logicalPath, Source source)
    : path_(std::move(logicalPath)), source_(source) {}

IniFile::IniFile(std::string logicalPath) : path_(std::move(logicalPath)) {
  struct stat st {};
  if (::stat(ResolvePath(path_).c_str(), &st) != 0) {
    source_ = Source::Missing;
    return;
  }
  source_ = Source::Unreadable;
  if (!S_ISREG(st.st_mode)) return;
  if (auto bytes = ReadWholeFile(path_, kMaxIniBytes)) {
    source_ = Source::Loaded;
    document_ = IniDocument(std::string_view(reinterpret_cast<const char*>(bytes->data()),
                                             bytes->size()));
  }
}

IniFile IniFile::CreateAnew(std::string logicalPath) {
  return IniFile(std::move(logicalPath), Source::Fresh);
}

bool IniFile::Save() {
  if (source_ == Source::Unreadable) return false;
  if (source_ != Source::Fresh && !document_.Changed()) return true;
  if (!WriteWholeFileAtomic(path_, document_.Bytes())) return false;
  source_ = Source::Loaded;
  document_.MarkSaved();
  return true;
}

std::string ReadIniString(std::string_view logicalPath, std::string_view section,
                          std::string_view key, std::string_view defaultText) {
  return IniFile(std::string(logicalPath)).Get(section, key, defaultText);
}

bool WriteIniString(std::string_view logicalPath, std::string_view section,
                    std::string_view key, std::string_view value) {
  IniFile file{std::string(logicalPath)};
  if (!file.Set(section, key, value)) return false;
  return file.Save();
}

}  // namespace tessaru
