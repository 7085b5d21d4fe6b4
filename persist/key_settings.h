#pragma once
// The key map on disk ("keyset.ini" in the program folder) and the table of the keyboard
// picture ("keyboard.zxt" in the data folder) that the key-configuration screen draws.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "content/data_files.h"
#include "core/error_log.h"
#include "input/input_codes.h"

namespace tessaru {

inline constexpr std::string_view kKeySettingsFile = "keyset.ini";
inline constexpr std::string_view kKeySettingsSection = "KEYSETTING";
inline constexpr std::string_view kKeyboardLayoutFile = data_files::kKeyboardTable;

// Z X C V and Enter for player 1; M , . / and Delete for player 2; nothing else.
void DefaultKeySettings(KeyMapTable& keyMap);

// Reads "keyset.ini" from the program folder. Without a readable file, or with one that
// holds none of the key lines (an emptied or foreign file), the map gets the defaults
// and the result is false; a file that exists but cannot be read (a folder, no permission)
// is noted in the log as well. An absent key leaves its input unassigned; a value that is no
// function code (a hand edit) leaves it unassigned too and is noted in the log. Enter and
// Delete always keep their functions, so the menus stay usable.
bool LoadKeySettings(KeyMapTable& keyMap, std::string_view programFolder,
                     ErrorLog* log = nullptr);

// Writes every one of the KeyCount entries, in order, into a file made anew (replaced
// atomically). False when the file could not be written.
bool SaveKeySettings(const KeyMapTable& keyMap, std::string_view programFolder);

// "KEYCODE" and the input code as three digits.
std::string KeySettingName(int input);

// Two numbers per key code 0..256, read in order from the packed text; the key
// configuration screen places the keys of its keyboard picture with them.
struct KeyboardLayoutEntry {
  int16_t X = 0;
  int16_t Y = 0;
};
inline constexpr int kKeyboardLayoutEntries = 257;
using KeyboardLayout = std::array<KeyboardLayoutEntry, kKeyboardLayoutEntries>;

// Reads "keyboard.zxt" from the data folder; nothing (and a load failure in the log) when
// it is missing, malformed or too short. The screen then works without the table.
std::optional<KeyboardLayout> LoadKeyboardLayout(std::string_view dataPath,
                                                 ErrorLog* log = nullptr);

}  // namespace tessaru
