#pragma once
// Where the game keeps the player's files and where it reads its data. A portable folder
// (the build's bin/, an unpacked copy) holds both, as it always has. An installed game
// (bin/ beside share/tessaru) or a program folder the player cannot write keeps the
// player's files in the XDG data folder instead, so nothing is written into the install.
#include <string>

namespace tessaru {

// The program's window icon, written by the generator at the top of the default data.
inline constexpr const char* kWindowIconFile = "tessaru.png";

struct ProgramFolders {
  // user.ini, keyset.ini, hsc.ini, hscsp.ini and the replay folder.
  std::string Program;
  // The data folder, unless DATAPATH in user.ini names another.
  std::string Data;
  // Where error.txt goes; empty means the data folder in use (the portable behaviour).
  std::string ErrorReport;
  // Non-empty when Program cannot be created or written: the one notice the player sees.
  std::string Problem;
  // The program's own icon, beside its default data whatever folder the player chose.
  std::string WindowIcon;
};

// What the choice depends on, gathered by CurrentFolderInputs or given by a test.
struct FolderInputs {
  std::string ExecutableFolder;
  std::string ProgramDirOption;  // --program-dir; empty when not given
  std::string XdgDataHome;       // $XDG_DATA_HOME as set (a relative value is ignored)
  std::string Home;              // the home folder ($HOME, else the password entry)
};

FolderInputs CurrentFolderInputs(std::string programDirOption);

// The data folder an install puts beside its bin/, when the executable sits in one.
std::string InstalledDataFolder(const std::string& executableFolder);
// The data folder the game and the tools read when nothing names another.
std::string DefaultDataFolder(const std::string& executableFolder);
// $XDG_DATA_HOME/tessaru, or ~/.local/share/tessaru; empty when neither can be named.
std::string UserDataFolder(const FolderInputs& in);

// Chooses the folders and creates the user folder when it is the one chosen.
ProgramFolders ChooseProgramFolders(const FolderInputs& in);

// True when a file can be created and written in the folder (a real write, so a full
// disk or a read-only mount is caught, whoever the user is).
bool FolderIsWritable(const std::string& folder);

// The notice for a user folder that cannot be written.
std::string UnsavableFolderNotice(const std::string& folder);

}  // namespace tessaru
