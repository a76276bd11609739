// A program folder marked as installed for all users is never written to by the game,
// even where the file system allows it (as it does for root).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "headless/headless_platform.h"
#include "platform/disk_files.h"
#include "shell/kelto1.h"

namespace kelto1 {
namespace {

namespace fs = std::filesystem;

class DiskPlatform : public HeadlessPlatform {
 public:
  FileStore& Files() override { return disk; }
  DiskFileStore disk;
};

class SharedFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("kelto1_shared_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "program");
    platform.program_folder = (dir / "program").string();
    platform.user_data_folder = (dir / "home/.local/share/kelto1").string();
  }
  void TearDown() override { fs::remove_all(dir); }
  void Mark() { std::ofstream(dir / "program" / kSharedFolderMarker) << "installed for all users\n"; }
  // The program folder's files, by name.
  std::set<std::string> ProgramFiles() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir / "program")) names.insert(e.path().filename().string());
    return names;
  }
  fs::path dir;
  DiskPlatform platform;
};

TEST_F(SharedFolderTest, UnmarkedFolderKeepsTheSettings) {
  EXPECT_TRUE(platform.disk.FolderWritable(platform.program_folder));
  Kelto1 game{platform};
  game.LoadSettings();
  EXPECT_EQ(game.SettingsPath, platform.program_folder + "/car.dat");
  EXPECT_TRUE(ProgramFiles().count("car.dat"));
}

TEST_F(SharedFolderTest, MarkedFolderIsLeftAloneAndTheSettingsGoToThePlayer) {
  Mark();
  const std::set<std::string> before = ProgramFiles();
  // Writable as far as the file system goes (the test owns it), still not for the game.
  ASSERT_EQ(::access((dir / "program").c_str(), W_OK), 0);
  EXPECT_FALSE(platform.disk.FolderWritable(platform.program_folder));
  Kelto1 game{platform};
  game.LoadSettings();
  game.SaveSettings();
  EXPECT_EQ(game.SettingsPath, platform.user_data_folder + "/car.dat");
  EXPECT_TRUE(fs::is_regular_file(platform.user_data_folder + "/car.dat"));
  EXPECT_EQ(ProgramFiles(), before);
  // A folder below it is not marked.
  fs::create_directories(dir / "program/sub");
  EXPECT_TRUE(platform.disk.FolderWritable((dir / "program/sub").string()));
}

}  // namespace
}  // namespace kelto1
