// tessaru-tool: packs, unpacks and shows the game's content files.
// GCC 12 reports a false null dereference inside CLI11's inlined string splitting.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnull-dereference"
#include <CLI/CLI.hpp>
#pragma GCC diagnostic pop

#include <iostream>

#include "tools/commands.h"

int main(int argc, char** argv) {
  CLI::App app{"Tessaru content tool: pack, unpack and inspect content files"};
  app.require_subcommand(1);

  tessaru::RegisterScrambleCommand(app);
  tessaru::RegisterPackCommand(app);
  tessaru::RegisterUnpackCommand(app);
  tessaru::RegisterSongCommand(app);
  tessaru::RegisterPartCommand(app);
  tessaru::RegisterMakePartCommand(app);
  tessaru::RegisterDanceCommand(app);
  tessaru::RegisterBgaCommand(app);
  tessaru::RegisterValidateDataCommand(app);
  tessaru::RegisterSimulateCommand(app);
  tessaru::RegisterPlayCommand(app);
  tessaru::RegisterRecordsCommand(app);
  tessaru::RegisterMp3Commands(app);
  tessaru::RegisterReplayCommand(app);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  } catch (const tessaru::CommandFailure& e) {
    std::cerr << "tessaru-tool: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
