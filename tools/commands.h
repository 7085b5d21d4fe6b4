#pragma once
// The subcommands of tessaru-tool. Each file registers one subcommand on the app; a
// subcommand that cannot do its work throws CommandFailure with a one-line reason, which
// main prints before exiting non-zero.
#include <stdexcept>

namespace CLI {
class App;
}

namespace tessaru {

struct CommandFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void RegisterScrambleCommand(CLI::App& app);
void RegisterPackCommand(CLI::App& app);
void RegisterUnpackCommand(CLI::App& app);
void RegisterSongCommand(CLI::App& app);
void RegisterPartCommand(CLI::App& app);
void RegisterMakePartCommand(CLI::App& app);
void RegisterDanceCommand(CLI::App& app);
void RegisterBgaCommand(CLI::App& app);
void RegisterValidateDataCommand(CLI::App& app);
void RegisterSimulateCommand(CLI::App& app);
void RegisterPlayCommand(CLI::App& app);
void RegisterRecordsCommand(CLI::App& app);
void RegisterMp3Commands(CLI::App& app);
void RegisterReplayCommand(CLI::App& app);

}  // namespace tessaru
