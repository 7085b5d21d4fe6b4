#pragma once
// Where the menu screens put their text and pictures, at 640x480. The pictures they cut
// from are in menu_layout.h.
#include "layout/menu_layout.h"

namespace tessaru::menu_layout {

struct TextAt {
  int X;
  int Y;
};

// Text of n system-font characters centred on the screen's middle column.
constexpr int CentredX(int characters) { return 320 - characters * 8; }

// FREE MODE SETTING: a title column and one column per player, rows downwards; the
// STYLE row keeps a gap below it before START.
namespace free_setting {
inline constexpr TextAt kHeading{32, 16};
inline constexpr TextAt kHelp{32, 56};
inline constexpr TextAt kExitHelp{32, 80};
inline constexpr int kTitleX = 32;
inline constexpr int kSideX[2] = {256, 448};
inline constexpr int kHeadY = 120;
inline constexpr int kFirstRowY = 160;
inline constexpr int kRowHeight = 32;
inline constexpr int kStyleGap = 16;
inline constexpr int kLabelIndent = 16;  // a label stands right of its cursor
}  // namespace free_setting

// The song select: the chosen jacket large, the neighbours as a strip of thumbnails.
namespace song_select {
inline constexpr TextAt kHeading{104, 12};
inline constexpr int kThumb = 64;
inline constexpr int kThumbGap = 80;
inline constexpr int kThumbY = 336;
inline constexpr TextAt kBig{240, 84};
inline constexpr TextAt kPointer{312, kThumbY + kThumb + 4};
inline constexpr int kNameY = kBig.Y + kJacketSize + 12;
inline constexpr TextAt kComposerLabel{16, 176};
inline constexpr TextAt kComposer{16, 204};
inline constexpr TextAt kLevelLabel{514, 176};
inline constexpr TextAt kLevel{514, 204};
inline constexpr TextAt kGenreLabel{40, 278};
inline constexpr TextAt kGenre{40, 304};
inline constexpr TextAt kBpmLabel{514, 278};
inline constexpr TextAt kBpm{514, 304};
inline constexpr int kFooterY = 432;
inline constexpr TextAt kLoading{232, 224};
}  // namespace song_select

// The part select: each player's panel holds a heading, the name strips, then the list
// or, once settled, the portrait.
namespace part_select {
inline constexpr int kHeadY = 72;
inline constexpr int kHeadX = 16;     // from the panel's left edge
inline constexpr int kOkX = 236;
inline constexpr int kListX = 32;
inline constexpr int kListY = 136;
inline constexpr int kListRow = 26;
inline constexpr int kCursorX = 12;
inline constexpr int kLevelX = 232;
inline constexpr int kDetailY = 404;
inline constexpr int kStarsX = 136;
inline constexpr BltArea kNameTag{6, 100, 288, 29};     // x from the panel's edge
inline constexpr BltArea kInstrument{6, 132, 288, 29};  // x from the panel's edge
inline constexpr BltArea kPortraitBox{(kPanelWidth - 176) / 2, 166, 176, 264};
inline constexpr BltArea kJacket{584, 4, 48, 48};
inline constexpr TextAt kHelp{152, 440};
inline constexpr TextAt kHelpWithReplays{56, 440};  // the longer line that names TAB
}  // namespace part_select

// The match-up: portraits slide in from the sides, then the name strips.
namespace match_up {
inline constexpr int kTagYVersus = 344;
inline constexpr int kTagYPartners = 264;
inline constexpr int kPartnersTagX = 160;
inline constexpr int kPortraitTravel = 320;
inline constexpr int kStripTravel = 128;
inline constexpr int kMarkY = 224;
}  // namespace match_up

// The free-mode results: the song, both players' numbers, then the choices.
namespace free_results {
inline constexpr TextAt kHeading{32, 12};
inline constexpr int kTitleY = 80;
inline constexpr int kSideX[2] = {64, 384};
inline constexpr int kWhoY = 128;
inline constexpr int kScoreY = 160;
inline constexpr int kPointsY = 200;
inline constexpr int kMenuX = 144;
inline constexpr int kMenuY = 272;
inline constexpr int kMenuRow = 32;
inline constexpr int kLabelIndent = 32;
}  // namespace free_results

}  // namespace tessaru::menu_layout
