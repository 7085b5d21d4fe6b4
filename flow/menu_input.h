#pragma once
// The menu buttons of both sides, read once per frame after the input poll.
//
// Side p moves with its joypad's directions and its own lane keys (lanes 1..4 are left,
// down, up, right), and decides with its decide function (Enter for 1P, Delete for 2P by
// default) or its joypad's first button. The arrow keys belong to 1P; a screen with one
// cursor reads both sides, so the arrows drive every menu.
#include <array>
#include <cstdint>

#include "core/indexed_array.h"
#include "input/input_lib.h"

namespace tessaru {

struct SideButtons {
  bool Up = false;
  bool Down = false;
  bool Left = false;
  bool Right = false;
  bool Decide = false;
  // Decide or one of the lanes: the match-up's skip.
  bool AnyOfFirstFive = false;
  // Still down (pressed now or earlier): the song select's auto-repeat.
  bool LeftHeld = false;
  bool RightHeld = false;
  bool DecideHeld = false;
};

struct MenuButtons {
  PerPlayer<SideButtons> Side;
  bool Escape = false;
  bool F1 = false;
  // F2 shows or hides the results' timing panel; F3 sets the offset it suggests.
  bool F2 = false;
  bool F3 = false;
  bool Tab = false;
  // Tab still down: CONFIG's hidden row is reached only while it is held.
  bool TabHeld = false;

  bool AnyUp() const { return Side[0].Up || Side[1].Up; }
  bool AnyDown() const { return Side[0].Down || Side[1].Down; }
  bool AnyLeft() const { return Side[0].Left || Side[1].Left; }
  bool AnyRight() const { return Side[0].Right || Side[1].Right; }
  bool AnyDecide() const { return Side[0].Decide || Side[1].Decide; }
};

MenuButtons ReadMenuButtons(const InputLib& input);

}  // namespace tessaru
