#include <gtest/gtest.h>

#include <SDL.h>

#include <map>
#include <set>

#include "platform/key_names.h"
#include "platform/sdl/keyboard_table.h"

namespace tessaru::platform {
namespace {

TEST(KeyboardTable, MapsKeysToWindowsVirtualKeys) {
  // Runs of keys whose codes follow each other: letters, digits, F-keys, keypad digits.
  struct Run { SDL_Scancode first; int count; uint8_t firstKey; };
  const Run runs[] = {{SDL_SCANCODE_A, 26, 0x41},   {SDL_SCANCODE_1, 9, 0x31},  {SDL_SCANCODE_F1, 12, 0x70},
                      {SDL_SCANCODE_F13, 12, 0x7C}, {SDL_SCANCODE_KP_1, 9, 0x61}};
  for (const Run& r : runs) {
    for (int i = 0; i < r.count; ++i) {
      EXPECT_EQ(ScancodeToVirtualKey(r.first + i), r.firstKey + i) << SDL_GetScancodeName(SDL_Scancode(r.first + i));
    }
  }
  struct Case { SDL_Scancode scancode; uint8_t virtualKey; };
  const Case cases[] = {
      {SDL_SCANCODE_0, 0x30}, {SDL_SCANCODE_KP_0, 0x60}, {SDL_SCANCODE_RETURN, 0x0D},
      {SDL_SCANCODE_ESCAPE, 0x1B}, {SDL_SCANCODE_TAB, 0x09}, {SDL_SCANCODE_SPACE, 0x20},
      {SDL_SCANCODE_BACKSPACE, 0x08}, {SDL_SCANCODE_LEFT, 0x25}, {SDL_SCANCODE_UP, 0x26},
      {SDL_SCANCODE_RIGHT, 0x27}, {SDL_SCANCODE_DOWN, 0x28}, {SDL_SCANCODE_INSERT, 0x2D},
      {SDL_SCANCODE_DELETE, 0x2E}, {SDL_SCANCODE_HOME, 0x24}, {SDL_SCANCODE_END, 0x23},
      {SDL_SCANCODE_PAGEUP, 0x21}, {SDL_SCANCODE_PAGEDOWN, 0x22}, {SDL_SCANCODE_KP_MULTIPLY, 0x6A},
      {SDL_SCANCODE_KP_PLUS, 0x6B}, {SDL_SCANCODE_KP_MINUS, 0x6D}, {SDL_SCANCODE_KP_PERIOD, 0x6E},
      {SDL_SCANCODE_KP_DIVIDE, 0x6F}, {SDL_SCANCODE_KP_ENTER, 0x0D}, {SDL_SCANCODE_SEMICOLON, 0xBA},
      {SDL_SCANCODE_EQUALS, 0xBB}, {SDL_SCANCODE_COMMA, 0xBC}, {SDL_SCANCODE_MINUS, 0xBD},
      {SDL_SCANCODE_PERIOD, 0xBE}, {SDL_SCANCODE_SLASH, 0xBF}, {SDL_SCANCODE_GRAVE, 0xC0},
      {SDL_SCANCODE_LEFTBRACKET, 0xDB}, {SDL_SCANCODE_BACKSLASH, 0xDC}, {SDL_SCANCODE_RIGHTBRACKET, 0xDD},
      {SDL_SCANCODE_APOSTROPHE, 0xDE}, {SDL_SCANCODE_NONUSBACKSLASH, 0xE2}, {SDL_SCANCODE_LSHIFT, 0xA0},
      {SDL_SCANCODE_RSHIFT, 0xA1}, {SDL_SCANCODE_LCTRL, 0xA2}, {SDL_SCANCODE_RCTRL, 0xA3},
      {SDL_SCANCODE_LALT, 0xA4}, {SDL_SCANCODE_RALT, 0xA5}, {SDL_SCANCODE_INTERNATIONAL1, 0xE2},
      {SDL_SCANCODE_INTERNATIONAL2, 0xF2}, {SDL_SCANCODE_INTERNATIONAL3, 0xDC}, {SDL_SCANCODE_INTERNATIONAL4, 0x1C},
      {SDL_SCANCODE_INTERNATIONAL5, 0x1D}, {SDL_SCANCODE_LANG5, 0xF3},
      // Unknown keys report nothing.
      {SDL_SCANCODE_UNKNOWN, 0}, {SDL_SCANCODE_POWER, 0}, {SDL_SCANCODE_KP_EQUALS, 0}, {SDL_SCANCODE_AC_BACK, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScancodeToVirtualKey(c.scancode), c.virtualKey) << SDL_GetScancodeName(c.scancode);
  }
  EXPECT_EQ(ScancodeToVirtualKey(-1), 0);
  EXPECT_EQ(ScancodeToVirtualKey(SDL_NUM_SCANCODES), 0);
  EXPECT_EQ(ScancodeToVirtualKey(1 << 20), 0);
}

TEST(KeyboardTable, OnlyTheKnownTwinsShareACode) {
  std::map<uint8_t, std::set<int>> byCode;
  for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
    const uint8_t vk = ScancodeToVirtualKey(sc);
    if (vk != 0) byCode[vk].insert(sc);
  }
  const std::map<uint8_t, std::set<int>> twins = {
      {0x0D, {SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER}},
      {0xDC, {SDL_SCANCODE_BACKSLASH, SDL_SCANCODE_NONUSHASH, SDL_SCANCODE_INTERNATIONAL3}},
      {0xE2, {SDL_SCANCODE_NONUSBACKSLASH, SDL_SCANCODE_INTERNATIONAL1}},
      {0xF2, {SDL_SCANCODE_INTERNATIONAL2, SDL_SCANCODE_LANG4}},
  };
  for (const auto& [code, scancodes] : byCode) {
    const auto twin = twins.find(code);
    if (twin != twins.end()) {
      EXPECT_EQ(scancodes, twin->second) << "code " << int{code};
    } else {
      EXPECT_EQ(scancodes.size(), 1u) << "code " << int{code};
    }
    // The generic modifier codes come only from GenericVirtualKey.
    EXPECT_TRUE(code < 0x10 || code > 0x12) << "code " << int{code};
  }
  EXPECT_GE(byCode.size(), 120u);
}

TEST(KeyboardTable, SidedModifiersAlsoReportTheGenericCode) {
  const std::pair<uint8_t, uint8_t> cases[] = {
      {0xA0, 0x10}, {0xA1, 0x10}, {0xA2, 0x11}, {0xA3, 0x11}, {0xA4, 0x12},
      {0xA5, 0x12}, {0x41, 0},    {0x10, 0},    {0xA6, 0},    {0x9F, 0},
  };
  for (const auto& [sided, generic] : cases) EXPECT_EQ(GenericVirtualKey(sided), generic) << int{sided};
}

// Scripts name keys as SDL does, in any case; "Enter" is the keyset name for Return.
TEST(KeyboardTable, KeysByName) {
  const std::pair<const char*, uint8_t> cases[] = {
      {"Return", 0x0D}, {"enter", 0x0D}, {"ESCAPE", 0x1B}, {"Delete", 0x2E}, {"Left", 0x25},
      {"F1", 0x70},     {"z", 0x5A},     {"Z", 0x5A},      {",", 0xBC},      {"/", 0xBF},
      {"Keypad 0", 0x60}, {"Left Shift", 0xA0}, {"", 0}, {"Enterr", 0}, {"Foo", 0}, {"Power", 0},
  };
  for (const auto& [name, code] : cases) EXPECT_EQ(VirtualKeyFromName(name), code) << name;
}

}  // namespace
}  // namespace tessaru::platform
