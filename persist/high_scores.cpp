#include "persist/high_scores.h"

#include <algorithm>
#include <limits>

#include "core/numbers.h"
#include "core/paths.h"
#include "core/text.h"
#include "persist/character_codes.h"
#include "persist/ini_file.h"
#include "persist/profile_number.h"

namespace tessaru {
namespace {

constexpr std::string_view kVersionSection = "VERSION";
constexpr std::string_view kVersionKey = "VER";
constexpr std::string_view kVersionWritten = "1000";
constexpr std::string_view kGameFlagSection = "GAMEFLAG";

std::string Key(std::string_view name, int number) { return std::string(name) + NumberText(int64_t{number}); }
std::string Key(std::string_view name, int first, int second) {
  return Key(name, first) + NumberText(int64_t{second});
}

// Record keys read "E" (or any value starting with it) as an empty record.
template <typename T>
T ReadRecord(const IniFile& file, std::string_view section, std::string_view key) {
  const std::string value = file.Get(section, key, "E");
  return value.starts_with('E') ? T{0} : ProfileNumber<T>(value);
}

template <typename T>
void WriteNumber(IniFile& file, std::string_view section, std::string_view key, T value) {
  file.Set(section, key, NumberText(int64_t{value}));
}

// The first three characters (not bytes: a multi-byte character stays whole).
std::string FirstThreeCharacters(const std::string& text) {
  size_t end = 0;
  for (int count = 0; count < 3 && end < text.size(); ++count) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return text.substr(0, end);
}

RankEntry DefaultEntry(int index) {
  RankEntry entry;
  entry.Name = std::string(CharacterCode(index));
  return entry;
}

RankTable DefaultTable(int size) {
  RankTable table;
  for (int i = 0; i < size; ++i) table.push_back(DefaultEntry(i));
  return table;
}

PairRankTable DefaultPairTable(int size) {
  PairRankTable table;
  for (int i = 0; i < size; ++i) table.push_back({DefaultEntry(i), DefaultEntry(i)});
  return table;
}

// The keys of one ranking entry. In the pair tables the players' characters and rates
// are told apart by "1" or "2" after CHAR and PR; everything else is shared.
struct EntryKeys {
  std::string_view charName = "CHAR";
  std::string_view rateName = "PR";
  bool hasPass = true;
};

void ReadEntry(const IniFile& file, std::string_view section, int index, const EntryKeys& keys,
               RankEntry& entry) {
  const int n = index + 1;
  entry.Name = FirstThreeCharacters(file.Get(section, Key("NAME", n), CharacterCode(index)));
  entry.Score = ReadRecord<int32_t>(file, section, Key("SC", n));
  for (int k = 0; k < kRankStages; ++k) {
    entry.Songs[k] = ReadRecord<int16_t>(file, section, Key("SONG", n, k + 1));
    entry.Chars[k] = ReadRecord<int16_t>(file, section, Key(keys.charName, n, k + 1));
    entry.Rates[k] = ReadRecord<int16_t>(file, section, Key(keys.rateName, n, k + 1));
  }
  if (keys.hasPass) entry.Pass = ReadRecord<int32_t>(file, section, Key("PASS", n));
}

// The shared fields (name, total, songs) and the entry's own characters and rates, each
// only when it differs from the snapshot.
void WriteSharedFields(IniFile& file, std::string_view section, int index, const RankEntry& entry,
                       const RankEntry& before) {
  const int n = index + 1;
  if (entry.Name != before.Name) file.Set(section, Key("NAME", n), entry.Name);
  if (entry.Score != before.Score) WriteNumber(file, section, Key("SC", n), entry.Score);
  for (int k = 0; k < kRankStages; ++k) {
    if (entry.Songs[k] != before.Songs[k]) {
      WriteNumber(file, section, Key("SONG", n, k + 1), entry.Songs[k]);
    }
  }
}

void WriteOwnFields(IniFile& file, std::string_view section, int index, const EntryKeys& keys,
                    const RankEntry& entry, const RankEntry& before) {
  const int n = index + 1;
  for (int k = 0; k < kRankStages; ++k) {
    if (entry.Chars[k] != before.Chars[k]) {
      WriteNumber(file, section, Key(keys.charName, n, k + 1), entry.Chars[k]);
    }
    if (entry.Rates[k] != before.Rates[k]) {
      WriteNumber(file, section, Key(keys.rateName, n, k + 1), entry.Rates[k]);
    }
  }
}

void ReadTable(const IniFile& file, std::string_view section, RankTable& table, bool hasPass) {
  for (size_t i = 0; i < table.size(); ++i) {
    ReadEntry(file, section, static_cast<int>(i), EntryKeys{"CHAR", "PR", hasPass}, table[i]);
  }
}

void WriteTable(IniFile& file, std::string_view section, const RankTable& table,
                const RankTable& before) {
  for (size_t i = 0; i < table.size() && i < before.size(); ++i) {
    const int index = static_cast<int>(i);
    WriteSharedFields(file, section, index, table[i], before[i]);
    WriteOwnFields(file, section, index, EntryKeys{}, table[i], before[i]);
  }
}

constexpr EntryKeys kFirstPlayerKeys{"CHAR1", "PR1", true};
constexpr EntryKeys kSecondPlayerKeys{"CHAR2", "PR2", true};

void ReadPairTable(const IniFile& file, std::string_view section, PairRankTable& table) {
  for (size_t i = 0; i < table.size(); ++i) {
    const int index = static_cast<int>(i);
    ReadEntry(file, section, index, kFirstPlayerKeys, table[i].Player1);
    ReadEntry(file, section, index, kSecondPlayerKeys, table[i].Player2);
  }
}

void WritePairTable(IniFile& file, std::string_view section, const PairRankTable& table,
                    const PairRankTable& before) {
  for (size_t i = 0; i < table.size() && i < before.size(); ++i) {
    const int index = static_cast<int>(i);
    WriteSharedFields(file, section, index, table[i].Player1, before[i].Player1);
    WriteOwnFields(file, section, index, kFirstPlayerKeys, table[i].Player1, before[i].Player1);
    WriteOwnFields(file, section, index, kSecondPlayerKeys, table[i].Player2, before[i].Player2);
  }
}

std::string SpecialSection(int mode) { return Key("SPMODE", mode); }

// Scans up from the bottom past every entry scoring below the new one.
template <typename Table, typename ScoreOf>
int PlaceFor(const Table& table, int32_t score, ScoreOf scoreOf) {
  int position = static_cast<int>(table.size());
  while (position > 0 && scoreOf(table[static_cast<size_t>(position - 1)]) < score) --position;
  return position;
}

template <typename Table, typename Entry>
void ShiftIn(Table& table, int position, Entry entry) {
  table.pop_back();
  table.insert(table.begin() + position, std::move(entry));
}

}  // namespace

int InsertRank(RankTable& table, const RankEntry& entry) {
  const int position = PlaceFor(table, entry.Score, [](const RankEntry& e) { return e.Score; });
  if (position >= static_cast<int>(table.size())) return static_cast<int>(table.size());
  RankEntry placed = entry;
  placed.Name = std::string(kNewRankName);
  ShiftIn(table, position, std::move(placed));
  return position;
}

int InsertRank(PairRankTable& table, const RankPair& entry) {
  const int position =
      PlaceFor(table, entry.Player1.Score, [](const RankPair& e) { return e.Player1.Score; });
  if (position >= static_cast<int>(table.size())) return static_cast<int>(table.size());
  RankPair placed = entry;
  placed.Player1.Name = std::string(kNewRankName);
  placed.Player2.Name = std::string(kNewRankName);
  ShiftIn(table, position, std::move(placed));
  return position;
}

int DifficultyGroup(int16_t difficulty) {
  if (difficulty <= 1) return 0;
  if (difficulty == 2) return 1;
  return 2;
}

HighScores::HighScores()
    : TourMode(DefaultTable(kTourTableSize)),
      TourModeDouble(DefaultPairTable(kTourTableSize)),
      TourModeSession(DefaultPairTable(kTourTableSize)),
      TourModeBeginner(DefaultTable(kBeginnerTableSize)),
      TourModeTuto(DefaultTable(kTourTableSize)) {
  SpecialRanks.fill(DefaultTable(kSpecialTableSize));
  songSnapshot_ = CurrentSongTables();
  tourSnapshot_ = CurrentTourTables();
  specialSnapshot_ = CurrentSpecialTables();
}

size_t HighScores::SongSlot(int part, int song) const {
  return static_cast<size_t>(part) + static_cast<size_t>(kRecordParts) * static_cast<size_t>(song);
}

int16_t HighScores::HPR(int part, int song) const {
  if (part < 0 || part >= kRecordParts || song < 0 || song >= songCount_) return 0;
  return hpr_[SongSlot(part, song)];
}

int32_t HighScores::HPS(int part, int song) const {
  if (part < 0 || part >= kRecordParts || song < 0 || song >= songCount_) return 0;
  return hps_[SongSlot(part, song)];
}

ScoreRecord HighScores::SongRecords(int difficulty, int part, int song) const {
  if (difficulty < 0 || difficulty >= kRecordDifficulties || part < 0 || part >= kRecordParts ||
      song < 0 || song >= songCount_) {
    return {};
  }
  return songRecords_[static_cast<size_t>(difficulty) + kRecordDifficulties * SongSlot(part, song)];
}

bool HighScores::GameFlagSet(int flag) const {
  return flag >= 0 && flag < kGameFlagCount && GameFlags[static_cast<size_t>(flag)] == kGameFlagSet;
}

void HighScores::RecordStageResult(const StageRecord& stage) {
  if (stage.Part < 0 || stage.Part >= kRecordParts || stage.SongIndex < 0 ||
      stage.SongIndex >= songCount_) {
    return;
  }
  const size_t slot = SongSlot(stage.Part, stage.SongIndex);
  const auto rate = static_cast<int16_t>(
      std::clamp<int32_t>(stage.Rate, 0, std::numeric_limits<int16_t>::max()));
  if (stage.Passed && hps_[slot] < std::numeric_limits<int32_t>::max()) ++hps_[slot];
  hpr_[slot] = std::max(hpr_[slot], rate);
  ScoreRecord& best =
      songRecords_[static_cast<size_t>(DifficultyGroup(stage.Difficulty)) + kRecordDifficulties * slot];
  best.Score = std::max(best.Score, stage.Points);
  best.Rate = std::max(best.Rate, rate);
}

HighScores::SongTables HighScores::CurrentSongTables() const {
  return {hpr_, hps_, songRecords_, GameFlags};
}

HighScores::TourTables HighScores::CurrentTourTables() const {
  return {TourMode, TourModeBeginner, TourModeTuto, TourModeDouble, TourModeSession};
}

HighScores::SpecialTables HighScores::CurrentSpecialTables() const {
  return {SpecialPlays, SpecialRanks};
}

void HighScores::LoadHighScores(const SongList& list, std::string_view programFolder) {
  songCount_ = std::max(0, static_cast<int>(list.SongCount));
  songKeys_ = list.SongKeys;
  songKeys_.resize(static_cast<size_t>(songCount_));
  const size_t slots = static_cast<size_t>(kRecordParts) * static_cast<size_t>(songCount_);
  hpr_.assign(slots, 0);
  hps_.assign(slots, 0);
  songRecords_.assign(slots * kRecordDifficulties, ScoreRecord{});
  GameFlags.fill(0);

  const IniFile file(JoinLogical(programFolder, kHighScoreFile));
  if (ProfileNumber<int32_t>(file.Get(kVersionSection, kVersionKey, "0")) != 0) {
    for (int s = 0; s < songCount_; ++s) {
      // Sections are named in the code page the file has always been written in.
      const std::string section = Utf8ToCp932(songKeys_[static_cast<size_t>(s)]);
      for (int p = 0; p < kRecordParts; ++p) {
        const size_t slot = SongSlot(p, s);
        hpr_[slot] = ReadRecord<int16_t>(file, section, Key("HPR", p + 1));
        hps_[slot] = ReadRecord<int32_t>(file, section, Key("HPS", p + 1));
        for (int d = 0; d < kUsedDifficultyGroups; ++d) {
          ScoreRecord& record = songRecords_[static_cast<size_t>(d) + kRecordDifficulties * slot];
          record.Score = ReadRecord<int32_t>(file, section, Key("SCORE", d + 1, p + 1));
          record.Rate = ReadRecord<int16_t>(file, section, Key("PR", d + 1, p + 1));
          record.Pass = ReadRecord<int32_t>(file, section, Key("PASS", d + 1, p + 1));
        }
      }
    }
    for (int j = 0; j < kGameFlagCount; ++j) {
      GameFlags[static_cast<size_t>(j)] =
          ProfileNumber<int32_t>(file.Get(kGameFlagSection, Key("FLAG", j + 1), "0"));
    }
  }
  songSnapshot_ = CurrentSongTables();
  LoadTourRankings(programFolder);
  LoadSpecialRankings(programFolder);
}

void HighScores::LoadTourRankings(std::string_view programFolder) {
  const IniFile file(JoinLogical(programFolder, kHighScoreFile));
  TourMode = DefaultTable(kTourTableSize);
  TourModeDouble = DefaultPairTable(kTourTableSize);
  TourModeSession = DefaultPairTable(kTourTableSize);
  TourModeBeginner = DefaultTable(kBeginnerTableSize);
  TourModeTuto = DefaultTable(kTourTableSize);
  ReadTable(file, "TOURMODE", TourMode, true);
  ReadPairTable(file, "TOURMODEDOUBLE", TourModeDouble);
  ReadPairTable(file, "TOURMODESESSION", TourModeSession);
  ReadTable(file, "TOURMODEBEGINNER", TourModeBeginner, true);
  ReadTable(file, "TOURMODETUTO", TourModeTuto, true);
  tourSnapshot_ = CurrentTourTables();
}

void HighScores::LoadSpecialRankings(std::string_view programFolder) {
  const IniFile file(JoinLogical(programFolder, kSpecialScoreFile));
  for (int m = 0; m < kSpecialModeCount; ++m) {
    const std::string section = SpecialSection(m);
    const auto mode = static_cast<size_t>(m);
    SpecialPlays[mode] = ReadRecord<int32_t>(file, section, "PS");
    SpecialRanks[mode] = DefaultTable(kSpecialTableSize);
    ReadTable(file, section, SpecialRanks[mode], false);
  }
  specialSnapshot_ = CurrentSpecialTables();
}

bool HighScores::SaveHighScores(std::string_view programFolder) {
  IniFile file(JoinLogical(programFolder, kHighScoreFile));
  file.Set(kVersionSection, kVersionKey, kVersionWritten);
  const SongTables& before = songSnapshot_;
  for (int s = 0; s < songCount_; ++s) {
    const std::string section = Utf8ToCp932(songKeys_[static_cast<size_t>(s)]);
    for (int p = 0; p < kRecordParts; ++p) {
      const size_t slot = SongSlot(p, s);
      if (hpr_[slot] != before.Hpr[slot]) WriteNumber(file, section, Key("HPR", p + 1), hpr_[slot]);
      if (hps_[slot] != before.Hps[slot]) WriteNumber(file, section, Key("HPs", p + 1), hps_[slot]);
      for (int d = 0; d < kUsedDifficultyGroups; ++d) {
        const size_t at = static_cast<size_t>(d) + kRecordDifficulties * slot;
        const ScoreRecord& record = songRecords_[at];
        if (record.Score != before.Records[at].Score) {
          WriteNumber(file, section, Key("SCORE", d + 1, p + 1), record.Score);
        }
        if (record.Rate != before.Records[at].Rate) {
          WriteNumber(file, section, Key("PR", d + 1, p + 1), record.Rate);
        }
      }
    }
  }
  for (int j = 0; j < kGameFlagCount; ++j) {
    const auto flag = static_cast<size_t>(j);
    if (GameFlags[flag] != before.Flags[flag]) {
      WriteNumber(file, kGameFlagSection, Key("FLAG", j + 1), GameFlags[flag]);
    }
  }
  if (!file.Save()) return false;
  songSnapshot_ = CurrentSongTables();
  return true;
}

bool HighScores::SaveTourRankings(std::string_view programFolder) {
  IniFile file(JoinLogical(programFolder, kHighScoreFile));
  const TourTables& before = tourSnapshot_;
  WriteTable(file, "TOURMODE", TourMode, before.Single);
  WritePairTable(file, "TOURMODEDOUBLE", TourModeDouble, before.Double);
  WritePairTable(file, "TOURMODESESSION", TourModeSession, before.Session);
  WriteTable(file, "TOURMODEBEGINNER", TourModeBeginner, before.Beginner);
  WriteTable(file, "TOURMODETUTO", TourModeTuto, before.Tuto);
  if (!file.Save()) return false;
  tourSnapshot_ = CurrentTourTables();
  return true;
}

bool HighScores::SaveSpecialRankings(std::string_view programFolder) {
  IniFile file(JoinLogical(programFolder, kSpecialScoreFile));
  const SpecialTables& before = specialSnapshot_;
  for (int m = 0; m < kSpecialModeCount; ++m) {
    const std::string section = SpecialSection(m);
    const auto mode = static_cast<size_t>(m);
    if (SpecialPlays[mode] != before.Plays[mode]) {
      WriteNumber(file, section, "PS", SpecialPlays[mode]);
    }
    WriteTable(file, section, SpecialRanks[mode], before.Ranks[mode]);
  }
  if (!file.Save()) return false;
  specialSnapshot_ = CurrentSpecialTables();
  return true;
}

}  // namespace tessaru
