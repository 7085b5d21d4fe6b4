#include "flow/script/script_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "flow/screen_names.h"
#include "platform/key_names.h"

namespace tessaru {
namespace {

// A day of game time: far beyond any run, and small enough that sums stay exact.
constexpr double kLatestMs = 86'400'000.0;

std::string_view Trim(std::string_view s) {
  const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && space(s.front())) s.remove_prefix(1);
  while (!s.empty() && space(s.back())) s.remove_suffix(1);
  return s;
}

// The line without its comment: `#` at the start or after a blank (a key may be named "#"
// only where no blank precedes it, which no key name needs).
std::string_view WithoutComment(std::string_view line) {
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return line.substr(0, i);
  }
  return line;
}

// The first word and the rest after it (trimmed).
std::pair<std::string_view, std::string_view> SplitWord(std::string_view s) {
  s = Trim(s);
  const size_t end = s.find_first_of(" \t");
  if (end == std::string_view::npos) return {s, {}};
  return {s.substr(0, end), Trim(s.substr(end))};
}

bool SameWord(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::optional<double> ParseTime(std::string_view word) {
  double value = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(value)) return std::nullopt;
  if (value < 0 || value > kLatestMs) return std::nullopt;
  return value;
}

bool ValidShotName(std::string_view name) {
  if (name.empty() || name.front() == '.') return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.';
  });
}

std::string Quoted(std::string_view s) { return "'" + std::string(s) + "'"; }

class Parser {
 public:
  std::optional<Script> Run(std::string_view text, ScriptError& error) {
    script_.Stretches.push_back({});
    int number = 0;
    size_t start = 0;
    while (start <= text.size()) {
      const size_t end = std::min(text.find('\n', start), text.size());
      ++number;
      const std::string_view line = Trim(WithoutComment(text.substr(start, end - start)));
      if (!line.empty()) {
        const std::string reason = Line(line, number);
        if (!reason.empty()) {
          error = {number, reason};
          return std::nullopt;
        }
      }
      start = end + 1;
    }
    return std::move(script_);
  }

 private:
  // The reason the line cannot be read; empty when it was taken.
  std::string Line(std::string_view line, int number) {
    const auto [command, rest] = SplitWord(line);
    if (SameWord(command, "at")) return At(rest, number);
    if (SameWord(command, "autoplay")) return Autoplay(rest);
    if (SameWord(command, "after")) return After(rest, number);
    return "unknown command " + Quoted(command) + " (at, autoplay or after)";
  }

  std::string At(std::string_view rest, int number) {
    const auto [timeWord, afterTime] = SplitWord(rest);
    const std::optional<double> at = ParseTime(timeWord);
    if (!at) return "the time " + Quoted(timeWord) + " is not a number of milliseconds from 0 to 86400000";
    ScriptStretch& stretch = script_.Stretches.back();
    if (!stretch.Events.empty() && *at < stretch.Events.back().AtMs) {
      return "the time " + Quoted(timeWord) + " goes back before the line " +
             std::to_string(stretch.Events.back().Line) + " above";
    }
    const auto [action, argument] = SplitWord(afterTime);
    ScriptEvent event;
    event.AtMs = *at;
    event.Line = number;
    if (SameWord(action, "press") || SameWord(action, "release") || SameWord(action, "tap")) {
      event.Action = SameWord(action, "press")     ? ScriptAction::Press
                     : SameWord(action, "release") ? ScriptAction::Release
                                                   : ScriptAction::Tap;
      if (argument.empty()) return std::string(action) + " needs a key name";
      event.Key = platform::VirtualKeyFromName(argument);
      if (event.Key == 0) return "no key is named " + Quoted(argument);
    } else if (SameWord(action, "shot")) {
      event.Action = ScriptAction::Shot;
      if (!ValidShotName(argument)) {
        return "the shot name " + Quoted(argument) + " must be letters, digits, '-', '_' and '.', not starting with '.'";
      }
      event.ShotName = std::string(argument);
      if (!event.ShotName.ends_with(".png")) event.ShotName += ".png";
    } else if (SameWord(action, "quit")) {
      event.Action = ScriptAction::Quit;
      if (!argument.empty()) return "quit takes nothing after it";
    } else {
      return "unknown action " + Quoted(action) + " (press, release, tap, shot or quit)";
    }
    stretch.Events.push_back(std::move(event));
    return {};
  }

  std::string Autoplay(std::string_view rest) {
    const auto [side, value] = SplitWord(rest);
    int p = -1;
    if (SameWord(side, "1") || SameWord(side, "1P")) p = 0;
    if (SameWord(side, "2") || SameWord(side, "2P")) p = 1;
    if (p < 0) return "autoplay needs the side, 1 or 2, not " + Quoted(side);
    if (SameWord(value, "on")) {
      script_.Autoplay[p] = true;
    } else if (SameWord(value, "off")) {
      script_.Autoplay[p] = false;
    } else {
      return "autoplay " + std::string(side) + " must be on or off, not " + Quoted(value);
    }
    return {};
  }

  std::string After(std::string_view rest, int number) {
    const auto known = std::find(screen_name::kAll.begin(), screen_name::kAll.end(), rest);
    if (known == screen_name::kAll.end()) {
      std::string names;
      for (std::string_view n : screen_name::kAll) names += (names.empty() ? "" : ", ") + std::string(n);
      return "no screen is named " + Quoted(rest) + " (" + names + ")";
    }
    script_.Stretches.push_back({std::string(rest), number, {}});
    return {};
  }

  Script script_;
};

}  // namespace

int FirstShotLine(const Script& script) {
  for (const ScriptStretch& stretch : script.Stretches) {
    for (const ScriptEvent& e : stretch.Events) {
      if (e.Action == ScriptAction::Shot) return e.Line;
    }
  }
  return 0;
}

std::optional<Script> ParseScript(std::string_view text, ScriptError& error) { return Parser().Run(text, error); }

std::optional<Script> LoadScript(const std::string& path, ScriptError& error) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) {
    error = {0, "cannot be read (" + ec.message() + ")"};
    return std::nullopt;
  }
  if (size > kMaxScriptBytes) {
    error = {0, "is " + std::to_string(size) + " bytes; a script may have at most " + std::to_string(kMaxScriptBytes)};
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  std::string text(static_cast<size_t>(size), '\0');
  if (!in || !in.read(text.data(), static_cast<std::streamsize>(text.size()))) {
    error = {0, "cannot be read"};
    return std::nullopt;
  }
  return ParseScript(text, error);
}

}  // namespace tessaru
