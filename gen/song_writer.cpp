#include "gen/song_writer.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

#include "content/part_file.h"
#include "content/song_file.h"
#include "core/file_access.h"
#include "gen/charts.h"
#include "gen/song_art.h"
#include "gen/synth.h"

namespace tessaru::gen {
namespace {

constexpr int kTrackRate = 11025;
// Everything together peaks here, leaving room below -1 dBFS.
constexpr double kTargetPeakDbfs = -1.5;
// Low and soft parts keep fewer samples a second; the data folder has a size budget.
constexpr int kPartRates[10] = {22050, 11025, 22050, 22050, 22050, 22050, 16000, 16000, 22050, 11025};
int RateOfPart(int kind) { return kPartRates[std::clamp(kind, 0, 9)]; }

std::string PartFileName(int i) { return "part" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".z4p"; }

std::vector<float> RenderTrack(const std::vector<NoteEvent>& notes, const TempoMap& tempo, double totalMs) {
  std::vector<float> track(static_cast<size_t>(totalMs / 1000.0 * kTrackRate) + kTrackRate, 0.0f);
  for (const NoteEvent& n : notes) {
    const double start = tempo.StepToMs(n.step);
    const double len = tempo.StepToMs(n.step + n.lengthSteps) - start;
    const std::vector<float> s = RenderNote(n.instrument, n.midi, len / 1000.0, n.velocity, kTrackRate,
                                            len / 1000.0 + 1.0);
    MixInto(track, 1, s, static_cast<size_t>(start / 1000.0 * kTrackRate));
  }
  AddReverb(track, kTrackRate, 0.35);
  return track;
}

void Scale(std::vector<float>& v, float g) {
  for (float& s : v) s *= g;
}

// The lesson of the tutorial: lane 1 alone, then lanes 1 and 2, then all four in turn,
// then the bass line as it is, a little denser at the end.
ChartOptions TutorialLesson(const PartMusic& bass, int bars) {
  ChartOptions o;
  o.level = 1;
  o.kind = 1;
  std::set<int> onsets;
  for (const auto& n : bass.notes) onsets.insert(n.step);
  int lessonStep = 0;
  for (int bar = 2; bar < std::min(bars, 62); ++bar) {
    const int every = bar < 26 ? 8 : bar < 42 ? 4 : 2;
    for (int s = 0; s < 16; s += every) {
      const int step = bar * 16 + s;
      if (!onsets.count(step)) continue;
      o.forcedSteps.push_back(step);
      if (bar < 10) o.forcedLanes[step] = 1;
      else if (bar < 18) o.forcedLanes[step] = 1 + (lessonStep % 2);
      else if (bar < 26) o.forcedLanes[step] = 1 + (lessonStep % 4);
      ++lessonStep;
    }
  }
  return o;
}

}  // namespace

std::string SongListPath(const SongPlan& plan) {
  return "songs\\" + plan.folder + "\\" + plan.folder + ".z4s";
}

SongReport WriteSong(SongPlan plan, DataWriter& out, const std::string& previewFolder) {
  Compose(plan);
  const TempoMap tempo(plan.tempo);
  const std::string folder = "songs/" + plan.folder + "/";
  const int partCount = plan.firstVersion ? 8 : 10;
  SampleBank bank;
  SongReport report;
  report.title = plan.title;

  std::vector<Chart> charts;
  for (int i = 0; i < partCount; ++i) {
    ChartOptions o;
    o.level = plan.parts[static_cast<size_t>(i)].targetLevel;
    o.kind = i;
    o.rate = RateOfPart(i);
    charts.push_back(BuildChart(plan.parts[static_cast<size_t>(i)], plan.bars, tempo, bank, o));
  }
  // The first song-file version has no files for parts 8 and 9: their music joins the track.
  std::vector<NoteEvent> trackNotes = plan.background;
  for (int i = partCount; i < 10; ++i)
    trackNotes.insert(trackNotes.end(), plan.parts[static_cast<size_t>(i)].notes.begin(),
                      plan.parts[static_cast<size_t>(i)].notes.end());
  std::vector<Chart> extensions;
  for (size_t i = 0; i < plan.extensions.size(); ++i) {
    ChartOptions o;
    o.level = 8;
    o.kind = 8;
    extensions.push_back(BuildChart(plan.extensions[i], plan.bars, tempo, bank, o));
  }
  // Beginner charts: the easiest part of the first group at the lowest density.
  std::vector<Chart> extras;
  std::vector<std::pair<std::string, Chart*>> extraFiles;
  int beginnerPart = 0;
  if (plan.index <= 7) {
    for (int i = 1; i < 4; ++i)
      if (charts[static_cast<size_t>(i)].record.PartLevel < charts[static_cast<size_t>(beginnerPart)].record.PartLevel)
        beginnerPart = i;
    ChartOptions o;
    o.level = 0;
    o.kind = beginnerPart;
    o.rate = RateOfPart(beginnerPart);
    extras.push_back(BuildChart(plan.parts[static_cast<size_t>(beginnerPart)], plan.bars, tempo, bank, o));
  }
  if (plan.index == 0) {
    ChartOptions lesson = TutorialLesson(plan.parts[1], plan.bars);
    lesson.rate = RateOfPart(1);
    extras.push_back(BuildChart(plan.parts[1], plan.bars, tempo, bank, lesson));
    ChartOptions o;
    o.level = 2;
    o.kind = 5;
    o.rate = RateOfPart(5);
    extras.push_back(BuildChart(plan.parts[5], plan.bars, tempo, bank, o));
  }
  // Rapid mode: every note its own chip, for every song of the tours the RAPID mode walks.
  std::vector<Chart> rapid;
  if (plan.index <= 8) {
    for (int i = 0; i < partCount; ++i) {
      ChartOptions o;
      o.level = 8;
      o.kind = i;
      o.rate = RateOfPart(i);
      rapid.push_back(BuildChart(plan.parts[static_cast<size_t>(i)], plan.bars, tempo, bank, o));
    }
  }

  // Level the whole song: every part sounded at its chips plus the track.
  const double totalMs = tempo.StepToMs(plan.bars * 16) + 2000;
  std::vector<float> track = RenderTrack(trackNotes, tempo, totalMs);
  constexpr int kMixRate = 44100;
  std::vector<float> mix = Resample(track, kTrackRate, kMixRate);
  auto addChart = [&](const Chart& c) {
    for (size_t k = 0; k < c.chipSteps.size(); ++k) {
      const int rate = bank.RateOf(c.chipSamples[k]);
      const std::vector<float> s = Resample(bank.Sample(c.chipSamples[k]), rate, kMixRate);
      MixInto(mix, 1, s, static_cast<size_t>(std::lround(tempo.StepToMs(c.chipSteps[k]) / 1000.0 * kMixRate)));
    }
  };
  for (const Chart& c : charts) addChart(c);
  for (const Chart& c : extensions) addChart(c);
  const double peak = std::max(1e-6f, Peak(mix));
  const float gain = static_cast<float>(std::pow(10.0, kTargetPeakDbfs / 20.0) / peak);
  Scale(mix, gain);
  Scale(track, gain);
  for (auto& s : bank.Samples()) Scale(s, gain);
  report.mixPeakDbfs = ToDbfs(Peak(mix));
  report.seconds = totalMs / 1000.0;
  report.samples = static_cast<int>(bank.Samples().size());

  // Files.
  for (size_t i = 0; i < bank.Samples().size(); ++i) {
    std::string name = bank.FileName(static_cast<int>(i));
    std::replace(name.begin(), name.end(), '\\', '/');
    out.Sound(folder + name, Wave{bank.RateOf(static_cast<int>(i)), 1, bank.Samples()[i]});
  }
  out.Sound(folder + "bgm.wav", Wave{kTrackRate, 1, track});
  for (int i = 0; i < partCount; ++i) {
    out.Binary(folder + PartFileName(i), EncodePartFile(charts[static_cast<size_t>(i)].record));
    report.partLevels.push_back(charts[static_cast<size_t>(i)].record.PartLevel);
    report.chipTotals.push_back(charts[static_cast<size_t>(i)].record.ChipTotal);
  }

  SongRecord song;
  song.Title = plan.title;
  song.Artist = plan.artist;
  song.Genre = plan.genre;
  song.Level = static_cast<int16_t>(plan.songLevel);
  song.Bpm = plan.tempo.front().bpm;
  song.Bars = static_cast<int16_t>(plan.bars);
  song.IntroBars = static_cast<int16_t>(plan.introBars);
  song.BgmOffset = 0;
  song.Bgm = "bgm.wav";
  song.PartCount = static_cast<int16_t>(partCount);
  song.PartFiles.clear();
  for (int i = 0; i < partCount; ++i) song.PartFiles.push_back(PartFileName(i));
  song.PartLinks = {4, 5, 6, 7, 0, 0, 0, 0, 0, 0};
  song.Anime = "";
  song.TempoCount = static_cast<int16_t>(plan.tempo.size());
  song.TempoTicks.clear();
  song.TempoBpms.clear();
  for (const TempoChange& t : plan.tempo) {
    song.TempoTicks.push_back(t.bar * 1920);
    song.TempoBpms.push_back(t.bpm);
  }
  out.Text(folder + plan.folder + ".zxs",
           EncodeSongFile(song, plan.firstVersion ? SongFileVersion::First : SongFileVersion::Current));

  if (!extensions.empty()) {
    out.Binary(folder + "extra1.z4p", EncodePartFile(extensions[0].record));
    out.Binary(folder + "extra2.z4p", EncodePartFile(extensions[1].record));
    // The solo takes the synth's place, the double kicks the drums'.
    out.Text(folder + "extreme.zxt", {std::string("extra1.z4p"), std::string("extra2.z4p"), int16_t{5}, int16_t{0}});
  }
  if (plan.index <= 7) {
    const int computerPart = beginnerPart + 4;
    out.Binary(folder + "beginner.z4p", EncodePartFile(extras[0].record));
    out.Text(folder + "beginner.zxt", {static_cast<int16_t>(beginnerPart), static_cast<int16_t>(computerPart),
                                       std::string("beginner.z4p"), static_cast<int16_t>(plan.bars)});
  }
  if (plan.index == 0) {
    out.Binary(folder + "tuto1p.z4p", EncodePartFile(extras[1].record));
    out.Binary(folder + "tuto2p.z4p", EncodePartFile(extras[2].record));
  }
  if (!rapid.empty()) {
    SongRecord r = song;
    r.PartFiles.clear();
    for (int i = 0; i < partCount; ++i) {
      const std::string name = "rapid" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".z4p";
      r.PartFiles.push_back(name);
      out.Binary(folder + name, EncodePartFile(rapid[static_cast<size_t>(i)].record));
    }
    out.Text(folder + "rapid.zxt", EncodeSongFile(r, SongFileVersion::Current));
  }

  WriteSongArt(plan, out, folder);

  if (!previewFolder.empty()) {
    std::filesystem::create_directories(previewFolder);
    const std::vector<uint8_t> bytes = EncodeWave(Wave{kMixRate, 1, mix});
    WriteWholeFileAtomic(previewFolder + "/" + plan.folder + "_mix.wav",
                         std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
  return report;
}

}  // namespace tessaru::gen
