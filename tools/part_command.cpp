#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "content/part_file.h"
#include "core/file_access.h"
#include "core/paths.h"
#include "tools/command_support.h"
#include "tools/json_records.h"

namespace tessaru {

void RegisterPartCommand(CLI::App& app) {
  auto* cmd = app.add_subcommand("part", "Show a part file as JSON, with every table");
  auto path = std::make_shared<std::string>();
  cmd->add_option("PATH", *path, "part file")->required();
  cmd->callback([path] {
    const std::string file = ReplaceExtension(*path, ".zxp");
    RequireFile(file, "part file");
    PartRecord part;
    if (!LoadPartFile(part, *path)) {
      throw CommandFailure(file + ": not a part file, or its counts run past its end");
    }
    std::cout << JsonText(PartJson(part, true)) << "\n";
  });
}

void RegisterMakePartCommand(CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "make-part", "Write a packed part file from a JSON description (the part command's form)");
  auto in = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  cmd->add_option("IN", *in, "JSON description; \"Chips\": [[step, lane, sound], ...] adds chips")
      ->required();
  cmd->add_option("OUT", *out, "part file to write (.zxp)")->required();
  cmd->callback([in, out] {
    RequireFile(*in, "part description");
    const auto text = ReadWholeFile(*in);
    if (!text) throw CommandFailure(*in + ": cannot be read");
    PartRecord part;
    try {
      part = PartFromJson(nlohmann::json::parse(text->begin(), text->end()));
    } catch (const nlohmann::json::exception& e) {
      throw CommandFailure(*in + ": " + e.what());
    } catch (const CommandFailure& e) {
      throw CommandFailure(*in + ": " + e.what());
    }
    if (!WritePackedFile(*out, EncodePartFile(part))) throw CommandFailure(*out + ": cannot be written");
  });
}

}  // namespace tessaru
