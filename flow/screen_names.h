#pragma once
// The name each screen is known by outside the game: scripted runs list the screens they
// visit by these names and may time their keys from a screen's opening.
#include <array>
#include <string_view>

namespace tessaru::screen_name {

inline constexpr std::string_view kTitle = "title";
inline constexpr std::string_view kFreeModeSetting = "free-mode-setting";
inline constexpr std::string_view kSongSelect = "song-select";
inline constexpr std::string_view kPartSelect = "part-select";
inline constexpr std::string_view kMatchUp = "match-up";
// A stage, from loading to the end of its result display; its moment is when the song's
// clock reads 0.
inline constexpr std::string_view kStage = "stage";
inline constexpr std::string_view kResults = "results";
inline constexpr std::string_view kModeSelect = "mode-select";
inline constexpr std::string_view kNameEntry = "name-entry";
inline constexpr std::string_view kEnding = "ending";
inline constexpr std::string_view kRecords = "records";
inline constexpr std::string_view kConfig = "config";
inline constexpr std::string_view kDisplaySetting = "display-setting";
inline constexpr std::string_view kSoundSetting = "sound-setting";
inline constexpr std::string_view kKeyConfig = "key-config";
inline constexpr std::string_view kTraining = "training";
inline constexpr std::string_view kTrainingRun = "training-run";

inline constexpr std::array kAll = {kTitle,      kFreeModeSetting, kSongSelect,     kPartSelect,   kMatchUp,
                                    kStage,      kResults,         kModeSelect,     kNameEntry,    kEnding,
                                    kRecords,    kConfig,          kDisplaySetting, kSoundSetting, kKeyConfig,
                                    kTraining,   kTrainingRun};

}  // namespace tessaru::screen_name
