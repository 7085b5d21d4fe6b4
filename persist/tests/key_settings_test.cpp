#include "persist/key_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "content/packed.h"

namespace tessaru {
namespace {
namespace fs = std::filesystem;

class KeySettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::string(TESSARU_SCRATCH) + "/keys";
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void WriteKeyset(const std::string& text) const {
    std::ofstream(root_ + "/keyset.ini", std::ios::binary) << text;
  }
  std::string ReadKeyset() const {
    std::ifstream in(root_ + "/keyset.ini", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // The assigned entries only, so a wrong value anywhere shows.
  static std::map<int, int> Assigned(const KeyMapTable& keyMap) {
    std::map<int, int> out;
    for (int i = 0; i < KeyCount; ++i) {
      if (keyMap[i] != kNoFunction) out[i] = keyMap[i];
    }
    return out;
  }
  static KeyMapTable Filled(int16_t value) {
    KeyMapTable keyMap;
    keyMap.fill(value);
    return keyMap;
  }

  std::string root_;
};

const std::map<int, int> kDefaults = {{13, 0}, {46, 5}, {67, 3},  {77, 6},  {86, 4},
                                      {88, 2}, {90, 1}, {188, 7}, {190, 8}, {191, 9}};

TEST_F(KeySettingsTest, FilesWithoutKeysGiveTheDefaults) {
  const std::vector<std::string> texts = {"", "[KEYSETTING]\r\n", "[USER]\r\nKEYCODE090=3\r\n",
                                          std::string("\0\0\0\0", 4)};
  KeyMapTable keyMap = Filled(2);
  EXPECT_FALSE(LoadKeySettings(keyMap, root_));  // no file at all
  EXPECT_EQ(Assigned(keyMap), kDefaults);
  EXPECT_FALSE(fs::exists(root_ + "/keyset.ini"));  // the next save creates it
  for (const std::string& text : texts) {
    WriteKeyset(text);
    keyMap = Filled(2);
    ErrorLog log;
    EXPECT_FALSE(LoadKeySettings(keyMap, root_, &log)) << text;
    EXPECT_EQ(Assigned(keyMap), kDefaults) << text;
    EXPECT_TRUE(log.Empty()) << text;  // a readable file without keys is no error
  }
}

TEST_F(KeySettingsTest, UnreadableFileGivesTheDefaultsWithAnErrorLine) {
  fs::create_directory(root_ + "/keyset.ini");  // exists, but no file can be read from it
  KeyMapTable keyMap = Filled(2);
  ErrorLog log;
  EXPECT_FALSE(LoadKeySettings(keyMap, root_, &log));
  EXPECT_EQ(Assigned(keyMap), kDefaults);
  EXPECT_EQ(log.Text(), root_ + "\\keyset.ini" + "を読めませんでした。標準のキー設定で起動します。\r\n");
}

TEST_F(KeySettingsTest, EnterAndDeleteAreForcedAndAbsentKeysStayUnassigned) {
  WriteKeyset("[KEYSETTING]\r\nKEYCODE013=3\r\nKEYCODE046=-1\r\nKEYCODE090=2\r\n");
  KeyMapTable keyMap = Filled(1);
  EXPECT_TRUE(LoadKeySettings(keyMap, root_));
  EXPECT_EQ(Assigned(keyMap), (std::map<int, int>{{13, 0}, {46, 5}, {90, 2}}));
}

TEST_F(KeySettingsTest, MalformedFileLoadsWhatItCanAndNotesTheRest) {
  fs::copy_file(std::string(TESSARU_FIXTURES) + "/malformed_keyset.ini", root_ + "/KeySet.INI");
  KeyMapTable keyMap = Filled(1);
  ErrorLog log;
  EXPECT_TRUE(LoadKeySettings(keyMap, root_, &log));
  const std::map<int, int> expected = {
      {13, 0},   // forced over 3
      {46, 5},   // forced over -1
      {65, 7},   // blanks around the number
      {67, 0},   // text without a number reads as 0
      {71, 3},   // the leading number
      {72, 9},   // quotes removed
      {73, 13},  // a fraction rounds
      {75, 0},   // empty value
      {327, 19}, // the last code of the last input
  };
  EXPECT_EQ(Assigned(keyMap), expected);
  // 70000, 20 and -2 name no function; the second [KEYSETTING] section is not read.
  const std::string text = log.Text();
  EXPECT_NE(text.find("KEYCODE066=70000"), std::string::npos) << text;
  EXPECT_NE(text.find("KEYCODE069=20"), std::string::npos) << text;
  EXPECT_NE(text.find("KEYCODE070=-2"), std::string::npos) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << text;
}

TEST_F(KeySettingsTest, SaveWritesEveryKeyInOrderAndLoadsBack) {
  WriteKeyset("[OTHER]\r\nA=1\r\n[KEYSETTING]\r\nKEYCODE400=1\r\n");
  KeyMapTable keyMap;
  DefaultKeySettings(keyMap);
  keyMap[JoypadInput(1, kJoyFirstButton + 31)] = 19;
  keyMap[kVkF1] = kF1MirrorFunction;
  ASSERT_TRUE(SaveKeySettings(keyMap, root_));

  std::string expected = "[KEYSETTING]\r\n";
  for (int i = 0; i < KeyCount; ++i) {
    expected += KeySettingName(i) + "=" + std::to_string(keyMap[i]) + "\r\n";
  }
  EXPECT_EQ(ReadKeyset(), expected);
  EXPECT_EQ(KeySettingName(7), "KEYCODE007");
  EXPECT_EQ(KeySettingName(327), "KEYCODE327");

  KeyMapTable loaded = Filled(0);
  EXPECT_TRUE(LoadKeySettings(loaded, root_));
  EXPECT_EQ(loaded, keyMap);
}

TEST_F(KeySettingsTest, SaveThatCannotWriteSaysSo) {
  KeyMapTable keyMap;
  DefaultKeySettings(keyMap);
  EXPECT_FALSE(SaveKeySettings(keyMap, root_ + "/missing/folder"));
}

TEST_F(KeySettingsTest, KeyboardLayoutReadsPairsInOrder) {
  std::vector<TextValue> values;
  for (int i = 0; i < kKeyboardLayoutEntries; ++i) {
    values.emplace_back(static_cast<int16_t>(i * 3));
    values.emplace_back(static_cast<int16_t>(-i));
  }
  const std::vector<uint8_t> packed = PackText(values);
  std::ofstream(root_ + "/keyboard.zxt", std::ios::binary)
      .write(reinterpret_cast<const char*>(packed.data()),
             static_cast<std::streamsize>(packed.size()));
  ErrorLog log;
  const auto layout = LoadKeyboardLayout(root_, &log);
  ASSERT_TRUE(layout.has_value());
  EXPECT_TRUE(log.Empty());
  EXPECT_EQ((*layout)[0].X, 0);
  EXPECT_EQ((*layout)[256].X, 768);
  EXPECT_EQ((*layout)[256].Y, -256);
  EXPECT_EQ((*layout)[100].Y, -100);
}

TEST_F(KeySettingsTest, BrokenKeyboardLayoutIsALoadFailure) {
  std::vector<TextValue> shortByOne;
  for (int i = 0; i < 2 * kKeyboardLayoutEntries - 1; ++i) shortByOne.emplace_back(int16_t{1});
  std::vector<TextValue> withText = shortByOne;
  withText.insert(withText.begin() + 10, std::string("Esc"));
  std::vector<uint8_t> cut = PackText(shortByOne);
  cut.resize(cut.size() / 2);

  const std::vector<std::vector<uint8_t>> files = {PackText(shortByOne), PackText(withText), cut};
  for (const auto& bytes : files) {
    std::ofstream(root_ + "/keyboard.zxt", std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    ErrorLog log;
    EXPECT_FALSE(LoadKeyboardLayout(root_, &log).has_value());
    EXPECT_NE(log.Text().find("keyboard.zxt"), std::string::npos);
  }
  fs::remove(root_ + "/keyboard.zxt");
  ErrorLog log;
  EXPECT_FALSE(LoadKeyboardLayout(root_, &log).has_value());
  EXPECT_NE(log.Text().find(kLoadFailedSuffix), std::string::npos);
}

}  // namespace
}  // namespace tessaru
