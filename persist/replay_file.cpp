#include "persist/replay_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>

#include "core/file_access.h"
#include "core/numbers.h"
#include "core/paths.h"
#include "core/text.h"

namespace tessaru {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kReplayFolder = "replay";
// The header fits in this much of a file; listing a folder reads no more.
constexpr size_t kHeaderBytes = 8192;
// Counters run past 999 (the name simply grows) but not forever.
constexpr int kMaxCounter = 100000;

// Splits on CR LF, LF or a lone CR: files pass through editors of every platform.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const size_t end = text_.find_first_of("\r\n", pos_);
    if (end == std::string_view::npos) {
      line = text_.substr(pos_);
      pos_ = text_.size();
    } else {
      line = text_.substr(pos_, end - pos_);
      pos_ = end + 1;
      if (text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    }
    ++number_;
    return true;
  }
  int Number() const { return number_; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  int number_ = 0;
};

// A whole decimal number with optional blanks around it, in [low, high].
bool ParseNumber(std::string_view text, int64_t low, int64_t high, int64_t& value) {
  text = TrimBlanks(text, " \t");
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

std::string LineText(int line) { return "line " + NumberText(int64_t{line}) + ": "; }

bool Fail(std::string& reason, std::string text, ReplayRecord& record) {
  reason = std::move(text);
  record = ReplayRecord{};
  return false;
}

// Reads one header number; false (with the reason) when the line is missing or bad.
bool HeaderNumber(LineReader& lines, const char* what, int64_t low, int64_t high, int64_t& value,
                  std::string& reason) {
  std::string_view line;
  if (!lines.Next(line)) {
    reason = std::string("the file ends before its ") + what;
    return false;
  }
  if (!ParseNumber(line, low, high, value)) {
    reason = LineText(lines.Number()) + what + " must be a number from " + NumberText(low) + " to " +
             NumberText(high);
    return false;
  }
  return true;
}

// One event line of `fields` comma-separated numbers: tick, lane[, judge[, step]].
bool ParseEvent(std::string_view line, int fields, int32_t& tick, int16_t& lane, int16_t& judge, int16_t& step,
                std::string& reason) {
  static const char* const kNames[] = {"tick", "lane", "judgement", "step"};
  static const int64_t kLow[] = {0, 1, kReplayNoJudgement, 0};
  static const int64_t kHigh[] = {std::numeric_limits<int32_t>::max(), 4, kReplayBlank,
                                  std::numeric_limits<int16_t>::max()};
  int64_t values[4] = {0, 0, 0, 0};
  for (int i = 0; i < fields; ++i) {
    const size_t comma = line.find(',');
    const bool last = i == fields - 1;
    if (last != (comma == std::string_view::npos)) {
      reason = "expected " + NumberText(int64_t{fields}) + " numbers separated by commas";
      return false;
    }
    if (!ParseNumber(line.substr(0, comma), kLow[i], kHigh[i], values[i])) {
      reason = std::string(kNames[i]) + " must be a number from " + NumberText(kLow[i]) + " to " +
               NumberText(kHigh[i]);
      return false;
    }
    if (!last) line.remove_prefix(comma + 1);
  }
  tick = static_cast<int32_t>(values[0]);
  lane = static_cast<int16_t>(values[1]);
  judge = static_cast<int16_t>(values[2]);
  step = static_cast<int16_t>(values[3]);
  return true;
}

// Folds one path character for comparison: either separator, ASCII case ignored.
char Folded(char c) {
  if (c == '\\') return '/';
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::optional<std::string> ReadPrefix(const std::string& path, uint64_t size, bool headerOnly) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text(static_cast<size_t>(headerOnly ? std::min<uint64_t>(size, kHeaderBytes) : size), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad()) return std::nullopt;
  text.resize(static_cast<size_t>(in.gcount()));
  // A header read cut short keeps whole lines only.
  if (headerOnly && text.size() < size) {
    const size_t lastBreak = text.find_last_of("\r\n");
    text.resize(lastBreak == std::string::npos ? 0 : lastBreak + 1);
  }
  return text;
}

// Writes the bytes to a new file `target`, never replacing one that exists: the bytes go
// to a temporary file first, which is then linked under the final name (link refuses an
// existing name, so two saves at once take different counters).
enum class Placed { Written, Taken, Failed };
Placed PlaceNewFile(const std::string& target, std::string_view bytes) {
  const std::string temp = target + ".part";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return Placed::Failed;
  size_t written = 0;
  bool ok = true;
  while (ok && written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    ok = n > 0;
    if (ok) written += static_cast<size_t>(n);
  }
  ok = ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  Placed result = Placed::Failed;
  if (ok) {
    if (::link(temp.c_str(), target.c_str()) == 0) {
      result = Placed::Written;
    } else if (errno == EEXIST) {
      result = Placed::Taken;
    }
  }
  ::unlink(temp.c_str());
  return result;
}

}  // namespace

void ReplayRecord::Append(int32_t tick, int16_t lane, int16_t step, int16_t judge) {
  EvTick.push_back(tick);
  EvLane.push_back(lane);
  EvStep.push_back(step);
  EvJudge.push_back(judge);
  EventCount = static_cast<int32_t>(EvTick.size());
}

std::string RelativeToDataPath(std::string_view dataPath, std::string_view path) {
  size_t n = dataPath.size();
  while (n > 0 && (dataPath[n - 1] == '\\' || dataPath[n - 1] == '/')) --n;
  if (n == 0 || path.size() <= n + 1 || (path[n] != '\\' && path[n] != '/')) return std::string(path);
  for (size_t i = 0; i < n; ++i) {
    if (Folded(path[i]) != Folded(dataPath[i])) return std::string(path);
  }
  return std::string(path.substr(n + 1));
}

std::string ReplayPath(std::string_view programFolder, std::string_view name) {
  return JoinLogical(JoinLogical(programFolder, kReplayFolder), name);
}

std::string EncodeReplay(const ReplayRecord& r, std::string_view dataPath, std::string& reason) {
  std::string relative = RelativeToDataPath(dataPath, r.SongPath);
  // Files are shared with Windows players: their separator, their code page.
  std::replace(relative.begin(), relative.end(), '/', '\\');
  if (relative.find_first_of("\r\n") != std::string::npos) {
    reason = "the song path holds a line break";
    return {};
  }
  const size_t count = std::min({r.EvTick.size(), r.EvLane.size(), r.EvStep.size(), r.EvJudge.size(),
                                 static_cast<size_t>(std::max(0, std::min(r.EventCount, kReplayMaxEvents)))});
  std::string text = Utf8ToCp932(relative);
  text += kCrLf;
  for (int64_t value : {int64_t{r.Part}, int64_t{-1}, int64_t{kReplayVersion}, static_cast<int64_t>(count)}) {
    text += NumberText(value);
    text += kCrLf;
  }
  for (size_t i = 0; i < count; ++i) {
    text += NumberText(int64_t{r.EvTick[i]}) + "," + NumberText(int64_t{r.EvLane[i]}) + "," +
            NumberText(int64_t{r.EvJudge[i]}) + "," + NumberText(int64_t{r.EvStep[i]});
    text += kCrLf;
  }
  return text;
}

bool DecodeReplay(std::string_view text, ReplayRecord& record, bool headerOnly, std::string& reason) {
  record = ReplayRecord{};
  ReplayRecord r;
  LineReader lines(text);
  std::string_view line;
  if (!lines.Next(line)) return Fail(reason, "the file is empty", record);
  r.SongPath = Cp932ToUtf8(TrimBlanks(line, " \t"));
  int64_t part = 0;
  int64_t marker = 0;
  if (!HeaderNumber(lines, "part", 0, std::numeric_limits<int16_t>::max(), part, reason) ||
      !HeaderNumber(lines, "count or version marker", std::numeric_limits<int32_t>::min(),
                    std::numeric_limits<int32_t>::max(), marker, reason)) {
    return Fail(reason, reason, record);
  }
  r.Part = static_cast<int16_t>(part);
  int64_t count = marker;
  if (marker < 0) {
    int64_t version = 0;
    // A version this game does not know would play as an empty replay: refused instead.
    if (!HeaderNumber(lines, "version", 1, kReplayVersion, version, reason) ||
        !HeaderNumber(lines, "count", 0, std::numeric_limits<int32_t>::max(), count, reason)) {
      return Fail(reason, reason, record);
    }
    r.Version = static_cast<int16_t>(version);
  } else {
    r.Version = 0;
  }
  if (count > kReplayMaxEvents) {
    return Fail(reason, "count " + NumberText(count) + " is above the " + NumberText(int64_t{kReplayMaxEvents}) +
                            " presses a replay holds",
                record);
  }
  r.EventCount = static_cast<int32_t>(count);
  if (headerOnly) {
    record = std::move(r);
    return true;
  }
  const int fields = r.Version == 2 ? 4 : r.Version == 1 ? 3 : 2;
  const auto n = static_cast<size_t>(count);
  r.EvTick.reserve(n);
  r.EvLane.reserve(n);
  r.EvStep.reserve(n);
  r.EvJudge.reserve(n);
  for (int32_t i = 0; i < r.EventCount; ++i) {
    if (!lines.Next(line)) {
      return Fail(reason, "the file ends after " + NumberText(int64_t{i}) + " of " + NumberText(count) + " presses",
                  record);
    }
    int32_t tick = 0;
    int16_t lane = 0;
    int16_t judge = 0;
    int16_t step = 0;
    std::string why;
    if (!ParseEvent(line, fields, tick, lane, judge, step, why)) {
      return Fail(reason, LineText(lines.Number()) + why, record);
    }
    // Presses are played back in the order they happened.
    if (!r.EvTick.empty() && tick < r.EvTick.back()) {
      return Fail(reason, LineText(lines.Number()) + "tick " + NumberText(int64_t{tick}) + " is before the press above",
                  record);
    }
    r.EvTick.push_back(tick);
    r.EvLane.push_back(lane);
    r.EvJudge.push_back(judge);
    r.EvStep.push_back(step);
  }
  record = std::move(r);
  return true;
}

bool LoadReplay(std::string_view path, ReplayRecord& record, bool headerOnly, std::string* reason) {
  std::string why;
  record = ReplayRecord{};
  const std::string file = ResolvePath(path);
  struct stat st {};
  bool ok = false;
  if (::stat(file.c_str(), &st) != 0) {
    why = "the file does not exist";
  } else if (!S_ISREG(st.st_mode)) {
    why = "not a file";
  } else if (static_cast<uint64_t>(st.st_size) > kReplayMaxFileBytes) {
    why = "the file is larger than " + NumberText(int64_t{kReplayMaxFileBytes >> 10}) + " KB";
  } else if (const auto text = ReadPrefix(file, static_cast<uint64_t>(st.st_size), headerOnly); !text) {
    why = "the file cannot be read";
  } else {
    ok = DecodeReplay(*text, record, headerOnly, why);
  }
  if (!ok && reason != nullptr) *reason = why;
  return ok;
}

std::string SaveReplay(std::string_view programFolder, std::string_view dataPath, const ReplayRecord& record,
                       std::string& reason) {
  const std::string text = EncodeReplay(record, dataPath, reason);
  if (text.empty()) return {};
  const std::string folder = JoinLogical(programFolder, kReplayFolder);
  std::error_code ec;
  fs::create_directories(ResolvePath(folder), ec);
  if (!FolderExists(folder)) {
    reason = "the folder " + folder + " cannot be made";
    return {};
  }
  const std::string stem =
      StripExtension(FileNameOf(record.SongPath)) + NumberText(int64_t{record.Part} + 1) + "-";
  for (int counter = 0; counter < kMaxCounter; ++counter) {
    const std::string name = stem + ZeroPadNumber(counter, 3) + ".zxr";
    const std::string logical = JoinLogical(folder, name);
    // Another letter case of the same name counts as taken, as it would on Windows.
    if (FileExists(logical)) continue;
    switch (PlaceNewFile(ResolvePath(logical), text)) {
      case Placed::Written: return logical;
      case Placed::Taken: continue;
      case Placed::Failed:
        reason = "cannot write " + logical;
        return {};
    }
  }
  reason = "no free file name for " + stem + "NNN.zxr";
  return {};
}

std::vector<ReplayEntry> FindReplays(std::string_view programFolder, std::string_view dataPath,
                                     std::string_view songPath) {
  const std::string wanted = PathForComparison(RelativeToDataPath(dataPath, songPath));
  const std::string folder = JoinLogical(programFolder, kReplayFolder);
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(ResolvePath(folder), ec)) {
    std::string name = entry.path().filename().string();
    if (PathForComparison(ExtensionOf(name)) == "zxr") names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(), ListingOrder);
  std::vector<ReplayEntry> found;
  for (const std::string& name : names) {
    ReplayRecord header;
    if (!LoadReplay(JoinLogical(folder, name), header, true)) continue;
    if (PathForComparison(header.SongPath) == wanted) found.push_back({name, header.Part});
  }
  return found;
}

}  // namespace tessaru
