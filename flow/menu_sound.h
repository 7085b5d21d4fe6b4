#pragma once
// The sound services the driver owns: the output format with its fallback, the menu
// sounds, and the keeper that repeats the menu music.
#include <cstdint>

#include "flow/game.h"

namespace tessaru {

// SNDPLAYQUALITY: -2 44100 Hz 16-bit, -1 22050 Hz 16-bit, 0 22050 Hz 8-bit, 1 (and above)
// the safe default format.
inline constexpr int16_t kQualitySafe = 1;
// The menu music repeats from this far into the track, not from its start.
inline constexpr int32_t kMenuBgmRepeatMs = 996;

// Sets the output format from SNDPLAYQUALITY, stepping down to the next value whenever
// the device refuses; the setting keeps the value that worked. False (with a line in the
// log) when even the safe format is refused or no device is open.
bool SetupSoundOutput(Game& game);

// Cursor and decide sounds (each can overlap itself) and the menu music; all -1 while
// SOUNDING turns menu sound off.
void LoadMenuSounds(Game& game);

// Called by the screens every 100 ms: restarts the menu music at kMenuBgmRepeatMs once
// it has stopped.
void KeepMenuBgm(Game& game);

// Plays the menu music from its start when it is not playing.
void StartMenuBgm(Game& game);
// After SOUNDING changed from `previousSounding`: the menu sounds are loaded or let go
// to match, so turning them on or off needs no restart.
void ReloadMenuSoundsIfChanged(Game& game, int16_t previousSounding);
void StopMenuBgm(Game& game);

inline constexpr int kCursorSound = 0;
inline constexpr int kDecideSound = 1;
void PlayMenuSound(Game& game, int which);

// Loads a screen's own sound (plain or packed); -1 and a log line when it cannot.
SoundSlot LoadScreenSound(Game& game, std::string_view relative);

}  // namespace tessaru
