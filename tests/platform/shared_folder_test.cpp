// A program folder marked as installed for all users is never written to.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/disk_files.h"

namespace kelto1 {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

class SharedFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("kelto1_shared_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  void Mark() { std::ofstream(dir / kSharedFolderMarker) << "installed for all users\n"; }
  fs::path dir;
  DiskFileStore store;
};

TEST_F(SharedFolderTest, UnmarkedFolderIsWrittenTo) {
  EXPECT_TRUE(store.FolderWritable(dir.string()));
  EXPECT_TRUE(store.CreateEmpty((dir / "pass.wav").string()));
  EXPECT_TRUE(store.Replace((dir / "car.dat").string(), {1, 2}));
  EXPECT_EQ(store.Read((dir / "car.dat").string()), (Bytes{1, 2}));
}

TEST_F(SharedFolderTest, MarkedFolderIsLeftAlone) {
  std::ofstream(dir / "car.dat", std::ios::binary) << "old";
  Mark();
  // Writable as far as the file system goes (the test owns it), still not written to.
  ASSERT_EQ(::access(dir.c_str(), W_OK), 0);
  EXPECT_FALSE(store.FolderWritable(dir.string()));
  EXPECT_FALSE(store.CreateEmpty((dir / "pass.wav").string()));
  EXPECT_FALSE(fs::exists(dir / "pass.wav"));
  EXPECT_FALSE(store.Replace((dir / "car.dat").string(), {9}));
  EXPECT_EQ(store.Read((dir / "car.dat").string()), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 2);  // car.dat and the marker
  // Reading still works: the sound files are read from there.
  EXPECT_TRUE(store.Read((dir / kSharedFolderMarker).string()));
  // A folder below it is not marked.
  fs::create_directories(dir / "sub");
  EXPECT_TRUE(store.FolderWritable((dir / "sub").string()));
}

}  // namespace
}  // namespace kelto1
