#include "persist/key_settings.h"

#include <string>

#include "content/packed.h"
#include "core/numbers.h"
#include "core/paths.h"
#include "persist/ini_file.h"

namespace tessaru {
namespace {

struct DefaultKey {
  int input;
  int16_t function;
};
constexpr DefaultKey kDefaultKeys[] = {
    {kVkEnter, 0}, {kVkDelete, 5}, {'Z', 1}, {'X', 2}, {'C', 3}, {'V', 4},
    {'M', 6},      {188, 7},       {190, 8}, {191, 9},
};

// The menus need these two whatever the file says.
void ForceFixedKeys(KeyMapTable& keyMap) {
  keyMap[kVkEnter] = 0;
  keyMap[kVkDelete] = 5;
}

}  // namespace

std::string KeySettingName(int input) { return "KEYCODE" + ZeroPadNumber(input, 3); }

void DefaultKeySettings(KeyMapTable& keyMap) {
  keyMap.fill(kNoFunction);
  for (const DefaultKey& key : kDefaultKeys) keyMap[key.input] = key.function;
}

bool LoadKeySettings(KeyMapTable& keyMap, std::string_view programFolder, ErrorLog* log) {
  const std::string path = JoinLogical(programFolder, kKeySettingsFile);
  const IniFile file(path);
  if (file.State() == IniFile::Source::Unreadable && log != nullptr) {
    log->Add(path + "を読めませんでした。標準のキー設定で起動します。");
  }
  bool anyKey = false;
  if (file.Exists()) {
    for (int i = 0; i < KeyCount && !anyKey; ++i) {
      anyKey = file.Find(kKeySettingsSection, KeySettingName(i)).has_value();
    }
  }
  if (!anyKey) {
    DefaultKeySettings(keyMap);
    return false;
  }

  for (int i = 0; i < KeyCount; ++i) {
    keyMap[i] = kNoFunction;
    const std::string name = KeySettingName(i);
    const std::string value = file.Get(kKeySettingsSection, name, "E");
    if (value.starts_with('E')) continue;
    // Text without a number reads as 0, as every number in the INI files does. Beyond -1
    // (none) and the codes the function table holds, a value would drive nothing that
    // exists, so it is refused rather than wrapped into some other function.
    const double number = LeadingNumber(value);
    if (!(number > -1.5 && number < kFunctionCodes - 0.5)) {
      if (log != nullptr) {
        log->Add(std::string(kKeySettingsFile) + ": " + name + "=" + value +
                 " is not a function code; the input is left unassigned");
      }
      continue;
    }
    const int64_t code = RoundHalfEven(number);
    keyMap[i] = static_cast<int16_t>(code);
  }
  ForceFixedKeys(keyMap);
  return true;
}

bool SaveKeySettings(const KeyMapTable& keyMap, std::string_view programFolder) {
  IniFile file = IniFile::CreateAnew(JoinLogical(programFolder, kKeySettingsFile));
  for (int i = 0; i < KeyCount; ++i) {
    file.Set(kKeySettingsSection, KeySettingName(i), NumberText(int64_t{keyMap[i]}));
  }
  return file.Save();
}

std::optional<KeyboardLayout> LoadKeyboardLayout(std::string_view dataPath, ErrorLog* log) {
  const std::string path = JoinLogical(dataPath, kKeyboardLayoutFile);
  std::optional<FieldReader> in = OpenPackedText(path);
  if (!in) {
    if (log != nullptr) log->AddLoadFailure(path);
    return std::nullopt;
  }
  KeyboardLayout layout;
  bool complete = true;
  for (KeyboardLayoutEntry& entry : layout) {
    if (!in->ReadInt16(entry.X) || !in->ReadInt16(entry.Y)) {
      complete = false;
      break;
    }
  }
  if (!complete) {
    if (log != nullptr) log->AddLoadFailure(path);
    return std::nullopt;
  }
  return layout;
}

}  // namespace tessaru
