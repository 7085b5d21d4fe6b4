#pragma once
// The start-up search for unconverted MP3 files and the decode run behind its dialog.
#include <cstdint>
#include <string>

#include "launcher/forms.h"
#include "launcher/launcher_ui.h"
#include "launcher/mp3_decoder.h"

namespace tessaru {

struct UserSettings;

// How long WaitWrite waits for one file, and how often it asks.
inline constexpr uint32_t kDecodeTimeoutMs = 300000;
inline constexpr uint32_t kDecodePollMs = 100;

// Searches the data folder and, when something needs converting, lets the player convert
// or cancel. An empty search sets AUTODEC to 1 in memory, so later starts skip it once
// the settings are saved. False when the player ended the program meanwhile.
bool RunConversionDialog(LauncherUi& ui, LauncherForms& forms, Mp3Decoder& decoder,
                         const std::string& dataFolder, UserSettings& settings);

// Decodes every MP3 of the "|"-joined list beside itself, showing progress. A file that
// fails is reported in the window and skipped; false only when the decoder cannot start
// or the run itself breaks down.
bool DecodeMp3List(LauncherUi& ui, LauncherForms& forms, Mp3Decoder& decoder, std::string list);

// Waits until the decoder is idle, polling every 100 ms, at most 300 s (or until the
// player ends the program). True when it became idle.
bool WaitWrite(LauncherUi& ui, LauncherForms& forms, Mp3Decoder& decoder);

}  // namespace tessaru
