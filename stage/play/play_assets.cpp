#include "stage/play/play_assets.h"

#include <algorithm>

#include "content/data_files.h"
#include "core/paths.h"
#include "layout/play_layout.h"
#include "stage/play/stage_audio.h"

namespace tessaru {
namespace {

constexpr char kWorkPageFailure[] = "ビデオメモリ不足のため画像保存領域の確保に失敗しました。";
constexpr char kDanceMemoryFailure[] = "メモリ不足のためキャラダンスの画像保存領域の確保に失敗しました。";
constexpr char kBgaMemoryFailure[] = ".z4bの読み込みでメモリ不足のため画像保存領域の確保に失敗しました。";

SurfaceIndex NewPage(StageContext& c, PlayAssets& a) {
  const SurfaceIndex page = c.Graph.NewSurface(0, 0);
  if (page >= 0) a.OwnedPages.push_back(page);
  return page;
}

// Loads an image into a fresh page. -2 when no page could be made; -1 (with the load
// failure line, and the page given back) when the image cannot be read.
SurfaceIndex LoadPage(StageContext& c, PlayAssets& a, const std::string& path, bool logFailure = true) {
  const SurfaceIndex page = NewPage(c, a);
  if (page < 0) return -2;
  std::string name = path;
  if (c.Graph.LoadSurfaceImage(page, name)) return page;
  if (logFailure) c.Errors.AddLoadFailure(path);
  if (!a.OwnedPages.empty() && a.OwnedPages.back() == page) {
    a.OwnedPages.pop_back();
    c.Graph.ReleaseLastSurface();
  }
  return -1;
}

std::string SongFolder(const StageContext& c) { return FolderOf(c.SongPath); }

bool LoadChipSheet(StageContext& c, PlayAssets& a) {
  const auto candidates = ChipSheetCandidates(c.DataPath, c.SongPath, a.Resolution, c.Settings.SKIN_H);
  for (size_t i = 0; i < candidates.size(); ++i) {
    const bool last = i + 1 == candidates.size();
    const SurfaceIndex page = LoadPage(c, a, candidates[i], last);
    if (page == -2) {
      c.Errors.Add(c.SongPath + kWorkPageFailure);
      return false;
    }
    if (page >= 0) {
      a.ChipSheet = page;
      return true;
    }
  }
  return false;
}

bool LoadDances(StageContext& c, PlayAssets& a) {
  if (c.Settings.DRAWDANCE != 0) return true;
  if (!LoadDanceList(a.Dances, c.DataPath, a.Resolution)) {
    c.Errors.AddLoadFailure(JoinLogical(c.DataPath, data_files::kDanceListTable));
    a.Dances = {};
    return true;
  }
  // Two players on the same character share its pictures.
  std::map<int, std::vector<SurfaceIndex>> loaded;
  for (int p = 0; p < 2; ++p) {
    const int index = c.Setup.PlayerPart[p];
    if (index < 0 || index >= a.Dances.DanceCount || static_cast<size_t>(index) >= a.Dances.Dances.size()) continue;
    const DanceRecord& dance = a.Dances.Dances[static_cast<size_t>(index)];
    auto& view = a.DanceViews[p];
    view.Dance = &dance;
    if (auto it = loaded.find(index); it != loaded.end()) {
      view.Pages = it->second;
      continue;
    }
    const size_t pictures = std::min(dance.Pictures.size(), static_cast<size_t>(std::max<int16_t>(dance.PictureCount, 0)));
    for (size_t k = 0; k < pictures; ++k) {
      if (dance.Pictures[k].empty()) {
        view.Pages.push_back(-1);
        continue;
      }
      const SurfaceIndex page = LoadPage(c, a, c.DataPath + "\\dance\\" + dance.Pictures[k]);
      if (page == -2) {
        c.Errors.Add(kDanceMemoryFailure);
        return false;
      }
      view.Pages.push_back(page);
    }
    loaded[index] = view.Pages;
  }
  return true;
}

std::string BgaPath(const StageContext& c, int16_t resolution) {
  const bool low = resolution == kLowResolution;
  if (c.Song.Anime.empty()) return StripExtension(c.SongPath) + (low ? "s.z4b" : ".z4b");
  const std::string name = low ? StripExtension(c.Song.Anime) + "s.z4b" : c.Song.Anime;
  return JoinLogical(SongFolder(c), name);
}

bool LoadBackground(StageContext& c, PlayAssets& a) {
  const int16_t drawBack = c.Settings.DRAWBACK;
  if (drawBack == 0) {
    const std::string path = BgaPath(c, a.Resolution);
    a.HasBga = LoadBga(a.Bga, path);
    if (a.HasBga) {
      const size_t pictures = std::min(a.Bga.Pictures.size(), static_cast<size_t>(std::max<int16_t>(a.Bga.PictureCount, 0)));
      for (size_t k = 0; k < pictures; ++k) {
        const SurfaceIndex page = LoadPage(c, a, JoinLogical(SongFolder(c), a.Bga.Pictures[k]));
        if (page == -2) {
          c.Errors.Add(StripExtension(path) + kBgaMemoryFailure);
          return false;
        }
        a.BgaPages.push_back(page);
      }
    }
  }
  // The wallpaper stands in for a song without animation, or replaces it by choice.
  if (drawBack == 1 || (drawBack == 0 && !a.HasBga)) {
    const SurfaceIndex page = LoadPage(c, a, JoinLogical(c.DataPath, data_files::kMenuBack));
    if (page == -2) {
      c.Errors.Add(c.SongPath + kWorkPageFailure);
      return false;
    }
    a.Wallpaper = page;
  }
  return true;
}

SoundSlot LoadSound(StageContext& c, PlayAssets& a, const std::string& path, int32_t pan, int32_t volume) {
  const SoundSlot slot = c.Sound.LoadPackedWave(path, pan, volume);
  if (slot < 0) {
    c.Errors.AddLoadFailure(path);
    return -1;
  }
  a.OwnedSounds.push_back(slot);
  return slot;
}

void LoadSounds(StageContext& c, PlayAssets& a) {
  const UserSettings& s = c.Settings;
  if (s.SOUNDING == 0 && !c.Song.Bgm.empty()) {
    a.Track = LoadSound(c, a, JoinLogical(SongFolder(c), c.Song.Bgm), 0, VolumeToAttenuation(s.BGMVOLUME));
  }
  a.PartSlots.assign(c.Parts.size(), {});
  if (s.SOUNDING < 3) {
    const int32_t playerAttenuation = VolumeToAttenuation(s.PLAYERVOLUME);
    for (size_t i = 0; i < c.Parts.size(); ++i) {
      const auto index = static_cast<int16_t>(i);
      const bool played = index == c.Setup.PlayerPart[0] || index == c.Setup.PlayerPart[1];
      // PLAYER ONLY leaves the automatic parts silent.
      if (s.SOUNDING == 2 && !played) continue;
      const PartRecord& part = c.Parts[i];
      const size_t count = std::min(part.SoundFiles.size(), static_cast<size_t>(std::max<int16_t>(part.SoundCount, 0)));
      auto& slots = a.PartSlots[i];
      slots.assign(count, -1);
      for (size_t k = 0; k < count; ++k) {
        if (part.SoundFiles[k].empty()) continue;
        const int32_t pan = k < part.SoundPan.size() ? part.SoundPan[k] : 0;
        const int32_t volume = k < part.SoundVolume.size() ? part.SoundVolume[k] : 0;
        slots[k] = LoadSound(c, a, JoinLogical(SongFolder(c), part.SoundFiles[k]), pan,
                             std::clamp(volume + playerAttenuation, -10000, 0));
      }
    }
    a.Ready = LoadSound(c, a, JoinLogical(c.DataPath, data_files::kReadyCall), 0, 0);
  }
}

}  // namespace

std::vector<std::string> ChipSheetCandidates(const std::string& dataPath, const std::string& songPath,
                                             int16_t resolution, int16_t skin) {
  const std::string folder = FolderOf(songPath);
  const auto shared = [&](std::string_view sheet) { return JoinLogical(dataPath, sheet); };
  if (resolution == kLowResolution) return {folder + "\\chips.bmp", shared(data_files::kChipSheetLow)};
  switch (skin) {
    case 0: return {folder + "\\chip.bmp", shared(data_files::kChipSheet)};
    case 1: return {shared(data_files::kChipSheetBlue), shared(data_files::kChipSheet)};
    default: return {shared(data_files::kChipSheetTwoColour), shared(data_files::kChipSheet)};
  }
}

bool LoadPlayAssets(StageContext& c, PlayAssets& a) {
  a.Work = NewPage(c, a);
  if (a.Work < 0) {
    c.Errors.Add(c.SongPath + kWorkPageFailure);
    return false;
  }
  if (!LoadChipSheet(c, a)) return false;
  const bool low = a.Resolution == kLowResolution;
  const SurfaceIndex sheet = LoadPage(c, a, JoinLogical(c.DataPath, low ? data_files::kPlaySheetLow : data_files::kPlaySheet));
  if (sheet == -2) {
    c.Errors.Add(c.SongPath + kWorkPageFailure);
    return false;
  }
  a.PlaySheet = sheet;
  if (!LoadDances(c, a)) return false;
  if (!LoadBackground(c, a)) return false;
  LoadSounds(c, a);
  return true;
}

SoundSlot LoadStageSound(StageContext& c, PlayAssets& a, const std::string& relative) {
  return LoadSound(c, a, c.DataPath + relative, 0, 0);
}

void ReleasePlayAssets(StageContext& c, PlayAssets& a) {
  for (SoundSlot slot : a.OwnedSounds) c.Sound.ReleaseSound(slot);
  a.OwnedSounds.clear();
  // Pages go from the top of the pool down, so pages made by others stay where they are.
  std::sort(a.OwnedPages.begin(), a.OwnedPages.end());
  while (!a.OwnedPages.empty() && a.OwnedPages.back() == c.Graph.SurfaceCount() - 1) {
    c.Graph.ReleaseLastSurface();
    a.OwnedPages.pop_back();
  }
  a.OwnedPages.clear();
}

}  // namespace tessaru
