#include "tools/json_records.h"

#include <limits>

#include "content/part_file.h"
#include "tools/commands.h"

namespace tessaru {

using Json = nlohmann::ordered_json;

Json SongJson(const SongRecord& song) {
  return Json{{"Title", song.Title},         {"Artist", song.Artist},
              {"Genre", song.Genre},         {"Level", song.Level},
              {"Bpm", song.Bpm},             {"Bars", song.Bars},
              {"IntroBars", song.IntroBars}, {"BgmOffset", song.BgmOffset},
              {"Bgm", song.Bgm},             {"PartCount", song.PartCount},
              {"PartFiles", song.PartFiles}, {"PartLinks", song.PartLinks},
              {"Anime", song.Anime},         {"TempoCount", song.TempoCount},
              {"TempoTicks", song.TempoTicks}, {"TempoBpms", song.TempoBpms}};
}

Json PartJson(const PartRecord& part, bool tables) {
  Json json{{"Name", part.Name},           {"Kind", part.Kind},
            {"PartLevel", part.PartLevel}, {"ChipTotal", part.ChipTotal},
            {"IconIndex", part.IconIndex}, {"FlagWord", part.FlagWord},
            {"PlayType", part.PlayType},   {"Bars", part.Bars},
            {"SoundCount", part.SoundCount}, {"SoundFiles", part.SoundFiles},
            {"SoundPan", part.SoundPan},   {"SoundVolume", part.SoundVolume}};
  if (tables) {
    json["StepWords"] = part.StepWords;
    json["ChipTicks"] = part.ChipTicks;
    json["ChipSounds"] = part.ChipSounds;
    json["ChipWordsC"] = part.ChipWordsC;
    json["ChipWordsB"] = part.ChipWordsB;
  } else {
    json["ChipSteps"] = CountChipSteps(part);
  }
  return json;
}

Json DanceJson(const DanceRecord& dance) {
  Json frames = Json::array();
  for (const auto& f : dance.Frames) {
    frames.push_back(Json{{"Duration", f.Duration}, {"Picture", f.Picture}, {"V1", f.V1},
                          {"V2", f.V2}, {"V3", f.V3}, {"V4", f.V4}, {"V5", f.V5}, {"V6", f.V6}});
  }
  return Json{{"PictureCount", dance.PictureCount},
              {"Pictures", dance.Pictures},
              {"PatternCount", dance.PatternCount},
              {"PatternLengths", dance.PatternLengths},
              {"PatternFirst", dance.PatternFirst},
              {"PatternDurations", dance.PatternDurations},
              {"Frames", frames}};
}

Json BgaJson(const BgaRecord& bga) {
  Json objs = Json::array();
  for (const auto& o : bga.Objs) {
    objs.push_back(Json{{"Name", o.Name}, {"Picture", o.Picture}, {"O1", o.O1}, {"O2", o.O2},
                        {"O3", o.O3}, {"O4", o.O4}, {"O5", o.O5}});
  }
  Json aobjs = Json::array();
  for (const auto& a : bga.AObjs) {
    aobjs.push_back(Json{{"Name", a.Name}, {"AnimType", a.AnimType}, {"A", a.A}});
  }
  Json progs = Json::array();
  for (const auto& q : bga.Progs) {
    progs.push_back(Json{{"Name", q.Name}, {"StartTime", q.StartTime}, {"ProgA", q.ProgA},
                         {"ProgB", q.ProgB}, {"ProgC", q.ProgC}, {"Q", q.Q}});
  }
  return Json{{"PictureCount", bga.PictureCount}, {"ObjCount", bga.ObjCount},
              {"AObjCount", bga.AObjCount},       {"ProgCount", bga.ProgCount},
              {"Pictures", bga.Pictures},         {"Objs", objs},
              {"AObjs", aobjs},                   {"Progs", progs}};
}

namespace {

template <typename T>
T Number(const nlohmann::json& json, const char* key, T fallback) {
  if (!json.contains(key)) return fallback;
  const auto& value = json.at(key);
  if (!value.is_number_integer()) throw CommandFailure(std::string(key) + " must be an integer");
  const auto n = value.get<int64_t>();
  if (n < std::numeric_limits<T>::min() || n > std::numeric_limits<T>::max()) {
    throw CommandFailure(std::string(key) + " is out of range: " + std::to_string(n));
  }
  return static_cast<T>(n);
}

template <typename T>
void Table(const nlohmann::json& json, const char* key, std::vector<T>& out) {
  if (!json.contains(key)) return;
  const auto& array = json.at(key);
  if (!array.is_array()) throw CommandFailure(std::string(key) + " must be an array");
  out.clear();
  for (const auto& item : array) {
    nlohmann::json wrapper{{key, item}};
    out.push_back(Number<T>(wrapper, key, T{}));
  }
}

}  // namespace

PartRecord PartFromJson(const nlohmann::json& d) {
  if (!d.is_object()) throw CommandFailure("a part description must be a JSON object");
  PartRecord part;
  InitPartRecord(part, Number<int16_t>(d, "Kind", 0), Number<int16_t>(d, "Bars", 1));
  if (d.contains("Name")) part.Name = d.at("Name").get<std::string>();
  part.PartLevel = Number<int16_t>(d, "PartLevel", part.PartLevel);
  part.ChipTotal = Number<int16_t>(d, "ChipTotal", part.ChipTotal);
  part.IconIndex = Number<int16_t>(d, "IconIndex", part.IconIndex);
  part.FlagWord = Number<int16_t>(d, "FlagWord", part.FlagWord);
  part.PlayType = Number<int16_t>(d, "PlayType", part.PlayType);
  if (d.contains("SoundFiles")) {
    part.SoundFiles = d.at("SoundFiles").get<std::vector<std::string>>();
    part.SoundCount = static_cast<int16_t>(part.SoundFiles.size());
    part.SoundPan.assign(part.SoundFiles.size(), 0);
    part.SoundVolume.assign(part.SoundFiles.size(), 0);
  }
  Table(d, "SoundPan", part.SoundPan);
  Table(d, "SoundVolume", part.SoundVolume);
  Table(d, "StepWords", part.StepWords);
  Table(d, "ChipTicks", part.ChipTicks);
  Table(d, "ChipSounds", part.ChipSounds);
  Table(d, "ChipWordsC", part.ChipWordsC);
  Table(d, "ChipWordsB", part.ChipWordsB);
  const size_t steps = static_cast<size_t>(part.Bars) * kStepsPerBar;
  if (part.StepWords.size() != steps || part.ChipSounds.size() != steps * kSlotsPerStep ||
      part.ChipTicks.size() != steps * kSlotsPerStep ||
      part.ChipWordsB.size() != steps * kSlotsPerStep ||
      part.ChipWordsC.size() != steps * kSlotsPerStep) {
    throw CommandFailure("step and slot tables must hold Bars * 16 and Bars * 64 entries");
  }
  if (part.SoundPan.size() != part.SoundFiles.size() ||
      part.SoundVolume.size() != part.SoundFiles.size()) {
    throw CommandFailure("SoundPan and SoundVolume must have one entry per sound file");
  }
  if (d.contains("Chips")) {
    for (const auto& chip : d.at("Chips")) {
      if (!chip.is_array() || chip.size() != 3) throw CommandFailure("a chip is [step, lane, sound]");
      const auto step = chip[0].get<int64_t>();
      const auto lane = chip[1].get<int64_t>();
      const auto sound = chip[2].get<int64_t>();
      if (step < 0 || static_cast<size_t>(step) >= steps) {
        throw CommandFailure("chip step " + std::to_string(step) + " is outside the part");
      }
      if (lane < 1 || lane > 4) throw CommandFailure("chip lane must be 1..4");
      if (sound < 0 || sound >= part.SoundCount) {
        throw CommandFailure("chip sound " + std::to_string(sound) + " is not in the sound table");
      }
      const auto s = static_cast<size_t>(step);
      // A step carries one chip: its sounds share the lane.
      if (part.StepWords[s] != 0 && part.StepWords[s] != lane) {
        throw CommandFailure("step " + std::to_string(step) + " already has a chip on lane " +
                             std::to_string(part.StepWords[s]));
      }
      part.StepWords[s] = static_cast<int16_t>(lane);
      size_t slot = s * kSlotsPerStep;
      while (slot < (s + 1) * kSlotsPerStep && part.ChipSounds[slot] != -1) ++slot;
      if (slot == (s + 1) * kSlotsPerStep) {
        throw CommandFailure("step " + std::to_string(step) + " has more than four sounds");
      }
      part.ChipSounds[slot] = static_cast<int16_t>(sound);
    }
  }
  return part;
}

std::string JsonText(const Json& json) {
  return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace tessaru
