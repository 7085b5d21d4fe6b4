#include "flow/menu_sound.h"

#include <string>

#include "content/data_files.h"

namespace tessaru {
namespace {

struct OutputFormat {
  int16_t Bits;
  int32_t Rate;
};

OutputFormat FormatFor(int16_t quality) {
  switch (quality) {
    case -2: return {16, 44100};
    case -1: return {16, 22050};
    default: return {8, 22050};
  }
}

}  // namespace

bool SetupSoundOutput(Game& game) {
  if (!game.Sound.IsSoundOpen()) return false;
  int16_t& quality = game.Settings.SNDPLAYQUALITY;
  // A value below the best format (a hand edit) starts at the best format.
  if (quality < -2) quality = -2;
  while (quality <= 0) {
    const OutputFormat f = FormatFor(quality);
    if (game.Sound.SetPrimaryFormat(true, f.Bits, f.Rate, 2)) return true;
    ++quality;
  }
  if (game.Sound.SetPrimaryFormat(false, 16, 22050, 2)) return true;
  game.Errors.Add("出力サウンド音質の設定に失敗しました");
  return false;
}

SoundSlot LoadScreenSound(Game& game, std::string_view relative) {
  const std::string path = DataFile(game, relative);
  const SoundSlot slot = game.Sound.LoadPackedWave(path, 0, 0);
  if (slot < 0 && game.Sound.IsSoundOpen()) game.Errors.AddLoadFailure(path);
  return slot;
}

void LoadMenuSounds(Game& game) {
  game.MenuSounds = {-1, -1};
  game.SelectBgmBuffer = -1;
  if (game.Settings.SOUNDING > 0) return;
  const std::string_view kEffects[2] = {data_files::kCursorSound, data_files::kDecideSound};
  for (int i = 0; i < 2; ++i) {
    const std::string path = DataFile(game, kEffects[i]);
    game.MenuSounds[static_cast<size_t>(i)] = game.Sound.LoadMultiCopyWave(path, 0, 0);
    if (game.MenuSounds[static_cast<size_t>(i)] < 0) game.Errors.AddLoadFailure(path);
  }
  game.SelectBgmBuffer = LoadScreenSound(game, data_files::kMenuMusic);
}

void KeepMenuBgm(Game& game) {
  const SoundSlot bgm = game.SelectBgmBuffer;
  if (game.Settings.SOUNDING > 0 || bgm < 0) return;
  if (game.Sound.GetSoundStatus(bgm) != kSoundStopped) return;
  game.Sound.SetSoundPositionMs(bgm, kMenuBgmRepeatMs);
  game.Sound.PlaySound(bgm, false, false);
}

void ReloadMenuSoundsIfChanged(Game& game, int16_t previousSounding) {
  if ((previousSounding > 0) == (game.Settings.SOUNDING > 0)) return;
  for (SoundSlot& slot : game.MenuSounds) {
    if (slot >= 0) game.Sound.ReleaseSound(slot);
  }
  if (game.SelectBgmBuffer >= 0) game.Sound.ReleaseSound(game.SelectBgmBuffer);
  LoadMenuSounds(game);
}

void StartMenuBgm(Game& game) {
  const SoundSlot bgm = game.SelectBgmBuffer;
  if (bgm < 0 || game.Sound.GetSoundStatus(bgm) != kSoundStopped) return;
  game.Sound.PlaySound(bgm, true, false);
}

void StopMenuBgm(Game& game) {
  if (game.SelectBgmBuffer >= 0) game.Sound.StopSound(game.SelectBgmBuffer);
}

void PlayMenuSound(Game& game, int which) {
  const SoundSlot slot = game.MenuSounds[static_cast<size_t>(which)];
  if (slot >= 0) game.Sound.PlaySound(slot, true, false);
}

}  // namespace tessaru
