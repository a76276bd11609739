// "car.dat": its bytes, and how the game keeps it safe.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/disk_files.h"
#include "shell/game_fixture.h"
#include "shell/settings_file.h"

namespace kelto1 {
namespace {

using Bytes = std::vector<uint8_t>;

class SettingsTest : public GameTest {
 protected:
  const std::string path = "/game/car.dat";
  Bytes& file() { return platform.files.files[path]; }
};

TEST_F(SettingsTest, FirstRunCreatesAnEmptyFileAndShowsZeros) {
  game.LoadSettings();
  ASSERT_TRUE(platform.files.files.count(path));
  EXPECT_TRUE(file().empty());
  EXPECT_EQ(box(Element::Gamewait).text, "0");
  EXPECT_EQ(box(Element::HighSc).text, "0");
}

TEST_F(SettingsTest, SavesDelayAndBestRankLittleEndianWithTheMemo) {
  file() = {1, 0, 0, 0, 30, 0, 0, 0, 3, 0, 'a', 'b', 'c'};
  game.LoadSettings();
  EXPECT_EQ(box(Element::Gamewait).text, "1");
  EXPECT_EQ(box(Element::HighSc).text, "30");
  box(Element::Gamewait).text = "15";
  box(Element::HighSc).text = "12";
  game.SaveSettings();
  EXPECT_EQ(file(), (Bytes{0x0F, 0, 0, 0, 0x0C, 0, 0, 0, 3, 0, 'a', 'b', 'c'}));
}

TEST_F(SettingsTest, DelayTextIsRoundedHalvesToEven) {
  game.LoadSettings();
  for (auto [text, saved] : {std::pair{"7.5", 8}, std::pair{"6.5", 6}, std::pair{"-3", -3}}) {
    box(Element::Gamewait).text = text;
    game.SaveSettings();
    EXPECT_EQ(DecodeSettings(file()).WaitMs, saved) << text;
  }
}

TEST_F(SettingsTest, TextThatIsNoNumberSavesTheLastValidValue) {
  file() = {9, 0, 0, 0, 4, 0, 0, 0, 0, 0};
  game.LoadSettings();
  box(Element::Gamewait).text = "12";
  game.FrameDelayMs();  // the race used 12
  box(Element::Gamewait).text = "quick";
  box(Element::HighSc).text = "";
  game.SaveSettings();
  EXPECT_EQ(DecodeSettings(file()).WaitMs, 12);
  EXPECT_EQ(DecodeSettings(file()).BestRank, 4);
}

TEST_F(SettingsTest, BytesAfterTheRecordAreKept) {
  file() = {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 'x', 0xDE, 0xAD, 0xBE, 0xEF};
  game.LoadSettings();
  box(Element::Gamewait).text = "5";
  game.SaveSettings();
  EXPECT_EQ(file(), (Bytes{5, 0, 0, 0, 0, 0, 0, 0, 1, 0, 'x', 0xDE, 0xAD, 0xBE, 0xEF}));
}

TEST(SettingsBytes, EmptyAndTruncatedFilesReadSafely) {
  EXPECT_EQ(DecodeSettings({}).WaitMs, 0);
  EXPECT_EQ(DecodeSettings({}).Memo, "");
  const SettingsRecord r = DecodeSettings({0x10, 0x27, 0});  // half a delay
  EXPECT_EQ(r.WaitMs, 10000);
  EXPECT_EQ(r.BestRank, 0);
  const SettingsRecord cut = DecodeSettings({1, 0, 0, 0, 2, 0, 0, 0, 200, 0, 'h', 'i'});
  EXPECT_EQ(cut.Memo, "hi") << "a memo cut short keeps what is there";
  EXPECT_EQ(DecodeSettings({0xFF, 0xFF, 0xFF, 0xFF}).WaitMs, -1);
}

TEST_F(SettingsTest, ReadOnlyFolderKeepsTheSettingsWithTheUser) {
  platform.files.read_only_folders.insert("/game");
  game.LoadSettings();
  const std::string user_file = platform.user_data_folder + "/car.dat";
  EXPECT_EQ(game.SettingsPath, user_file);
  ASSERT_EQ(platform.notes.size(), 1u);
  EXPECT_NE(platform.notes[0].find(user_file), std::string::npos);
  box(Element::Gamewait).text = "3";
  game.SaveSettings();
  EXPECT_EQ(DecodeSettings(platform.files.files.at(user_file)).WaitMs, 3);
  EXPECT_FALSE(platform.files.files.count(path));
}

class DiskFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() / ("kelto1-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::filesystem::path dir;
  DiskFileStore store;
};

TEST_F(DiskFilesTest, ReplaceSwapsTheWholeFileAndLeavesNoTemporary) {
  const std::string f = (dir / "car.dat").string();
  ASSERT_TRUE(store.CreateEmpty(f));
  EXPECT_EQ(store.Read(f), Bytes{});
  ASSERT_TRUE(store.Replace(f, {1, 2, 3}));
  EXPECT_EQ(store.Read(f), (Bytes{1, 2, 3}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
  EXPECT_FALSE(store.Read((dir / "missing").string()));
}

TEST_F(DiskFilesTest, FailedSaveKeepsTheOldFile) {
  const std::string f = (dir / "car.dat").string();
  ASSERT_TRUE(store.Replace(f, {7, 7}));
  // Something in the way of the temporary file makes the save fail half-way.
  std::filesystem::create_directories(f + ".saving/blocker");
  EXPECT_FALSE(store.Replace(f, {9}));
  EXPECT_EQ(store.Read(f), (Bytes{7, 7}));
}

TEST_F(DiskFilesTest, UserFolderFollowsXdgDataHome) {
  const char* old = std::getenv("XDG_DATA_HOME");
  std::string saved = old ? old : "";
  setenv("XDG_DATA_HOME", "/tmp/xdg", 1);
  EXPECT_EQ(DefaultUserDataFolder(), "/tmp/xdg/kelto1");
  setenv("XDG_DATA_HOME", "relative", 1);
  EXPECT_NE(DefaultUserDataFolder().find("/.local/share/kelto1"), std::string::npos);
  if (old) setenv("XDG_DATA_HOME", saved.c_str(), 1); else unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace kelto1
