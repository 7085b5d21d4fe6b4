#include "stage/play/stage_replays.h"

#include "stage/replay_playback.h"

namespace tessaru {

void LoadStageReplays(StageContext& c) {
  for (size_t p = 0; p < 2; ++p) {
    if (!c.Setup.ReplayPlayback[p]) continue;
    const std::string& file = c.ReplayFiles[p];
    ReplayRecord& replay = c.Setup.Replays[p];
    std::string reason;
    const int16_t part = c.Setup.PlayerPart[p];
    bool ok = LoadReplay(file, replay, false, &reason);
    if (ok) {
      if (part < 0 || static_cast<size_t>(part) >= c.Parts.size()) {
        ok = false;
        reason = "no part " + std::to_string(part) + " in the song";
      } else {
        ok = ReplayFitsChart(replay, part, c.Parts[static_cast<size_t>(part)], reason);
      }
    }
    if (!ok) {
      c.Errors.Add(file + std::string(kLoadFailedSuffix) + " (" + reason + ")");
      c.Setup.ReplayPlayback[p] = false;
      replay = ReplayRecord{};
    }
  }
}

void SaveStageReplays(StageContext& c, const Stage& stage, const std::array<bool, 2>& requested) {
  for (size_t p = 0; p < 2; ++p) {
    ReplayRecord& capture = c.Outcome.Captures[p];
    capture = stage.Capture(static_cast<int>(p));
    capture.SongPath = c.SongPath;
    if (!requested[p]) continue;
    std::string reason;
    const std::string folder = c.ProgramFolder.empty() ? c.DataPath : c.ProgramFolder;
    c.Outcome.SavedReplays[p] = SaveReplay(folder, c.DataPath, capture, reason);
    if (c.Outcome.SavedReplays[p].empty()) c.Errors.Add("replay of " + c.SongPath + ": " + reason);
  }
}

}  // namespace tessaru
