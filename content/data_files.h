#pragma once
// The fixed files of the data folder that the game opens, named as the game names them
// (under the data folder: "\image\x.bmp", "\sound\x.wav", "x.zxt"; the loaders read the
// packed forms; join them to the folder with JoinLogical). Screens take their names from here and validate-data checks exactly this
// catalogue, so the check cannot miss a file the game needs. A screen that opens a new
// file adds it here: a constant and an entry in its kind's list, or a numbered family and
// its range in DataFileCatalogue.
#include <string>
#include <string_view>
#include <vector>

namespace tessaru::data_files {

// Images.
inline constexpr std::string_view kSystemFont = "\\image\\sysfont.bmp";
inline constexpr std::string_view kBigFont = "\\image\\bigfont.bmp";
inline constexpr std::string_view kTitleLogo = "\\image\\tittop1.bmp";
inline constexpr std::string_view kTitlePrompt = "\\image\\tittop2.bmp";
inline constexpr std::string_view kMenuBack = "\\image\\selback.bmp";
inline constexpr std::string_view kMatchUpBack = "\\image\\selback2.bmp";
inline constexpr std::string_view kMenuBanner = "\\image\\seltop0.bmp";
inline constexpr std::string_view kPartSelectBanner = "\\image\\seltop1.bmp";
inline constexpr std::string_view kPartSelectPanels = "\\image\\seltop2.bmp";
inline constexpr std::string_view kNameTags = "\\image\\chartag.bmp";
inline constexpr std::string_view kInstrumentNames = "\\image\\instname.bmp";
inline constexpr std::string_view kChipSheet = "\\image\\chip.bmp";
inline constexpr std::string_view kChipSheetBlue = "\\image\\chip_ao.bmp";
inline constexpr std::string_view kChipSheetTwoColour = "\\image\\chip_2c.bmp";
inline constexpr std::string_view kChipSheetLow = "\\image\\chips.bmp";
inline constexpr std::string_view kStageSheet = "\\image\\chip2.bmp";
inline constexpr std::string_view kStageSheetLow = "\\image\\chip2s.bmp";
inline constexpr std::string_view kPlaySheet = "\\image\\chip2a.bmp";
inline constexpr std::string_view kPlaySheetLow = "\\image\\chip2as.bmp";
inline constexpr std::string_view kRankingTitle = "\\image\\ranking.bmp";
inline constexpr std::string_view kRankingBack = "\\image\\rankbg.bmp";
inline constexpr std::string_view kTryAgainPicture = "\\image\\tryto.bmp";
inline constexpr std::string_view kKeyboardPicture = "\\image\\keyboard.bmp";
inline constexpr std::string_view kBootBack = "\\image\\bootback.bmp";

inline constexpr std::string_view kImages[] = {
    kSystemFont, kBigFont, kTitleLogo, kTitlePrompt, kMenuBack, kMatchUpBack, kMenuBanner,
    kPartSelectBanner, kPartSelectPanels, kNameTags, kInstrumentNames, kChipSheet,
    kChipSheetBlue, kChipSheetTwoColour, kChipSheetLow, kStageSheet, kStageSheetLow, kPlaySheet,
    kPlaySheetLow, kRankingTitle, kRankingBack, kTryAgainPicture, kKeyboardPicture, kBootBack,
};

// Sounds.
inline constexpr std::string_view kCursorSound = "\\sound\\curmove.wav";
inline constexpr std::string_view kDecideSound = "\\sound\\decide.wav";
inline constexpr std::string_view kMenuMusic = "\\sound\\selbg.wav";
inline constexpr std::string_view kTitleMusic = "\\sound\\titlebg.wav";
inline constexpr std::string_view kSongSelectCall = "\\sound\\what.wav";
inline constexpr std::string_view kPartSelectCall = "\\sound\\now.wav";
inline constexpr std::string_view kReadyCall = "\\sound\\ruready.wav";
inline constexpr std::string_view kResultCall = "\\sound\\okay.wav";
inline constexpr std::string_view kCountSound = "\\sound\\pcount.wav";
inline constexpr std::string_view kContinueCall = "\\sound\\continue.wav";
inline constexpr std::string_view kGameOverCall = "\\sound\\gameover.wav";
inline constexpr std::string_view kGoodbyeCall = "\\sound\\goodbye.wav";
inline constexpr std::string_view kRankingMusic = "\\sound\\ranking.wav";
inline constexpr std::string_view kEndingMusic = "\\sound\\ending.wav";
inline constexpr std::string_view kTryAgainCall = "\\sound\\tryto.wav";
inline constexpr std::string_view kMusicTestSound = "\\sound\\bg.wav";
inline constexpr std::string_view kPlayerTestSound = "\\sound\\ml.wav";

inline constexpr std::string_view kSounds[] = {
    kCursorSound, kDecideSound, kMenuMusic, kTitleMusic, kSongSelectCall, kPartSelectCall,
    kReadyCall, kResultCall, kCountSound, kContinueCall, kGameOverCall, kGoodbyeCall,
    kRankingMusic, kEndingMusic, kTryAgainCall, kMusicTestSound, kPlayerTestSound,
};

// Packed tables, at the top of the data folder.
inline constexpr std::string_view kSongListTable = "songfn.zxt";
inline constexpr std::string_view kDanceListTable = "dancefn.zxt";
inline constexpr std::string_view kKeyboardTable = "keyboard.zxt";
inline constexpr std::string_view kRankTable = "rank.zxt";
inline constexpr std::string_view kCharacterTable = "char.zxt";
inline constexpr std::string_view kEndingTable = "ed.zxt";

inline constexpr std::string_view kTables[] = {
    kSongListTable, kDanceListTable, kKeyboardTable, kRankTable, kCharacterTable, kEndingTable,
};

// Numbered families.
inline constexpr int kTitleBackCount = 3;
std::string TitleBack(int number);
// Characters: the ten parts of a song and the three extension parts after them.
inline constexpr int kCharacterCount = 13;
std::string Portrait(int part);
// A character's voices: 1 on the part select, 2 at the ending, 3 to 5 after a stage.
inline constexpr int kPartSelectVoice = 1;
inline constexpr int kEndingVoice = 2;
inline constexpr int kFirstResultVoice = 3;
inline constexpr int kResultVoiceCount = 3;
inline constexpr int kVoicesPerCharacter = kFirstResultVoice + kResultVoiceCount - 1;
std::string Voice(int part, int number);
inline constexpr int kEndingPictureCount = 10;
std::string EndingPicture(int number);
inline constexpr int kRankPictureCount = 29;
std::string RankPicture(int rank);

enum class Kind { Image, Sound, Table };
struct Entry {
  Kind kind;
  std::string path;  // relative to the data folder, as above
};
// Every fixed file and every member of every family, each once.
std::vector<Entry> DataFileCatalogue();

}  // namespace tessaru::data_files
