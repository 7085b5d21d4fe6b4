#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <optional>

#include "content/bga_file.h"
#include "core/paths.h"
#include "tools/command_support.h"
#include "tools/json_records.h"

namespace tessaru {
namespace {

struct BgaOptions {
  std::string path;
  std::optional<int> animFrame;
  std::optional<int> progPosition;
  double time = 0.0;
};

void ShowBga(const BgaOptions& options) {
  const std::string file = ReplaceExtension(options.path, ".zxb");
  RequireFile(file, "background animation");
  BgaRecord bga;
  if (!LoadBga(bga, options.path)) {
    throw CommandFailure(file + ": not a readable background animation (bad header or cut short)");
  }
  if (options.animFrame) {
    const int i = *options.animFrame;
    if (i < 0 || i >= bga.AObjCount) {
      throw CommandFailure("animated object " + std::to_string(i) + " does not exist (the file has " +
                           std::to_string(bga.AObjCount) + ")");
    }
    std::cout << AnimFrame(options.time, bga.AObjs[static_cast<size_t>(i)]) << "\n";
  } else if (options.progPosition) {
    const int i = *options.progPosition;
    if (i < 0 || i >= bga.ProgCount) {
      throw CommandFailure("program entry " + std::to_string(i) + " does not exist (the file has " +
                           std::to_string(bga.ProgCount) + ")");
    }
    int32_t x = 0;
    int32_t y = 0;
    ProgPosition(options.time, bga.Progs[static_cast<size_t>(i)], x, y);
    std::cout << x << " " << y << "\n";
  } else {
    std::cout << JsonText(BgaJson(bga)) << "\n";
  }
}

}  // namespace

void RegisterBgaCommand(CLI::App& app) {
  auto* cmd = app.add_subcommand("bga", "Show a background animation as JSON, or one object at a time");
  auto options = std::make_shared<BgaOptions>();
  cmd->add_option("PATH", options->path, "background animation file")->required();
  auto* anim = cmd->add_option("--anim-frame", options->animFrame,
                               "print the frame value of this animated object at --time");
  auto* prog = cmd->add_option("--prog-position", options->progPosition,
                               "print \"x y\" of this program entry at --time");
  auto* time = cmd->add_option("--time", options->time, "animation time");
  anim->excludes(prog);
  anim->needs(time);
  prog->needs(time);
  cmd->callback([options] { ShowBga(*options); });
}

}  // namespace tessaru
