#pragma once
// Inputs for the menus' Update tests, without devices.
#include <initializer_list>
#include <string_view>

#include "flow/free_mode_setting.h"
#include "flow/menu_input.h"

namespace tessaru {

// One pass of menu buttons from codes, side 1's unless a '2' came before: capitals are
// pressed now (and so held too), small letters are only still held.
//   U D L R (l r): directions   E (e): decide, which is also one of the first five buttons
//   A: a lane (one of the first five)   X: Esc   1: F1   T (t): Tab   2: side 2's from here
inline MenuButtons Buttons(std::string_view codes) {
  MenuButtons b;
  size_t side = 0;
  for (const char code : codes) {
    SideButtons& s = b.Side[side];
    switch (code) {
      case '2': side = 1; break;
      case 'U': s.Up = true; break;
      case 'D': s.Down = true; break;
      case 'L': s.Left = true; [[fallthrough]];
      case 'l': s.LeftHeld = true; break;
      case 'R': s.Right = true; [[fallthrough]];
      case 'r': s.RightHeld = true; break;
      case 'E': s.Decide = s.AnyOfFirstFive = true; [[fallthrough]];
      case 'e': s.DecideHeld = true; break;
      case 'A': s.AnyOfFirstFive = true; break;
      case 'X': b.Escape = true; break;
      case '1': b.F1 = true; break;
      case 'T': b.Tab = true; [[fallthrough]];
      case 't': b.TabHeld = true; break;
      default: break;
    }
  }
  return b;
}

// The special modes played once each.
inline SpecialPlayCounts Played(std::initializer_list<int> modes) {
  SpecialPlayCounts p{};
  for (const int m : modes) p[static_cast<size_t>(m)] = 1;
  return p;
}

}  // namespace tessaru
