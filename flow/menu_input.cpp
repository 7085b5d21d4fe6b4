#include "flow/menu_input.h"

namespace tessaru {
namespace {

bool Pressed(const InputLib& input, int code) { return input.KeyState(code) == KeyPressed; }
bool Down(const InputLib& input, int code) {
  const int16_t s = input.KeyState(code);
  return s == KeyPressed || s == KeyHeld;
}
bool FuncPressed(const InputLib& input, int side, int slot) {
  return input.FuncState(side, slot) == KeyPressed;
}
bool FuncDown(const InputLib& input, int side, int slot) {
  const int16_t s = input.FuncState(side, slot);
  return s == KeyPressed || s == KeyHeld;
}

}  // namespace

MenuButtons ReadMenuButtons(const InputLib& input) {
  MenuButtons m;
  for (int p = 0; p < 2; ++p) {
    SideButtons& b = m.Side[p];
    const bool arrows = p == 0;
    b.Left = FuncPressed(input, p, 1) || Pressed(input, JoypadInput(p, kJoyLeft)) ||
             (arrows && Pressed(input, kVkLeft));
    b.Down = FuncPressed(input, p, 2) || Pressed(input, JoypadInput(p, kJoyDown)) ||
             (arrows && Pressed(input, kVkDown));
    b.Up = FuncPressed(input, p, 3) || Pressed(input, JoypadInput(p, kJoyUp)) ||
           (arrows && Pressed(input, kVkUp));
    b.Right = FuncPressed(input, p, 4) || Pressed(input, JoypadInput(p, kJoyRight)) ||
              (arrows && Pressed(input, kVkRight));
    b.Decide = FuncPressed(input, p, 0) || Pressed(input, JoypadInput(p, kJoyFirstButton)) ||
               (arrows && Pressed(input, kVkEnter));
    b.AnyOfFirstFive = b.Decide;
    for (int slot = 1; slot < 5; ++slot) b.AnyOfFirstFive = b.AnyOfFirstFive || FuncPressed(input, p, slot);
    b.LeftHeld = FuncDown(input, p, 1) || Down(input, JoypadInput(p, kJoyLeft)) ||
                 (arrows && Down(input, kVkLeft));
    b.RightHeld = FuncDown(input, p, 4) || Down(input, JoypadInput(p, kJoyRight)) ||
                  (arrows && Down(input, kVkRight));
    b.DecideHeld = FuncDown(input, p, 0) || Down(input, JoypadInput(p, kJoyFirstButton)) ||
                   (arrows && Down(input, kVkEnter));
  }
  m.Escape = Pressed(input, kVkEscape);
  m.F1 = Pressed(input, kVkF1);
  m.F2 = Pressed(input, kVkF2);
  m.F3 = Pressed(input, kVkF3);
  m.Tab = Pressed(input, kVkTab);
  m.TabHeld = Down(input, kVkTab);
  return m;
}

}  // namespace tessaru
