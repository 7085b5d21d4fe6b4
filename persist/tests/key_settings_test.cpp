#include "persist/key_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "content/packed.h"
#include "core/testing/scratch_folder.h"

namespace tessaru {
namespace {
namespace fs = std::filesystem;

using KeySettingsTest = testing_support::ScratchFolder;

// The assigned entries only, so a wrong value anywhere shows.
std::map<int, int> Assigned(const KeyMapTable& keyMap) {
  std::map<int, int> out;
  for (int i = 0; i < KeyCount; ++i) {
    if (keyMap[i] != kNoFunction) out[i] = keyMap[i];
  }
  return out;
}

KeyMapTable Filled(int16_t value) {
  KeyMapTable keyMap;
  keyMap.fill(value);
  return keyMap;
}

TEST_F(KeySettingsTest, FilesWithoutKeysGiveTheDefaults) {
  const std::map<int, int> defaults = {{13, 0}, {46, 5}, {67, 3},  {77, 6},  {86, 4},
                                       {88, 2}, {90, 1}, {188, 7}, {190, 8}, {191, 9}};
  const std::string unreadable = root_ + "\\keyset.ini" + "を読めませんでした。標準のキー設定で起動します。\r\n";
  struct Case {
    const char* label;
    std::optional<std::string> text;  // none: no file; "/": a folder in its place
    std::string log;                  // a readable file without keys is no error
  };
  const Case cases[] = {{"no file", std::nullopt, ""},
                        {"empty", "", ""},
                        {"empty section", "[KEYSETTING]\r\n", ""},
                        {"other section", "[USER]\r\nKEYCODE090=3\r\n", ""},
                        {"zero bytes", std::string(4, '\0'), ""},
                        {"unreadable", "/", unreadable}};
  for (const Case& c : cases) {
    fs::remove_all(root_ + "/keyset.ini");
    if (c.text == "/") Block("keyset.ini");
    else if (c.text) Write("keyset.ini", *c.text);
    KeyMapTable keyMap = Filled(2);
    ErrorLog log;
    EXPECT_FALSE(LoadKeySettings(keyMap, root_, &log)) << c.label;
    EXPECT_EQ(Assigned(keyMap), defaults) << c.label;
    EXPECT_EQ(log.Text(), c.log) << c.label;
    EXPECT_EQ(fs::exists(root_ + "/keyset.ini"), c.text.has_value()) << c.label << ": loading writes no file";
  }
}

TEST_F(KeySettingsTest, MalformedFileLoadsWhatItCanAndNotesTheRest) {
  fs::copy_file(std::string(TESSARU_FIXTURES) + "/malformed_keyset.ini", root_ + "/KeySet.INI");
  KeyMapTable keyMap = Filled(1);
  ErrorLog log;
  EXPECT_TRUE(LoadKeySettings(keyMap, root_, &log));
  // Enter and Delete are forced over 3 and -1; keys the file leaves out stay unassigned.
  const std::map<int, int> expected = {
      {13, 0}, {46, 5},
      {65, 7},    // blanks around the number
      {67, 0},    // text without a number reads as 0
      {71, 3},    // the leading number
      {72, 9},    // quotes removed
      {73, 13},   // a fraction rounds
      {75, 0},    // empty value
      {327, 19},  // the last code of the last input
  };
  EXPECT_EQ(Assigned(keyMap), expected);
  // 70000, 20 and -2 name no function; the second [KEYSETTING] section is not read.
  const std::string text = log.Text();
  for (const char* line : {"KEYCODE066=70000", "KEYCODE069=20", "KEYCODE070=-2"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << " in " << text;
  }
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << text;
}

TEST_F(KeySettingsTest, SaveWritesEveryKeyInOrderAndLoadsBack) {
  Write("keyset.ini", "[OTHER]\r\nA=1\r\n[KEYSETTING]\r\nKEYCODE400=1\r\n");
  KeyMapTable keyMap;
  DefaultKeySettings(keyMap);
  keyMap[JoypadInput(1, kJoyFirstButton + 31)] = 19;
  keyMap[kVkF1] = kF1MirrorFunction;
  ASSERT_TRUE(SaveKeySettings(keyMap, root_));
  EXPECT_EQ(KeySettingName(7) + " " + KeySettingName(327), "KEYCODE007 KEYCODE327");
  std::string expected = "[KEYSETTING]\r\n";
  for (int i = 0; i < KeyCount; ++i) expected += KeySettingName(i) + "=" + std::to_string(keyMap[i]) + "\r\n";
  EXPECT_EQ(Read("keyset.ini"), expected);
  KeyMapTable loaded = Filled(0);
  EXPECT_TRUE(LoadKeySettings(loaded, root_));
  EXPECT_EQ(loaded, keyMap);
  EXPECT_FALSE(SaveKeySettings(keyMap, root_ + "/missing/folder"));
}

TEST_F(KeySettingsTest, KeyboardLayoutReadsPairsInOrderOrFailsWhole) {
  std::vector<TextValue> pairs;
  for (int i = 0; i < kKeyboardLayoutEntries; ++i) pairs.insert(pairs.end(), {int16_t(i * 3), int16_t(-i)});
  const std::vector<TextValue> shortByOne(pairs.begin(), pairs.end() - 1);
  std::vector<TextValue> withText = shortByOne;
  withText.insert(withText.begin() + 10, std::string("Esc"));
  std::vector<uint8_t> cut = PackText(shortByOne);
  cut.resize(cut.size() / 2);
  struct Case {
    const char* name;
    std::optional<std::vector<uint8_t>> bytes;  // none: no file
    const char* log;                            // a part of the error line
  };
  const Case cases[] = {{"whole", PackText(pairs), ""},
                        {"one value short", PackText(shortByOne), "keyboard.zxt"},
                        {"text among the numbers", PackText(withText), "keyboard.zxt"},
                        {"cut short", cut, "keyboard.zxt"},
                        {"missing", std::nullopt, kLoadFailedSuffix.data()}};
  for (const Case& c : cases) {
    fs::remove(root_ + "/keyboard.zxt");
    if (c.bytes) Write("keyboard.zxt", std::string(c.bytes->begin(), c.bytes->end()));
    ErrorLog log;
    const auto layout = LoadKeyboardLayout(root_, &log);
    EXPECT_EQ(layout.has_value(), c.log[0] == '\0') << c.name;
    EXPECT_NE(log.Text().find(c.log), std::string::npos) << c.name;
    if (layout) {
      EXPECT_TRUE(log.Empty());
      EXPECT_EQ(std::make_tuple((*layout)[0].X, (*layout)[256].X, (*layout)[256].Y, (*layout)[100].Y),
                std::make_tuple(0, 768, -256, -100));
    }
  }
}

}  // namespace
}  // namespace tessaru
