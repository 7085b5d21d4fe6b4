#pragma once
// The part select: each human side picks the part (instrument and character) it plays;
// computer sides take theirs at random from the same level group, or are picked by hand
// when the COM PART setting says SELECT.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/random.h"
#include "flow/game.h"

namespace tessaru {

// The song's own parts a side can choose: 0..7.
inline constexpr int kSelectableParts = 8;
// Game flag 8 holds this value once the extension parts have been earned.
inline constexpr int kExtensionFlag = 8;
inline constexpr int32_t kExtensionFlagValue = 8251;

// What decides whether extension parts are on the list.
struct PartOffer {
  int32_t ExtensionFlag = 0;   // game flag 8
  int16_t SongIndex = -1;
  int16_t FirstExtraSong = 0;
  int16_t SongFlag = 0;        // the song list's flag: how many extra choices the song opens
  int16_t FirstExtension = 0;  // index of the first part the extension list appends
  int16_t ExtensionCount = 0;  // how many parts it appends (0 without a list)
};

// Parts 0..7, then the extension parts the flag, the song's place in the list and the
// song's own flag open, in index order.
std::vector<int16_t> OfferedParts(const PartOffer& offer);

// The offer of the loaded song (game.State.SongIndex), before any extension is read.
PartOffer SongPartOffer(const Game& game);
// When the offer opens extension parts, appends them to song and parts and notes where
// they start and how many there are.
void AppendOfferedExtensions(PartOffer& offer, SongRecord& song, std::vector<PartRecord>& parts,
                             std::string_view songPath);

// A computer side's part once the humans have settled: a random part of the level group
// (0 = parts 0..3, 1 = parts 4..7; an extension part counts as the upper group) of the
// confirmed part, drawn again while it equals the other side's part.
int16_t ComputerPart(int16_t confirmedPart, int16_t otherSidePart, Random& rng);

// Returns 1 when every side has its part (PlayerPart set), -1 for back (F1) or Esc
// (QuitRequested set). With COM PART on AUTO and both sides computer-controlled it
// draws both parts and returns at once, without a frame.
int16_t SelectParts(Game& game);

}  // namespace tessaru
