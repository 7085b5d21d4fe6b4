#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "content/dance_file.h"
#include "core/paths.h"
#include "tools/command_support.h"
#include "tools/json_records.h"

namespace tessaru {

void RegisterDanceCommand(CLI::App& app) {
  auto* cmd = app.add_subcommand("dance", "Show a dance file as JSON");
  auto path = std::make_shared<std::string>();
  cmd->add_option("PATH", *path, "dance file")->required();
  cmd->callback([path] {
    const std::string file = ReplaceExtension(*path, ".zxd");
    RequireFile(file, "dance file");
    DanceRecord dance;
    if (!LoadDanceFile(dance, *path)) {
      throw CommandFailure(file + ": not a readable dance file (missing tag, bad count or cut short)");
    }
    std::cout << JsonText(DanceJson(dance)) << "\n";
  });
}

}  // namespace tessaru
