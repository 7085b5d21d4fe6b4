#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "content/packed.h"
#include "core/file_access.h"
#include "tools/command_support.h"
#include "tools/text_values.h"

namespace tessaru {

void RegisterUnpackCommand(CLI::App& app) {
  auto* cmd = app.add_subcommand("unpack", "Print a packed text file, one value per line (UTF-8)");
  auto in = std::make_shared<std::string>();
  cmd->add_option("IN", *in, "packed text file")->required();
  cmd->callback([in] {
    RequireFile(*in, "packed text file");
    const auto bytes = ReadWholeFile(*in);
    const auto values = bytes ? UnpackValues(*bytes) : std::nullopt;
    if (!values) throw CommandFailure(*in + ": not a packed text file (damaged token stream)");
    std::cout << ValueLines(*values);
  });
}

}  // namespace tessaru
