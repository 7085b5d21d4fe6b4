// tessaru-gen: writes the complete default data folder. Run by the build; the output is
// the same on every run (fixed seeds, nothing read from the clock).
#include <chrono>
#include <cstdio>
#include <cstring>
#include <future>
#include <string>
#include <vector>

#include "core/program_folders.h"
#include "gen/data_sets.h"
#include "gen/icon.h"
#include "gen/output.h"
#include "gen/song_writer.h"

namespace {

void Usage() {
  std::fprintf(stderr,
               "usage: tessaru-gen DATA_FOLDER [--preview FOLDER] [--songs-only | --no-songs]\n"
               "                   [--icons HICOLOR_FOLDER NAME]\n"
               "Writes the default game data into DATA_FOLDER. --preview also writes PNG copies of\n"
               "every image and a mix-down of every song there. --icons writes the program's icon\n"
               "as NAME.png in the hicolor theme's sizes under HICOLOR_FOLDER.\n");
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tessaru::gen;
  std::string root, preview, icons, iconName;
  bool songs = true, rest = true;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--preview" && i + 1 < argc) preview = argv[++i];
    else if (a == "--icons" && i + 2 < argc) {
      icons = argv[++i];
      iconName = argv[++i];
    }
    else if (a == "--songs-only") rest = false;
    else if (a == "--no-songs") songs = false;
    else if (!a.empty() && a[0] != '-' && root.empty()) root = a;
    else {
      Usage();
      return 2;
    }
  }
  if (root.empty()) {
    Usage();
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  DataWriter out(root, preview.empty() ? std::string() : preview + "/images");
  const std::vector<SongPlan> plans = AllSongPlans();
  if (rest && !WriteGameData(out, plans)) return 1;
  if (rest && !WriteIconPng(root + "/" + tessaru::kWindowIconFile, kWindowIconSize)) {
    std::fprintf(stderr, "tessaru-gen: cannot write the window icon into %s\n", root.c_str());
    return 1;
  }
  if (!icons.empty() && !WriteIconTheme(icons, iconName)) {
    std::fprintf(stderr, "tessaru-gen: cannot write the icons into %s\n", icons.c_str());
    return 1;
  }

  if (songs) {
    // Two songs at a time: each writer has its own files and its own seeds.
    std::vector<SongReport> reports(plans.size());
    std::vector<DataWriter> writers;
    for (size_t i = 0; i < plans.size(); ++i) writers.emplace_back(root);
    for (size_t i = 0; i < plans.size(); i += 2) {
      auto first = std::async(std::launch::async, [&, i] {
        return WriteSong(plans[i], writers[i], preview.empty() ? "" : preview + "/mix");
      });
      if (i + 1 < plans.size())
        reports[i + 1] = WriteSong(plans[i + 1], writers[i + 1], preview.empty() ? "" : preview + "/mix");
      reports[i] = first.get();
    }
    for (size_t i = 0; i < plans.size(); ++i) {
      const SongReport& r = reports[i];
      std::string levels;
      for (size_t k = 0; k < r.partLevels.size(); ++k)
        levels += std::to_string(r.partLevels[k]) + "/" + std::to_string(r.chipTotals[k]) + " ";
      std::printf("%-18s %5.1f s  peak %5.2f dBFS  %4d samples  level/chips %s\n", r.title.c_str(), r.seconds,
                  r.mixPeakDbfs, r.samples, levels.c_str());
      for (const auto& f : writers[i].Failures()) {
        std::fprintf(stderr, "tessaru-gen: cannot write %s\n", f.c_str());
        return 1;
      }
    }
  }
  if (!out.Failures().empty()) {
    for (const auto& f : out.Failures()) std::fprintf(stderr, "tessaru-gen: cannot write %s\n", f.c_str());
    return 1;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("tessaru-gen: data folder %s written in %.1f s\n", root.c_str(), seconds);
  return 0;
}
