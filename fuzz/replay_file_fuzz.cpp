// Replay files: read or refuse, never crash; what is read keeps the reader's promises
// and survives being written again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "persist/replay_file.h"

namespace {

bool Sound(const tessaru::ReplayRecord& r, bool headerOnly) {
  if (r.EventCount < 0 || r.EventCount > tessaru::kReplayMaxEvents || r.Version < 0 || r.Version > 2) return false;
  if (headerOnly) return r.EvTick.empty();
  const auto n = static_cast<size_t>(r.EventCount);
  if (r.EvTick.size() != n || r.EvLane.size() != n || r.EvStep.size() != n || r.EvJudge.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    if (r.EvTick[i] < 0 || (i > 0 && r.EvTick[i] < r.EvTick[i - 1])) return false;
    if (r.EvLane[i] < 1 || r.EvLane[i] > 4 || r.EvJudge[i] < 0 || r.EvJudge[i] > 5 || r.EvStep[i] < 0) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string reason;
  for (bool headerOnly : {true, false}) {
    tessaru::ReplayRecord r;
    if (!tessaru::DecodeReplay(text, r, headerOnly, reason)) continue;
    if (!Sound(r, headerOnly)) __builtin_trap();
    if (headerOnly) continue;
    const std::string again = tessaru::EncodeReplay(r, "", reason);
    tessaru::ReplayRecord back;
    if (!again.empty() && (!tessaru::DecodeReplay(again, back, false, reason) || back.EvTick != r.EvTick ||
                           back.EvLane != r.EvLane || back.EvJudge != r.EvJudge || back.EvStep != r.EvStep)) {
      __builtin_trap();
    }
  }
  return 0;
}
