#include "flow/config/key_config.h"

#include <optional>
#include <string_view>

#include "content/data_files.h"
#include "core/numbers.h"
#include "flow/menu_sound.h"
#include "flow/screen_frame.h"
#include "layout/config_layout.h"
#include "persist/key_settings.h"
#include "flow/screen_names.h"

namespace tessaru {
namespace {

namespace cl = config_layout;

constexpr int16_t kEnterFunction = 0;
constexpr int16_t kDeleteFunction = kFuncSlotsUsed;
constexpr int kOfferedFunctions = 2 * kKeyFunctionSlots;
constexpr std::string_view kSlotNames[kKeyFunctionSlots] = {"DECIDE", "LANE 1", "LANE 2", "LANE 3", "LANE 4"};
constexpr std::string_view kItemLabels[kKeyItems] = {"CHANGE SETTING", "RESET SETTING", "SAVE & EXIT"};
constexpr size_t kCellWidth = 6;
// The colours of the 1P and 2P frames in "keyboard.bmp".
constexpr uint16_t kLegend[2] = {Rgb565(255, 112, 96), Rgb565(96, 176, 255)};

// The generic Shift, Ctrl and Alt codes arrive together with their left/right twins.
bool IsGenericModifier(int code) { return code >= 0x10 && code <= 0x12; }

int SelectedFunction(const KeyConfigState& s) { return s.Player * kFuncSlotsUsed + s.Slot; }

std::string_view NamedKey(int vk) {
  switch (vk) {
    case 0x08: return "BS";
    case 0x09: return "TAB";
    case 0x0D: return "ENTER";
    case 0x10: return "SHIFT";
    case 0x11: return "CTRL";
    case 0x12: return "ALT";
    case 0x13: return "PAUSE";
    case 0x14: return "CAPS";
    case 0x1B: return "ESC";
    case 0x20: return "SPACE";
    case 0x21: return "PGUP";
    case 0x22: return "PGDN";
    case 0x23: return "END";
    case 0x24: return "HOME";
    case 0x25: return "LEFT";
    case 0x26: return "UP";
    case 0x27: return "RIGHT";
    case 0x28: return "DOWN";
    case 0x2C: return "PRTSC";
    case 0x2D: return "INS";
    case 0x2E: return "DEL";
    case 0x5B: return "LWIN";
    case 0x5C: return "RWIN";
    case 0x5D: return "MENU";
    case 0x6A: return "NUM*";
    case 0x6B: return "NUM+";
    case 0x6D: return "NUM-";
    case 0x6E: return "NUM.";
    case 0x6F: return "NUM/";
    case 0x90: return "NUMLK";
    case 0x91: return "SCRLK";
    case 0xA0: return "LSHIFT";
    case 0xA1: return "RSHIFT";
    case 0xA2: return "LCTRL";
    case 0xA3: return "RCTRL";
    case 0xA4: return "LALT";
    case 0xA5: return "RALT";
    case 0xBA: return ";";
    case 0xBB: return "=";
    case 0xBC: return ",";
    case 0xBD: return "-";
    case 0xBE: return ".";
    case 0xBF: return "/";
    case 0xC0: return "`";
    case 0xDB: return "[";
    case 0xDC: return "\\";
    case 0xDD: return "]";
    case 0xDE: return "'";
    default: return "";
  }
}

// The map after `input` was chosen for `function`: the function's other inputs of the
// same kind (keyboard or joypad) let go, so a change replaces rather than piles up;
// Enter and Delete keep their functions whatever happens.
void Assign(KeyMapTable& map, int input, int16_t function) {
  const bool keyboard = input < kKeyboardInputs;
  for (int i = 0; i < KeyCount; ++i) {
    if (i == input || i == kVkEnter || i == kVkDelete) continue;
    if (map[static_cast<size_t>(i)] == function && (i < kKeyboardInputs) == keyboard) {
      map[static_cast<size_t>(i)] = kNoFunction;
    }
  }
  map[static_cast<size_t>(input)] = function;
}

KeyConfigEvent UpdateMenu(KeyConfigState& s, const MenuButtons& b) {
  if (b.F1) return KeyConfigEvent::Back;
  if (b.AnyUp() || b.AnyDown()) {
    s.Item = (s.Item + (b.AnyUp() ? kKeyItems - 1 : 1)) % kKeyItems;
    return KeyConfigEvent::Moved;
  }
  if (!b.AnyDecide()) return KeyConfigEvent::None;
  switch (s.Item) {
    case kKeyItemChange:
      s.Mode = KeyConfigMode::Pick;
      s.Notice.clear();
      return KeyConfigEvent::Decided;
    case kKeyItemReset:
      DefaultKeySettings(s.Map);
      s.Notice = "DEFAULT KEYS SET (NOT SAVED YET)";
      return KeyConfigEvent::Decided;
    default: return KeyConfigEvent::Save;
  }
}

KeyConfigEvent UpdatePick(KeyConfigState& s, const MenuButtons& b) {
  if (b.F1) {
    s.Mode = KeyConfigMode::Menu;
    return KeyConfigEvent::Moved;
  }
  if (b.AnyUp() || b.AnyDown()) {
    s.Slot = (s.Slot + (b.AnyUp() ? kKeyFunctionSlots - 1 : 1)) % kKeyFunctionSlots;
    return KeyConfigEvent::Moved;
  }
  if (b.AnyLeft() || b.AnyRight()) {
    s.Player = 1 - s.Player;
    return KeyConfigEvent::Moved;
  }
  if (!b.AnyDecide()) return KeyConfigEvent::None;
  s.Mode = KeyConfigMode::Capture;
  s.Pending = -1;
  s.Notice.clear();
  return KeyConfigEvent::Decided;
}

KeyConfigEvent UpdateCapture(KeyConfigState& s, const KeyConfigInput& in) {
  const int16_t function = static_cast<int16_t>(SelectedFunction(s));
  if (in.Buttons.F1) {
    s.Mode = KeyConfigMode::Pick;
    s.Pending = -1;
    s.Notice.clear();
    return KeyConfigEvent::Moved;
  }
  if (in.Enter) {
    if (s.Pending < 0) return KeyConfigEvent::None;
    const int16_t before = s.Map[static_cast<size_t>(s.Pending)];
    Assign(s.Map, s.Pending, function);
    s.Notice = IsFunctionCode(before) && before != function
                   ? InputName(s.Pending) + " MOVED FROM " + FunctionName(before)
                   : std::string();
    s.Pending = -1;
    s.Mode = KeyConfigMode::Pick;
    return KeyConfigEvent::Assigned;
  }
  if (in.Pressed < 0 || in.Pressed >= KeyCount) return KeyConfigEvent::None;
  if (in.Pressed == kVkDelete && function != kDeleteFunction) {
    s.Notice = "DEL STAYS " + FunctionName(kDeleteFunction);
    return KeyConfigEvent::Refused;
  }
  s.Pending = in.Pressed;
  const int16_t current = s.Map[static_cast<size_t>(s.Pending)];
  s.Notice = IsFunctionCode(current) && current != function
                 ? InputName(s.Pending) + " IS " + FunctionName(current) + ": ENTER MOVES IT"
                 : std::string();
  return KeyConfigEvent::Captured;
}

void DrawKeyConfig(GraphLib& g, const KeyConfigState& s, SurfaceIndex keyboard,
                   const std::optional<KeyboardLayout>& layout, int16_t blink) {
  const bool choosing = s.Mode != KeyConfigMode::Menu;
  if (keyboard >= 0) Cut(g, keyboard, cl::kKeyboardPicture);
  g.DrawSystemText(BackIndex, "KEY CONFIG", cl::kTitleX, cl::kKeyTitleY, 0);

  const auto mark = [&](int input, int marker) {
    if (keyboard < 0 || !layout || input < 0 || input >= kKeyboardLayoutEntries) return;
    const KeyboardLayoutEntry& at = (*layout)[static_cast<size_t>(input)];
    // Keys the picture does not show (and a damaged table) get no frame.
    if (at.X < 0 || at.Y < 0 || at.X + cl::kKeyCapSize > cl::kKeyboardPicture.W ||
        at.Y + cl::kKeyCapSize > cl::kKeyboardPicture.H) {
      return;
    }
    Cut(g, keyboard, cl::kKeyMarker[marker], at.X, at.Y);
  };
  for (int input = 0; input < kKeyboardInputs; ++input) {
    const int16_t f = s.Map[static_cast<size_t>(input)];
    if (IsGenericModifier(input) || f < 0 || f >= kOfferedFunctions) continue;
    // The function being changed blinks on the picture.
    if (choosing && f == SelectedFunction(s) && blink == 1) continue;
    mark(input, f < kFuncSlotsUsed ? 0 : 1);
  }
  if (s.Pending >= 0) mark(s.Pending, 2);

  for (int p = 0; p < 2; ++p) {
    const int x = cl::kKeyPlayerX[p];
    g.DrawSystemText(BackIndex, p == 0 ? "1P" : "2P", x, cl::kKeyTableHeadY, 1);
    g.FillArea(BackIndex, {x + cl::kKeyLegendOffsetX, cl::kKeyTableHeadY + 6, cl::kKeyLegendSize, cl::kKeyLegendSize},
               kLegend[p]);
  }
  for (int slot = 0; slot < kKeyFunctionSlots; ++slot) {
    const int y = cl::kKeyTableFirstRowY + slot * cl::kKeyTableRowHeight;
    g.DrawSystemText(BackIndex, kSlotNames[slot], cl::kKeyFunctionX, y, 1);
    for (int p = 0; p < 2; ++p) {
      const bool here = choosing && s.Player == p && s.Slot == slot;
      std::string cell = FunctionInputs(s.Map, p * kFuncSlotsUsed + slot, kCellWidth);
      if (here && s.Pending >= 0) cell = blink == 0 ? InputName(s.Pending) : "";
      g.DrawSystemText(BackIndex, cell, cl::kKeyPlayerX[p], y, 1);
      if (here) g.DrawSystemText(BackIndex, ">", cl::kKeyPlayerX[p] - 16, y, 1);
    }
  }
  for (int item = 0; item < kKeyItems; ++item) {
    const int y = cl::kKeyItemY + item * cl::kKeyItemHeight;
    g.DrawSystemText(BackIndex, kItemLabels[item], cl::kKeyItemX, y, 1);
    if (item == s.Item && (choosing || blink == 0)) g.DrawSystemText(BackIndex, ">", cl::kKeyItemCursorX, y, 1);
  }

  std::string prompt = s.Notice;
  std::string_view help[2] = {"UP,DOWN:MOVE CURSOR  ENTER:DECIDE", "F1:EXIT WITHOUT SAVING"};
  if (s.Mode == KeyConfigMode::Pick) {
    if (prompt.empty()) prompt = "CHOOSE THE FUNCTION TO CHANGE";
    help[0] = "CURSOR KEY:MOVE  ENTER:DECIDE";
    help[1] = "F1:BACK";
  } else if (s.Mode == KeyConfigMode::Capture) {
    if (prompt.empty() && s.Pending < 0 && blink == 0) prompt = "PRESS KEY TO CHANGE SETTING";
    help[0] = "ENTER:DECIDE";
    help[1] = "F1:CANCEL";
  }
  g.DrawSystemText(BackIndex, prompt, cl::kKeyFunctionX, cl::kKeyPromptY, 1);
  g.DrawSystemText(BackIndex, help[0], cl::kKeyFunctionX, cl::kKeyHelpY[0], 1);
  g.DrawSystemText(BackIndex, help[1], cl::kKeyFunctionX, cl::kKeyHelpY[1], 1);
}

void SaveKeys(Game& game, KeyMapTable map) {
  map[kVkEnter] = kEnterFunction;
  map[kVkDelete] = kDeleteFunction;
  game.Input.KeyMap() = map;
  if (!CanSaveUserFiles(game)) return;
  if (!SaveKeySettings(map, game.ProgramFolder)) {
    game.Errors.Add(game.ProgramFolder + "\\" + std::string(kKeySettingsFile) + "の保存に失敗しました");
  }
}

}  // namespace

KeyConfigEvent UpdateKeyConfig(KeyConfigState& s, const KeyConfigInput& in) {
  if (in.Buttons.Escape) return KeyConfigEvent::Quit;
  switch (s.Mode) {
    case KeyConfigMode::Menu: return UpdateMenu(s, in.Buttons);
    case KeyConfigMode::Pick: return UpdatePick(s, in.Buttons);
    default: return UpdateCapture(s, in);
  }
}

int CapturableInput(const std::array<int16_t, KeyCount>& keyStates) {
  for (int i = 0; i < KeyCount; ++i) {
    if (keyStates[static_cast<size_t>(i)] != KeyPressed) continue;
    if (i == kVkEnter || i == kVkEscape || i == kVkF1 || IsGenericModifier(i)) continue;
    return i;
  }
  return -1;
}

std::string InputName(int input) {
  if (input >= kJoypadInputBase && input < KeyCount) {
    const int pad = (input - kJoypadInputBase) / kJoypadElements;
    const int element = (input - kJoypadInputBase) % kJoypadElements;
    static constexpr std::string_view kDirections[] = {"UP", "DN", "LT", "RT"};
    const std::string head = "J" + NumberText(int64_t{pad + 1});
    if (element < kJoyFirstButton) return head + std::string(kDirections[element]);
    return head + "B" + NumberText(int64_t{element - kJoyFirstButton + 1});
  }
  if ((input >= '0' && input <= '9') || (input >= 'A' && input <= 'Z')) {
    return std::string(1, static_cast<char>(input));
  }
  if (input >= 0x60 && input <= 0x69) return "NUM" + NumberText(int64_t{input - 0x60});
  if (input >= 0x70 && input <= 0x87) return "F" + NumberText(int64_t{input - 0x6F});
  const std::string_view named = NamedKey(input);
  if (!named.empty()) return std::string(named);
  return "#" + NumberText(int64_t{input});
}

std::string FunctionName(int code) {
  if (code >= 0 && code < kOfferedFunctions) {
    return std::string(code < kFuncSlotsUsed ? "1P " : "2P ") +
           std::string(kSlotNames[code % kFuncSlotsUsed]);
  }
  return "FUNCTION " + NumberText(int64_t{code});
}

std::string FunctionInputs(const KeyMapTable& map, int code, size_t width) {
  std::string text;
  for (int i = 0; i < KeyCount; ++i) {
    if (map[static_cast<size_t>(i)] != code || IsGenericModifier(i)) continue;
    const std::string name = InputName(i);
    const size_t needed = text.size() + (text.empty() ? 0 : 1) + name.size();
    // What does not fit is told by a "+" at the end.
    if (needed > width) {
      if (text.size() + 1 > width) text.resize(width - 1);
      return text + "+";
    }
    if (!text.empty()) text += ' ';
    text += name;
  }
  return text.empty() ? "---" : text;
}

void RunKeyConfig(Game& game) {
  KeyConfigState s;
  s.Map = game.Input.KeyMap();
  ScreenPages pages(game);
  const SurfaceIndex back = game.Settings.DRAWING < 3 ? pages.Load(data_files::kMenuBack) : -1;
  const SurfaceIndex keyboard = pages.Load(data_files::kKeyboardPicture);
  const std::optional<KeyboardLayout> layout = LoadKeyboardLayout(game.DataPath, &game.Errors);

  ScreenFrame frame(game, screen_name::kKeyConfig);
  for (;;) {
    KeyConfigInput in;
    in.Buttons = frame.Poll();
    in.Pressed = CapturableInput(game.Input.KeyStates());
    in.Enter = game.Input.KeyState(kVkEnter) == KeyPressed;
    switch (UpdateKeyConfig(s, in)) {
      case KeyConfigEvent::Moved:
      case KeyConfigEvent::Captured:
      case KeyConfigEvent::Refused: PlayMenuSound(game, kCursorSound); break;
      case KeyConfigEvent::Decided:
      case KeyConfigEvent::Assigned: PlayMenuSound(game, kDecideSound); break;
      case KeyConfigEvent::Save:
        PlayMenuSound(game, kDecideSound);
        SaveKeys(game, s.Map);
        return;
      case KeyConfigEvent::Back: return;
      case KeyConfigEvent::Quit: game.State.QuitRequested = true; return;
      default: break;
    }
    if (frame.DrawDue()) {
      frame.DrawBackground(back);
      DrawKeyConfig(game.Graph, s, keyboard, layout, frame.Blink());
      frame.Show();
    }
  }
}

}  // namespace tessaru
