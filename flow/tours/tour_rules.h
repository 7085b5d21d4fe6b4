#pragma once
// The rules of the tours that need no device: which songs each stage offers, when a run
// ends, which game flags a run earns, and the special modes' fixed stages.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "persist/high_scores.h"

namespace tessaru {

inline constexpr int kTourStages = 4;

// One row of a run's stage table, per side.
struct StageRow {
  int16_t Song = 0;  // song index + 1; 0: not played
  int16_t Part = 0;
  int16_t Score = 0;
};

struct RunTable {
  std::array<std::array<StageRow, kTourStages>, 2> Rows{};
  int LastStage = 0;          // the last stage played (1-based), 0 before the first
  bool AnyStageDone = false;  // some stage ran to its end
  std::array<bool, kTourStages> Passed{};  // per stage: played to its end and not lost
  // Per side: the stage struck its chips in some stage, so the run earns that side no
  // flag, play count or place in a table.
  std::array<bool, 2> Autoplayed{};

  const StageRow& At(int side, int stage) const {
    return Rows[static_cast<size_t>(side)][static_cast<size_t>(stage - 1)];
  }
  int16_t Score(int side, int stage) const { return stage >= 1 && stage <= kTourStages ? At(side, stage).Score : 0; }
  int16_t Song(int side, int stage) const { return stage >= 1 && stage <= kTourStages ? At(side, stage).Song : 0; }
};

// Single tour: stage 1 offers 0..2, stage 2 3..5, stage 3 song 6 and song 7 after a
// stage-2 score above 69 on NORMAL or harder, stage 4 song 8.
std::vector<int16_t> SingleTourSongs(int stage, int32_t stage2Score, int16_t difficulty);
// Whether the single tour goes on after `stage` with that stage's score.
bool SingleTourGoesOn(int stage, int32_t score, int16_t difficulty);

// Beginner mode: stages 1..3 offer two songs each, stage 4 song 6 and song 7 after a
// previous-stage score above 60.
std::vector<int16_t> BeginnerSongs(int stage, int32_t previousScore);
int16_t BeginnerComSkill(int stage);

// Pair tour: the best of the two stage-2 scores opens songs 7 (60) and 8 (70, with flag 1).
std::vector<int16_t> PairTourSongs(int stage, int32_t bestStage2Score, int16_t difficulty, bool flag1);
bool PairTourGoesOn(int stage, int32_t score1, int32_t score2);

// Song indices the list does not hold are dropped (a short list offers what it has).
std::vector<int16_t> OnlyListed(std::vector<int16_t> songs, int songCount);

// Flags 0..2 from the passes of songs 6..8 (flag 1 also once stage 4 is done); set after
// every stage.
void UpdateStageFlags(HighScores& records, int stage, bool stageDone);
// Flags earned by the end of a single-tour run (see the note in the implementation).
void UpdateRunEndFlags(HighScores& records, const RunTable& run, int side, int16_t difficulty);

// RANKING modes: (song, part) pairs numbered song * 8 + part, most passes first, ties by
// the smaller number.
std::vector<int32_t> PairsByPasses(const HighScores& records, int songCount);
struct FixedStage {
  int16_t Song = 0;
  int16_t Part = 0;
};
// Stage k (0..2) of RANKING mode n (7..11); none when the list has too few pairs.
std::optional<FixedStage> RankingStage(const std::vector<int32_t>& order, int mode, int k);
// EXTRA: songs 7, 6, 1, 8 with parts 6, 7, 5, 8.
inline constexpr std::array<FixedStage, 4> kExtraStages{{{7, 6}, {6, 7}, {1, 5}, {8, 8}}};
// A character mode's four songs from "char.zxt": 8 rows of four songs numbered from 1.
std::optional<std::array<int16_t, 4>> CharacterSongs(const std::vector<int16_t>& table, int mode);
// ENDLESS partner skill by game level; mode 31's by DIFFICULTY.
int16_t EndlessPartnerSkill(int16_t difficulty);
int16_t Mode31PartnerSkill(int16_t difficulty);
// The other side's part beside a fixed part: the next part of the upper group.
inline int16_t PartnerPart(int16_t part) { return static_cast<int16_t>((part % 8 + 1) % 4 + 4); }

}  // namespace tessaru
