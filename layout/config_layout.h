#pragma once
// Where the configuration screens put their rows and what KEY CONFIG cuts from
// "keyboard.bmp"; the generator draws the key markers at the places named here.
#include "core/blt_area.h"

namespace tessaru::config_layout {

// Every configuration screen: the title, two help lines, then the rows.
inline constexpr int kTitleX = 32;
inline constexpr int kTitleY = 16;
inline constexpr int kHelpY[2] = {56, 80};
inline constexpr int kCursorX = 40;
inline constexpr int kLabelX = 64;
inline constexpr int kFirstRowY = 128;

// CONFIG: eleven rows; the volumes put their own name in a second column and draw a bar.
inline constexpr int kConfigRowHeight = 30;
inline constexpr int kConfigSubLabelX = 176;
inline constexpr int kConfigValueX = 320;
inline constexpr int kVolumeBarX = 320;
inline constexpr int kVolumeBarWidth = 200;  // two pixels per volume step
inline constexpr int kVolumeBarHeight = 14;
inline constexpr int kVolumeBarTop = 5;      // below the row's top edge
inline constexpr int kVolumeNumberX = 536;

// DISPLAY SETTING and SOUND SETTING.
inline constexpr int kSettingRowHeight = 34;
inline constexpr int kSettingValueX = 320;  // after a 15-letter label, before a 20-letter value
// The VRAM line and the output line stand between the values and RESET SETTING.
inline constexpr int kSettingNoteX = 64;

// KEY CONFIG. The picture's key area is drawn from its top-left corner; below it, the
// function table on the left and the three items on the right.
inline constexpr BltArea kKeyboardPicture{0, 0, 640, 256};
inline constexpr int kKeyCapSize = 31;
// Frames laid over a key cap: 1P's keys, 2P's keys, the key waiting for ENTER.
inline constexpr BltArea kKeyMarker[3] = {{0, 288, 31, 31}, {32, 288, 31, 31}, {64, 288, 31, 31}};
inline constexpr int kKeyboardImageHeight = 320;
inline constexpr int kKeyTitleY = 4;
inline constexpr int kKeyTableHeadY = 258;
// The small colour square after each header says which frames are whose.
inline constexpr int kKeyLegendOffsetX = 40;
inline constexpr int kKeyLegendSize = 12;
inline constexpr int kKeyTableFirstRowY = 282;
inline constexpr int kKeyTableRowHeight = 24;
inline constexpr int kKeyFunctionX = 16;
inline constexpr int kKeyPlayerX[2] = {144, 272};  // a cursor column before each
inline constexpr int kKeyItemCursorX = 400;
inline constexpr int kKeyItemX = 416;
inline constexpr int kKeyItemY = 282;
inline constexpr int kKeyItemHeight = 32;
inline constexpr int kKeyPromptY = 404;
inline constexpr int kKeyHelpY[2] = {428, 452};

}  // namespace tessaru::config_layout
