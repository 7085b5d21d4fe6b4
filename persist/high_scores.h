#pragma once
// The records that survive between runs: "hsc.ini" (per-song bests, game flags and the
// tour rankings) and "hscsp.ini" (play counts and rankings of the special modes), both in
// the program folder. A save writes only the keys whose values changed since the last
// load or save, so records written by another copy of the game in between are not undone.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "content/song_list.h"

namespace tessaru {

inline constexpr std::string_view kHighScoreFile = "hsc.ini";
inline constexpr std::string_view kSpecialScoreFile = "hscsp.ini";

inline constexpr int kRecordParts = 8;         // parts 0..7 keep records
inline constexpr int kRecordDifficulties = 4;  // groups 0..2 are used
inline constexpr int kUsedDifficultyGroups = 3;
inline constexpr int kGameFlagCount = 21;
inline constexpr int32_t kGameFlagSet = 6917;  // any other value means "not set"
inline constexpr int kSpecialModeCount = 31;
inline constexpr int kRankStages = 4;
inline constexpr int kTourTableSize = 10;
inline constexpr int kBeginnerTableSize = 3;
inline constexpr int kSpecialTableSize = 3;
// A new ranking entry carries this name until the name-entry screen replaces it.
inline constexpr std::string_view kNewRankName = "QX9";

struct ScoreRecord {
  int32_t Score = 0;
  int16_t Rate = 0;
  int32_t Pass = 0;  // read, never written
  bool operator==(const ScoreRecord&) const = default;
};

// One line of a ranking table.
struct RankEntry {
  std::string Name;
  int32_t Score = 0;
  std::array<int16_t, kRankStages> Songs{};
  std::array<int16_t, kRankStages> Chars{};
  std::array<int16_t, kRankStages> Rates{};
  int32_t Pass = 0;
  bool operator==(const RankEntry&) const = default;
};

// One place of the DOUBLE and SESSION tables: the two players' entries move together.
// They share the name, total, songs and pass count (one key each in the file); only the
// characters and rates are the players' own.
struct RankPair {
  RankEntry Player1;
  RankEntry Player2;
  bool operator==(const RankPair&) const = default;
};

using RankTable = std::vector<RankEntry>;
using PairRankTable = std::vector<RankPair>;

// Places a new entry: below every stored entry whose score is greater or equal (ties keep
// the older entry above), shifting the rest down and dropping the last. The new entry is
// named kNewRankName. Returns its 0-based position, or the table size when it does not
// place (the table is then unchanged).
int InsertRank(RankTable& table, const RankEntry& entry);
int InsertRank(PairRankTable& table, const RankPair& entry);

// What one finished stage means to the records, for one human player.
struct StageRecord {
  int SongIndex = 0;       // position in the song list
  int Part = 0;            // the part played; only parts 0..7 keep records
  int32_t Points = 0;      // StagePoints
  int32_t Rate = 0;        // StageScore, the percentage of just hits
  bool Passed = false;     // the stage was not lost
  int16_t Difficulty = 0;  // the DIFFICULTY setting it was played at
};

// DIFFICULTY 0 and 1 (BEGINNER, EASY) are group 0, 2 (NORMAL) group 1, 3 and 4 (HARD,
// GODLIKE) group 2.
int DifficultyGroup(int16_t difficulty);

class HighScores {
 public:
  HighScores();

  // Sizes the per-song tables to the list and reads them (only from a file whose
  // [VERSION] VER is not 0) with the game flags, takes the snapshots, then loads both
  // ranking files. A missing or unreadable file leaves everything at the defaults.
  void LoadHighScores(const SongList& list, std::string_view programFolder);
  void LoadTourRankings(std::string_view programFolder);
  void LoadSpecialRankings(std::string_view programFolder);

  // Write the changed keys with one replacement of the file, then refresh the snapshots.
  // False when the file could not be written: the snapshots are then kept, so the next
  // save writes the same changes again.
  bool SaveHighScores(std::string_view programFolder);
  bool SaveTourRankings(std::string_view programFolder);
  bool SaveSpecialRankings(std::string_view programFolder);

  // The one rule by which a stage changes the per-song records: HPS(p, s) counts the
  // passed stages of song s played with part p; HPR(p, s) keeps the best percentage; in
  // the stage's difficulty group, SCORE keeps the best points and PR the best percentage
  // (each on its own, so they may come from different plays). Results of parts beyond 7
  // or of songs outside the list change nothing.
  void RecordStageResult(const StageRecord& stage);

  // Per-song reads; 0 (an empty record) for a part or song outside the tables.
  int SongCount() const { return songCount_; }
  int16_t HPR(int part, int song) const;
  int32_t HPS(int part, int song) const;
  ScoreRecord SongRecords(int difficulty, int part, int song) const;

  bool GameFlagSet(int flag) const;

  std::array<int32_t, kGameFlagCount> GameFlags{};
  RankTable TourMode;
  PairRankTable TourModeDouble;
  PairRankTable TourModeSession;
  RankTable TourModeBeginner;
  RankTable TourModeTuto;
  std::array<int32_t, kSpecialModeCount> SpecialPlays{};
  std::array<RankTable, kSpecialModeCount> SpecialRanks;

 private:
  struct SongTables {
    std::vector<int16_t> Hpr;
    std::vector<int32_t> Hps;
    std::vector<ScoreRecord> Records;
    std::array<int32_t, kGameFlagCount> Flags{};
  };
  struct TourTables {
    RankTable Single, Beginner, Tuto;
    PairRankTable Double, Session;
  };
  struct SpecialTables {
    std::array<int32_t, kSpecialModeCount> Plays{};
    std::array<RankTable, kSpecialModeCount> Ranks;
  };

  SongTables CurrentSongTables() const;
  TourTables CurrentTourTables() const;
  SpecialTables CurrentSpecialTables() const;
  size_t SongSlot(int part, int song) const;

  int songCount_ = 0;
  std::vector<std::string> songKeys_;  // the sections, as the list named them at load
  std::vector<int16_t> hpr_;           // part + 8 * song
  std::vector<int32_t> hps_;
  std::vector<ScoreRecord> songRecords_;  // difficulty + 4 * (part + 8 * song)
  SongTables songSnapshot_;
  TourTables tourSnapshot_;
  SpecialTables specialSnapshot_;
};

}  // namespace tessaru
