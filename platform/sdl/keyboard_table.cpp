#include "platform/sdl/keyboard_table.h"

#include <SDL_keyboard.h>
#include <SDL_scancode.h>
#include <SDL_stdinc.h>

#include <array>
#include <string>

#include "platform/key_names.h"

namespace tessaru::platform {
namespace {

struct Entry {
  SDL_Scancode scancode;
  uint8_t virtualKey;
};

constexpr Entry kFixedKeys[] = {
    {SDL_SCANCODE_RETURN, 0x0D},       {SDL_SCANCODE_ESCAPE, 0x1B},
    {SDL_SCANCODE_BACKSPACE, 0x08},    {SDL_SCANCODE_TAB, 0x09},
    {SDL_SCANCODE_SPACE, 0x20},        {SDL_SCANCODE_MINUS, 0xBD},
    {SDL_SCANCODE_EQUALS, 0xBB},       {SDL_SCANCODE_LEFTBRACKET, 0xDB},
    {SDL_SCANCODE_RIGHTBRACKET, 0xDD}, {SDL_SCANCODE_BACKSLASH, 0xDC},
    // The ISO key beside Enter has the ANSI backslash key's scan code on Windows.
    {SDL_SCANCODE_NONUSHASH, 0xDC},    {SDL_SCANCODE_SEMICOLON, 0xBA},
    {SDL_SCANCODE_APOSTROPHE, 0xDE},   {SDL_SCANCODE_GRAVE, 0xC0},
    {SDL_SCANCODE_COMMA, 0xBC},        {SDL_SCANCODE_PERIOD, 0xBE},
    {SDL_SCANCODE_SLASH, 0xBF},        {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C},  {SDL_SCANCODE_SCROLLLOCK, 0x91},
    {SDL_SCANCODE_PAUSE, 0x13},        {SDL_SCANCODE_INSERT, 0x2D},
    {SDL_SCANCODE_HOME, 0x24},         {SDL_SCANCODE_PAGEUP, 0x21},
    {SDL_SCANCODE_DELETE, 0x2E},       {SDL_SCANCODE_END, 0x23},
    {SDL_SCANCODE_PAGEDOWN, 0x22},     {SDL_SCANCODE_RIGHT, 0x27},
    {SDL_SCANCODE_LEFT, 0x25},         {SDL_SCANCODE_DOWN, 0x28},
    {SDL_SCANCODE_UP, 0x26},           {SDL_SCANCODE_NUMLOCKCLEAR, 0x90},
    // The keypad reads as with Num Lock on: digits and operators, never the arrows.
    {SDL_SCANCODE_KP_DIVIDE, 0x6F},    {SDL_SCANCODE_KP_MULTIPLY, 0x6A},
    {SDL_SCANCODE_KP_MINUS, 0x6D},     {SDL_SCANCODE_KP_PLUS, 0x6B},
    {SDL_SCANCODE_KP_ENTER, 0x0D},     {SDL_SCANCODE_KP_0, 0x60},
    {SDL_SCANCODE_KP_PERIOD, 0x6E},    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
    {SDL_SCANCODE_APPLICATION, 0x5D},  {SDL_SCANCODE_MUTE, 0xAD},
    {SDL_SCANCODE_VOLUMEUP, 0xAF},     {SDL_SCANCODE_VOLUMEDOWN, 0xAE},
    {SDL_SCANCODE_LCTRL, 0xA2},        {SDL_SCANCODE_LSHIFT, 0xA0},
    {SDL_SCANCODE_LALT, 0xA4},         {SDL_SCANCODE_LGUI, 0x5B},
    {SDL_SCANCODE_RCTRL, 0xA3},        {SDL_SCANCODE_RSHIFT, 0xA1},
    {SDL_SCANCODE_RALT, 0xA5},         {SDL_SCANCODE_RGUI, 0x5C},
    // Japanese 106-key extras, with the codes the Japanese layout gives them.
    {SDL_SCANCODE_INTERNATIONAL1, 0xE2},  // ro (backslash, underscore)
    {SDL_SCANCODE_INTERNATIONAL2, 0xF2},  // katakana / hiragana
    {SDL_SCANCODE_INTERNATIONAL3, 0xDC},  // yen
    {SDL_SCANCODE_INTERNATIONAL4, 0x1C},  // henkan (convert)
    {SDL_SCANCODE_INTERNATIONAL5, 0x1D},  // muhenkan (no convert)
    {SDL_SCANCODE_LANG1, 0x15},           // kana / hangul
    {SDL_SCANCODE_LANG2, 0x19},           // eisu / hanja
    {SDL_SCANCODE_LANG3, 0xF1},           // katakana
    {SDL_SCANCODE_LANG4, 0xF2},           // hiragana
    {SDL_SCANCODE_LANG5, 0xF3},           // hankaku / zenkaku
};

std::array<uint8_t, SDL_NUM_SCANCODES> BuildTable() {
  std::array<uint8_t, SDL_NUM_SCANCODES> table{};
  for (int i = 0; i < 26; ++i) table[SDL_SCANCODE_A + i] = static_cast<uint8_t>(0x41 + i);
  // SDL orders the digit row 1..9, 0; Windows numbers them 0x30..0x39.
  for (int i = 0; i < 9; ++i) table[SDL_SCANCODE_1 + i] = static_cast<uint8_t>(0x31 + i);
  table[SDL_SCANCODE_0] = 0x30;
  for (int i = 0; i < 12; ++i) table[SDL_SCANCODE_F1 + i] = static_cast<uint8_t>(0x70 + i);
  for (int i = 0; i < 12; ++i) table[SDL_SCANCODE_F13 + i] = static_cast<uint8_t>(0x7C + i);
  for (int i = 0; i < 9; ++i) table[SDL_SCANCODE_KP_1 + i] = static_cast<uint8_t>(0x61 + i);
  for (const Entry& entry : kFixedKeys) table[entry.scancode] = entry.virtualKey;
  return table;
}

const std::array<uint8_t, SDL_NUM_SCANCODES> kTable = BuildTable();

}  // namespace

uint8_t ScancodeToVirtualKey(int scancode) {
  if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return 0;
  return kTable[static_cast<size_t>(scancode)];
}

uint8_t VirtualKeyFromName(std::string_view name) {
  // The keyset documentation calls Return "Enter", as the key caps do.
  if (name.size() == 5 && SDL_strncasecmp(name.data(), "Enter", 5) == 0) return 0x0D;
  if (name.empty()) return 0;
  return ScancodeToVirtualKey(SDL_GetScancodeFromName(std::string(name).c_str()));
}

uint8_t GenericVirtualKey(uint8_t virtualKey) {
  switch (virtualKey) {
    case 0xA0:
    case 0xA1:
      return 0x10;
    case 0xA2:
    case 0xA3:
      return 0x11;
    case 0xA4:
    case 0xA5:
      return 0x12;
    default:
      return 0;
  }
}

}  // namespace tessaru::platform
