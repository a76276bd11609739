// The page's files in the browser's storage, with the storage played by a map: what the
// game writes is kept there, comes back after a reload, and what it removes is gone from
// it too, so that a race falling out of the records table takes its stored replay along.
#include "web/browser_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>

#include "replay/records.h"

namespace {

std::map<std::string, std::string> g_storage;  // the browser's storage, by name

char* Copied(const std::string& text) {
  char* out = static_cast<char*>(std::malloc(text.size() + 1));
  std::memcpy(out, text.c_str(), text.size() + 1);
  return out;
}

}  // namespace

extern "C" {
char* k1_store_get(const char* name) {
  const auto it = g_storage.find(name);
  return it == g_storage.end() ? nullptr : Copied(it->second);
}
int k1_store_set(const char* name, const char* text) {
  g_storage[name] = text;
  return 1;
}
char* k1_store_names() {
  std::string names;
  for (const auto& [name, value] : g_storage) names += (names.empty() ? "" : "\n") + name;
  return Copied(names);
}
void k1_store_remove(const char* name) { g_storage.erase(name); }
}

namespace kelto1 {
namespace {

namespace fs = std::filesystem;

class BrowserFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_storage.clear();
    folder = (fs::temp_directory_path() / ("kelto1_browser_" + std::to_string(::getpid()))).string();
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }
  // The page opened again: the memory's files gone, the storage's put back.
  void Reload() {
    fs::remove_all(folder);
    BrowserFiles fresh;
    fresh.RestoreStored();
  }
  std::string folder;
};

TEST_F(BrowserFilesTest, WhatIsWrittenComesBackAfterAReloadAndWhatIsRemovedDoesNot) {
  BrowserFiles files;
  const std::string kept = folder + "/car.dat", gone = folder + "/records/a.k1r";
  ASSERT_TRUE(files.Replace(kept, {1, 2, 0xFF}));
  ASSERT_TRUE(files.MakeFolders(folder + "/records"));
  ASSERT_TRUE(files.Replace(gone, {7}));
  EXPECT_EQ(g_storage[kept], "0102ff");
  EXPECT_TRUE(files.Remove(gone));
  EXPECT_EQ(g_storage.count(gone), 0u);
  Reload();
  EXPECT_EQ(files.Read(kept), (std::vector<uint8_t>{1, 2, 0xFF}));
  EXPECT_FALSE(files.Exists(gone));
}

TEST_F(BrowserFilesTest, ARaceFallingOutOfTheRecordsTakesItsStoredReplayAlong) {
  BrowserFiles files;
  int second = 0;
  RecordsKeeper keeper(files, folder, [&] {
    char when[32];
    std::snprintf(when, sizeof when, "2026-12-11 07:%02d:%02d", second / 60, second % 60);
    ++second;
    return std::string(when);
  });
  RaceRecord race;
  race.vehicle = "MotorBike";
  race.place = "Ginza";
  race.frames = 100;
  // Twenty races, each better than the last, then one better still: the first falls out.
  std::string first_replay;
  for (size_t i = 0; i <= kRecordsKept; ++i) {
    race.distance = 100 + static_cast<int64_t>(i);
    ASSERT_TRUE(keeper.Enter(race, {static_cast<uint8_t>(i)}, [](const std::string& line) { FAIL() << line; }));
    if (i == 0) first_replay = keeper.replay_path(keeper.Load().table.front().replay);
    ASSERT_EQ(g_storage.count(first_replay), i < kRecordsKept ? 1u : 0u) << "after race " << i + 1;
  }
  Reload();
  const DecodedRecords table = keeper.Load();
  ASSERT_EQ(table.table.size(), kRecordsKept);
  for (const RaceRecord& r : table.table) EXPECT_TRUE(files.Exists(keeper.replay_path(r.replay))) << r.replay;
  EXPECT_FALSE(files.Exists(first_replay));
}

TEST_F(BrowserFilesTest, ValuesBesideTheFilesAreNotFiles) {
  BrowserFiles files;
  ASSERT_TRUE(StoreValue("choice:sound.mute", "yes"));
  ASSERT_TRUE(StoreValue("choice:game.vehicle", "KeiTrack"));
  ASSERT_TRUE(StoreValue("other:thing", "1"));
  const auto values = StoredValues("choice:");
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0], (std::pair<std::string, std::string>{"game.vehicle", "KeiTrack"}));
  EXPECT_EQ(values[1], (std::pair<std::string, std::string>{"sound.mute", "yes"}));
  files.RestoreStored();  // none of them becomes a file
  EXPECT_FALSE(files.Exists("choice:sound.mute"));
  EXPECT_FALSE(fs::exists("choice:sound.mute"));
}

}  // namespace
}  // namespace kelto1
