#include <CLI/CLI.hpp>

#include <memory>

#include "content/packed.h"
#include "tools/command_support.h"

namespace tessaru {

void RegisterScrambleCommand(CLI::App& app) {
  auto* cmd = app.add_subcommand("scramble", "Apply or undo the byte layer (its own inverse)");
  auto in = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  cmd->add_option("IN", *in, "file to read")->required();
  cmd->add_option("OUT", *out, "file to write")->required();
  cmd->callback([in, out] {
    RequireFile(*in, "input file");
    if (!ScrambleCopy(*in, *out)) throw CommandFailure(*out + ": cannot be written");
  });
}

}  // namespace tessaru
