#pragma once
// The part select: each human side picks the part (instrument and character) it plays;
// computer sides take theirs at random from the same level group, or are picked by hand
// when the COM PART setting says SELECT.
#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "content/extension_parts.h"
#include "core/random.h"
#include "flow/game.h"
#include "flow/screen_frame.h"

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

// The offer of the loaded song (game.State.Setup.SongIndex). When it opens extension
// parts, `extended` receives a copy of the song with them appended.
PartOffer SongPartOffer(const Game& game, SongWithParts& extended);

// A computer side's part once the humans have settled: a random part of the level group
// (0 = parts 0..3, 1 = parts 4..7; an extension part counts as the upper group) of the
// confirmed part, drawn again while it equals the other side's part.
int16_t ComputerPart(int16_t confirmedPart, int16_t otherSidePart, Random& rng);

// Once every side has its part the screen holds this long, so the voice is heard.
inline constexpr uint32_t kPartHoldMs = 700;

// The screen: the parts on offer, who picks, the cursors and the parts chosen so far
// (before a side settles, its previous part).
struct PartSelectScreen {
  std::vector<int16_t> Offered;
  PerPlayer<bool> Computer{false, false};
  bool ComByHand = false;  // COM PART SELECT: computer sides are picked by hand after the humans
  PerPlayer<bool> Picking{false, false};
  PerPlayer<bool> Settled{false, false};
  PerPlayer<int> Cursor{0, 0};
  PerPlayer<int16_t> Part{0, 1};
  bool Done = false;  // every side has its part; holding
  uint32_t DoneAt = 0;
};

// What one pass did: besides the event, which sides settled now (their voices play) and
// whether the computer sides' parts are to be drawn now.
struct PartSelectStep {
  ScreenEvent Event = ScreenEvent::None;
  bool Moved = false;
  PerPlayer<bool> SettledNow{false, false};
  bool DrawComputers = false;
};

struct PartSelectPictures {
  SurfaceIndex Banner = -1;
  SurfaceIndex Panels = -1;
  SurfaceIndex Tags = -1;
  SurfaceIndex Instruments = -1;
  SurfaceIndex Jacket = -1;
  std::map<int, SurfaceIndex> Portraits;  // by part
};

// Humans pick first, each cursor starting on the side's previous part.
PartSelectScreen MakePartSelectScreen(std::vector<int16_t> offered, PerPlayer<bool> computer, bool comByHand,
                                      PerPlayer<int16_t> previous);
PartSelectStep Update(PartSelectScreen& s, const MenuButtons& buttons, uint32_t now);
// The computer sides that did not pick by hand take their parts (ComputerPart).
void DrawComputerParts(PartSelectScreen& s, Random& rng);
void Draw(const PartSelectScreen& s, const PartSelectPictures& pics, const std::vector<PartRecord>& parts,
          GraphLib& g, int16_t blink);

// Returns 1 when every side has its part (PlayerPart set), -1 for back (F1) or Esc
// (QuitRequested set). With COM PART on AUTO and both sides computer-controlled it
// draws both parts and returns at once, without a frame.
int16_t SelectParts(Game& game);

}  // namespace tessaru
