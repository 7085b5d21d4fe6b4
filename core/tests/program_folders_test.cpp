#include "core/program_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace tessaru {
namespace {
namespace fs = std::filesystem;

// A fresh scratch tree with a portable folder, an installed prefix and a home.
std::string MakeTree(const std::string& name) {
  const std::string root = std::string(TESSARU_SCRATCH) + "/" + name;
  fs::remove_all(root);
  for (const char* sub : {"/portable", "/prefix/bin", "/prefix/share/tessaru", "/home"}) {
    fs::create_directories(root + sub);
  }
  return root;
}

TEST(ProgramFolders, PortableInstalledAndUnwritableFoldersAreToldApart) {
  const std::string root = MakeTree("folders");
  // A folder below a plain file can never be made, not even by root.
  std::ofstream(root + "/afile") << "x";
  const std::string blocked = root + "/afile/xdg";
  // /proc/self exists but takes no new files, whoever runs the test.
  const std::string readOnly = "/proc/self";

  struct Case { const char* Name; FolderInputs In; std::string Program, Data, ErrorReport; bool Problem; };
  const std::string home = root + "/home";
  const std::string homeUser = home + "/.local/share/tessaru";
  const std::string xdgUser = root + "/xdg/tessaru";
  const std::string installedData = root + "/prefix/share/tessaru";
  const Case cases[] = {
      {"portable keeps everything beside the program",
       {root + "/portable", "", "", home}, root + "/portable", root + "/portable", "", false},
      {"installed: user files in the XDG folder, data from share",
       {root + "/prefix/bin", "", root + "/xdg/", home}, xdgUser, installedData, xdgUser, false},
      {"installed without XDG_DATA_HOME uses ~/.local/share",
       {root + "/prefix/bin", "", "", home}, homeUser, installedData, homeUser, false},
      {"a relative XDG_DATA_HOME is ignored",
       {root + "/prefix/bin", "", "relative/xdg", home}, homeUser, installedData, homeUser, false},
      {"an unwritable program folder keeps its data but not the user files",
       {readOnly, "", "", home}, homeUser, readOnly, homeUser, false},
      {"--program-dir wins over an install",
       {root + "/prefix/bin", root + "/portable", root + "/xdg", home}, root + "/portable",
       root + "/portable", "", false},
      {"--program-dir that cannot be written is still used, with a notice",
       {root + "/portable", readOnly, "", home}, readOnly, readOnly, "", true},
      {"a user folder that cannot be made",
       {root + "/prefix/bin", "", blocked, home}, blocked + "/tessaru", installedData,
       blocked + "/tessaru", true},
      {"no home at all: nothing is saved",
       {root + "/prefix/bin", "", "", ""}, root + "/prefix/bin", installedData, "", true},
  };
  for (const Case& c : cases) {
    const ProgramFolders f = ChooseProgramFolders(c.In);
    EXPECT_EQ(f.Program, c.Program) << c.Name;
    EXPECT_EQ(f.Data, c.Data) << c.Name;
    EXPECT_EQ(f.ErrorReport, c.ErrorReport) << c.Name;
    EXPECT_EQ(!f.Problem.empty(), c.Problem) << c.Name << ": " << f.Problem;
    if (c.Problem && !c.In.Home.empty()) {
      EXPECT_NE(f.Problem.find(c.Program), std::string::npos) << c.Name << ": names the folder";
    }
    if (!c.Problem) {
      EXPECT_TRUE(FolderIsWritable(f.Program)) << c.Name << ": created on first start";
    }
  }
  // Created private to the player, and no probe file left behind.
  struct stat info {};
  ASSERT_EQ(::stat(xdgUser.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_TRUE(fs::is_empty(xdgUser));
  EXPECT_TRUE(fs::is_empty(root + "/portable"));
}

TEST(ProgramFolders, TheToolsAndTheWindowIconFindTheInstalledDataToo) {
  const std::string root = MakeTree("tool-folders");
  EXPECT_EQ(DefaultDataFolder(root + "/prefix/bin"), root + "/prefix/share/tessaru");
  EXPECT_EQ(DefaultDataFolder(root + "/portable"), root + "/portable");
  // The icon is the program's own, wherever --program-dir puts the player's files.
  const FolderInputs elsewhere{root + "/prefix/bin", root + "/portable", "", root + "/home"};
  EXPECT_EQ(ChooseProgramFolders(elsewhere).WindowIcon, root + "/prefix/share/tessaru/tessaru.png");
}

}  // namespace
}  // namespace tessaru
