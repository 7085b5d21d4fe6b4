#pragma once
// Private-profile INI files, read and written the way the Windows profile calls treat
// them, so files written by either side stay interchangeable:
//  - section and key names match without regard to ASCII case, surrounding blanks ignored;
//  - of duplicate sections only the first is used; in it, the first of duplicate keys wins;
//  - a value is trimmed and loses one pair of enclosing single or double quotes;
//  - a line without "=" is a key with an empty value; any other line (comments included)
//    is kept but never matches a name.
//  - a line ends at CR LF, LF or a lone CR;
// Writing a key changes only that key's line (or adds the line at the end of its section,
// or the section at the end of the file); every other byte, line ends included, is kept.
// A file is replaced atomically, and a file that exists but cannot be read is never
// overwritten: losing a player's records to a half-written or clobbered file is the one
// thing an INI layer must not do.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessaru {

// An INI text in memory, editable line by line. Reads are indexed, so loading hundreds of
// keys costs one parse.
class IniDocument {
 public:
  IniDocument() = default;
  explicit IniDocument(std::string_view bytes);

  // The value of a key, or nothing when its section or the key is absent.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  // The value, or defaultText (without its trailing blanks) when absent.
  std::string Get(std::string_view section, std::string_view key,
                  std::string_view defaultText) const;
  // Sets a key. False, with nothing changed, for names or values the file could not hold
  // (an empty name, a line break or NUL anywhere, "=" in a key, a key starting with "[").
  bool Set(std::string_view section, std::string_view key, std::string_view value);

  // The whole text as it would be written.
  std::string Bytes() const;
  // True after a Set that changed the text.
  bool Changed() const { return changed_; }
  void MarkSaved() { changed_ = false; }

 private:
  struct Line {
    std::string text;  // without its line end
    std::string end;   // "\r\n", "\n", or "" for a last line without one
  };
  struct Section {
    bool hasHeader = false;  // false only for the lines before the first header
    Line header;
    std::vector<Line> body;
    std::unordered_map<std::string, size_t> firstKey;  // folded name -> body index
  };

  void AddBodyLine(Section& section, Line line);
  const Line* FindLine(std::string_view section, std::string_view key) const;
  void EndLastLine();
  const std::string& NewLineEnd() const;

  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> firstSection_;  // folded name -> index
  std::string lineEnd_ = "\r\n";  // the file's own line end, for lines we add
  bool changed_ = false;
};

// One INI file: loaded at construction, edited in memory, written back once by Save.
// Use it for saves that write many keys; ReadIniString and WriteIniString below are the
// one-key forms.
class IniFile {
 public:
  enum class Source {
    Missing,     // no file yet: starts empty, Save creates it
    Loaded,      // read successfully
    Unreadable,  // exists but cannot be read: reads give defaults, Save refuses
    Fresh,       // started empty on purpose: Save replaces whatever is there
  };

  // Reads the file at a logical path (letter case of the path is forgiven).
  explicit IniFile(std::string logicalPath);
  // An empty document that Save writes over the file whatever it held.
  static IniFile CreateAnew(std::string logicalPath);

  Source State() const { return source_; }
  bool Exists() const { return source_ == Source::Loaded; }
  std::string Get(std::string_view section, std::string_view key,
                  std::string_view defaultText) const {
    return document_.Get(section, key, defaultText);
  }
  std::optional<std::string> Find(std::string_view section, std::string_view key) const {
    return document_.Find(section, key);
  }
  bool Set(std::string_view section, std::string_view key, std::string_view value) {
    return document_.Set(section, key, value);
  }
  // Writes the file when something changed (always for CreateAnew). False when the write
  // failed or was refused; the old file is then left as it was.
  bool Save();
  const IniDocument& Document() const { return document_; }

 private:
  IniFile(std::string logicalPath, Source source);

  std::string path_;
  Source source_;
  IniDocument document_;
};

// Reads one key as GetPrivateProfileString does (with the differences noted above).
std::string ReadIniString(std::string_view logicalPath, std::string_view section,
                          std::string_view key, std::string_view defaultText);
// Writes one key and replaces the file atomically. False when it could not.
bool WriteIniString(std::string_view logicalPath, std::string_view section,
                    std::string_view key, std::string_view value);

}  // namespace tessaru
