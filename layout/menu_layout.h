#pragma once
// What the menu screens cut from their pictures, shared with the generator that draws
// them: banners, title layers, side panels, name strips, portraits and jackets. All at
// 640x480; the menus are never drawn at the low resolution.
#include "core/blt_area.h"

namespace tessaru::menu_layout {

// "seltop0.bmp", "seltop1.bmp": the banner across the top of a menu screen.
inline constexpr BltArea kBanner{0, 0, 640, 64};
// "seltop2.bmp": the two side panels of part select, one per player.
inline constexpr BltArea kSidePanels{0, 64, 640, 368};
inline constexpr int kPanelX[2] = {8, 332};
inline constexpr int kPanelWidth = 300;
// "tittop1.bmp": the logo layer; "tittop2.bmp": the prompt that blinks and the credit
// line under it that stays.
inline constexpr BltArea kTitleLogo{0, 0, 640, 260};
inline constexpr BltArea kTitlePrompt{0, 380, 640, 60};
inline constexpr BltArea kTitleCredit{0, 440, 640, 40};
// "chartag.bmp", "instname.bmp": one 320x32 strip per part, top to bottom.
inline constexpr int kStripWidth = 320;
inline constexpr int kStripHeight = 32;
inline constexpr int kStripCount = 15;
constexpr BltArea NameStrip(int part) { return {0, part * kStripHeight, kStripWidth, kStripHeight}; }
// "vschar" + part + ".bmp": a whole-height portrait.
inline constexpr BltArea kPortrait{0, 0, 320, 480};
// A song's jacket picture.
inline constexpr int kJacketSize = 160;

// The part select's "SELECT REPLAY DATA" dialog: a box over the side panels with two
// columns of entries (system font, 16-pixel cells, rows 24 high).
namespace replay_dialog {
inline constexpr BltArea kBox{24, 72, 592, 360};
inline constexpr int kTitleX = 176;
inline constexpr int kTitleY = 80;
inline constexpr int kColumnX[2] = {40, 328};
inline constexpr int kColumnW = 272;
inline constexpr int kTextInset = 8;
inline constexpr int kHeadY = 112;
inline constexpr int kListY = 148;
inline constexpr int kRow = 24;
inline constexpr int kNameChars = 14;  // 16 + 14 x 16 pixels fit a column
inline constexpr int kEmptyX = 208;
inline constexpr int kMoreX = 312;
inline constexpr int kHintX = 112;
inline constexpr int kHintY = 400;
}  // namespace replay_dialog

}  // namespace tessaru::menu_layout
