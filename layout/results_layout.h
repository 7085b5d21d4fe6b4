#pragma once
// Where the results and records screens put things, and what they cut from "ranking.bmp"
// (shared with the generator that draws it). All at 640x480.
#include "core/blt_area.h"

namespace tessaru::results_layout {

// "ranking.bmp": the title band across the top, then the screens' own pieces below it.
inline constexpr BltArea kTitle{0, 0, 640, 96};
// The name-entry cursor around one 48x48 letter cell, one colour per side.
inline constexpr BltArea kCursor[2] = {{0, 100, 52, 52}, {56, 100, 52, 52}};
// Under each letter of the name: the plain bar and the lit one of the letter to come.
inline constexpr BltArea kSlotBar{120, 100, 48, 6};
inline constexpr BltArea kSlotBarLit{120, 110, 48, 6};
// The delete and end cells of the alphabet, drawn as key caps.
inline constexpr BltArea kDeleteKey{176, 100, 48, 48};
inline constexpr BltArea kEndKey{232, 100, 48, 48};
// A dark ground blended under rows of a table (cut to the row's size) and the thin
// accent line that separates blocks.
inline constexpr BltArea kRowGround{0, 160, 640, 120};
inline constexpr BltArea kAccentLine{0, 290, 640, 3};
inline constexpr double kRowGroundOpacity = 0.6;

// The scrolling background moves one screen width in this time.
inline constexpr unsigned kBackgroundPeriodMs = 8000;

// Name entry.
inline constexpr int kEntryCaptionY = 104;
inline constexpr int kEntryPlaceX = 96;
inline constexpr int kEntryNameX = 328;
inline constexpr int kEntryNameY = 148;
inline constexpr int kAlphabetX = 8;
inline constexpr int kAlphabetY = 232;
inline constexpr int kAlphabetPitchY = 56;
inline constexpr int kLetterCell = 48;

// The ending: the picture, and the band under it the text rises through.
inline constexpr int kEndingPictureX = 80;
inline constexpr int kEndingPictureY = 16;
inline constexpr BltArea kEndingPicture{0, 0, 480, 360};
inline constexpr int kEndingTextTop = 384;
inline constexpr int kEndingTextBottom = 472;
inline constexpr int kEndingLinePitch = 28;

// Ranking tables: the heading under the title, then one row per place.
inline constexpr int kHeadingY = 100;
inline constexpr int kTableY = 156;
inline constexpr int kTableRowPitch = 30;
inline constexpr int kPlaceX = 16;
inline constexpr int kNameX = 96;
inline constexpr int kScoreRight = 288;
inline constexpr int kStageX = 304;
inline constexpr int kStagePitch = 82;
inline constexpr int kStageJacket = 24;

// Song records: the jacket on the left, the parts' bests on the right.
inline constexpr int kSongJacketX = 24;
inline constexpr int kSongJacketY = 148;
inline constexpr int kSongTableX = 208;
inline constexpr int kSongTableY = 148;
inline constexpr int kSongRowPitch = 34;

// Player rank: the rank picture, the totals, and a row of jackets.
inline constexpr int kRankPictureX = 48;
inline constexpr int kRankPictureY = 112;
inline constexpr BltArea kRankPicture{0, 0, 200, 120};
inline constexpr int kRankJacketY = 304;
inline constexpr int kRankJacketSize = 96;
inline constexpr int kRankJacketGap = 32;
inline constexpr int kRankJacketsPerPage = 4;

}  // namespace tessaru::results_layout
