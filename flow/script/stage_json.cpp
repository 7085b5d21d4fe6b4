#include "flow/script/stage_json.h"

#include "stage/hit_timing.h"

namespace tessaru {

nlohmann::ordered_json TimingJson(std::span<const double> deltas) {
  const HitTiming t = SummarizeHitTiming(deltas);
  nlohmann::ordered_json json;
  json["Median"] = t.Count > 0 ? nlohmann::ordered_json(t.Median) : nlohmann::ordered_json(nullptr);
  json["Spread"] = t.Count > 0 ? nlohmann::ordered_json(t.Spread()) : nlohmann::ordered_json(nullptr);
  json["Suggested"] = t.Suggested ? nlohmann::ordered_json(*t.Suggested) : nlohmann::ordered_json(nullptr);
  return json;
}

nlohmann::ordered_json OutcomePlayerJson(const StagePlayerOutcome& p) {
  nlohmann::ordered_json json;
  json["JudgeCount"] = p.JudgeCount;
  json["StagePoints"] = p.StagePoints;
  json["TourTotal"] = p.TourTotal;
  json["StageScore"] = p.StageScore;
  json["Gauge"] = p.Gauge;
  json["MaxCombo"] = p.MaxCombo;
  json["ComboCount"] = p.ComboCount;
  json["KnockedOut"] = p.KnockedOut;
  json["Timing"] = TimingJson(p.PressDeltas);
  return json;
}

}  // namespace tessaru
