#pragma once
// The one palette of the game's art: dusk indigo and violet grounds, coral and amber for
// what matters, mint for secondary highlights, white text with a dark outline.
#include "gen/canvas.h"

namespace tessaru::gen::palette {

inline constexpr Rgb kNight{16, 14, 48};
inline constexpr Rgb kIndigo{34, 28, 88};
inline constexpr Rgb kViolet{86, 50, 140};
inline constexpr Rgb kDusk{168, 78, 132};
inline constexpr Rgb kHorizon{250, 140, 110};
inline constexpr Rgb kCoral{255, 112, 96};
inline constexpr Rgb kAmber{255, 190, 72};
inline constexpr Rgb kMint{96, 232, 184};
inline constexpr Rgb kSky{96, 176, 255};
inline constexpr Rgb kWhite{250, 248, 255};
inline constexpr Rgb kPaleText{214, 206, 255};
inline constexpr Rgb kSilhouette{22, 18, 56};

// Lane colours 1..4 (index 0 unused), the same on every sheet.
inline constexpr Rgb kLanes[5] = {{}, kCoral, kAmber, kMint, kSky};

// Character signature colours by part index 0..9, and the fallback.
inline constexpr Rgb kCharacters[11] = {
    {255, 112, 96},   // Kit, coral
    {150, 100, 230},  // Basso, violet
    {255, 190, 72},   // Riff, amber
    {96, 232, 184},   // Keya, mint
    {255, 146, 56},   // Pico, orange
    {72, 220, 240},   // Synthia, cyan
    {236, 200, 80},   // Horne, gold
    {255, 130, 178},  // Voxie, rose
    {236, 236, 250},  // Guest, white
    {150, 150, 190},  // Backing, slate
    {120, 120, 140},  // fallback
};

}  // namespace tessaru::gen::palette
