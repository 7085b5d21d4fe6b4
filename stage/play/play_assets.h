#pragma once
// Everything a stage loads before play and frees afterwards: the pages of the chip and
// play sheets, dances, background animation and wallpaper, and the sound slots of the
// track, the parts and the stage's own sounds.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "content/bga_file.h"
#include "content/dance_file.h"
#include "core/indexed_array.h"
#include "stage/play/stage_context.h"

namespace tessaru {

// One player's dance: its record (null for none) and a page per picture (-1 when the
// picture is missing).
struct DanceView {
  const DanceRecord* Dance = nullptr;
  std::vector<SurfaceIndex> Pages;
};

struct PlayAssets {
  int16_t Resolution = 0;
  SurfaceIndex Work = -1;       // the stage's work page (the frozen frame of the result)
  SurfaceIndex Font = -1;       // the system font's page while the stage owns the display
  SurfaceIndex ChipSheet = -1;
  SurfaceIndex PlaySheet = -1;
  SurfaceIndex Wallpaper = -1;
  bool HasBga = false;
  BgaRecord Bga;
  std::vector<SurfaceIndex> BgaPages;  // per picture; -1 when missing
  DanceList Dances;
  PerPlayer<DanceView> DanceViews;
  SoundSlot Track = -1;
  SoundSlot Ready = -1;
  // [part][sound index] -> slot (-1 silent), as the stage engine wants them.
  std::vector<std::vector<int16_t>> PartSlots;

  std::vector<SurfaceIndex> OwnedPages;
  std::vector<SoundSlot> OwnedSounds;
};

// Loads what the stage needs into `assets`. False when the stage cannot be played (no
// work page, no chip image from any candidate, no memory for dance or animation
// pictures); ErrorLog then holds the reason. Other failures add their line and go on.
bool LoadPlayAssets(StageContext& context, PlayAssets& assets);

// A stage sound from the data folder ("\sound\..."), -1 with an ErrorLog line when it
// cannot be loaded. The slot is freed with the other assets.
SoundSlot LoadStageSound(StageContext& context, PlayAssets& assets, const std::string& relative);

// Frees every page and sound slot the stage created.
void ReleasePlayAssets(StageContext& context, PlayAssets& assets);

// The chip-sheet files tried in order for these settings (the song's folder first where
// a song may bring its own).
std::vector<std::string> ChipSheetCandidates(const std::string& dataPath, const std::string& songPath,
                                             int16_t resolution, int16_t skin);

}  // namespace tessaru
