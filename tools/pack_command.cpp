#include <CLI/CLI.hpp>

#include <memory>

#include "content/packed.h"
#include "core/file_access.h"
#include "tools/command_support.h"
#include "tools/text_values.h"

namespace tessaru {

void RegisterPackCommand(CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "pack", "Pack a text of one value per line (UTF-8) into the packed text form");
  auto in = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  cmd->add_option("IN", *in, "text file: \"strings\" in double quotes, numbers as text")->required();
  cmd->add_option("OUT", *out, "packed file to write")->required();
  cmd->callback([in, out] {
    RequireFile(*in, "text file");
    const auto text = ReadWholeFile(*in);
    if (!text) throw CommandFailure(*in + ": cannot be read");
    std::vector<TextValue> values;
    try {
      values = ParseValueLines(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()));
    } catch (const CommandFailure& e) {
      throw CommandFailure(*in + ": " + e.what());
    }
    const auto packed = PackText(values);
    WriteOrFail(*out, std::string_view(reinterpret_cast<const char*>(packed.data()), packed.size()));
  });
}

}  // namespace tessaru
