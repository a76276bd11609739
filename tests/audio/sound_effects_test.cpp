// Sound effects: loading the files into memory, and which requests start a sound.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "headless/headless_platform.h"
#include "platform/disk_files.h"
#include "shell/kelto1.h"

namespace kelto1 {
namespace {

using Bytes = std::vector<uint8_t>;

const char* const kFiles[14] = {"crbit.wav", "crsh.wav", "crwal.wav", "PwrUp1.wav", "PwrLost.wav",
                                "pass.wav",  "pass.wav", "pass.wav",  "pass.wav",   "pass.wav",
                                "pass.wav",  "pass.wav", "pass.wav",  "pass.wav"};
const int kCooldowns[14] = {20, 30, 20, 20, 20, 20, 50, 100, 20, 20, 40, 10, 20, 20};

// A different little image per file, so a buffer shows which file it came from.
Bytes ImageOf(const std::string& name) {
  const std::string text = "RIFF" + name;
  return Bytes(text.begin(), text.end());
}

Bytes WithZero(Bytes image) {
  image.push_back(0);
  return image;
}

class SoundEffectsTest : public ::testing::Test {
 protected:
  void PutAllFiles() {
    for (const char* f : kFiles) platform.files.files["/game/" + std::string(f)] = ImageOf(f);
  }
  // Frames of a race in which sound `index` is requested on every frame, before or
  // after the frame's countdown; returns the frames whose request started it.
  std::vector<int> RequestEveryFrame(int index, int frames, bool after_countdown) {
    std::vector<int> started;
    for (int f = 1; f <= frames; ++f) {
      const size_t before = platform.played_sounds.size();
      if (!after_countdown) game.PlaySound(index);
      game.TickSoundCooldowns();
      if (after_countdown) game.PlaySound(index);
      if (platform.played_sounds.size() > before) started.push_back(f);
    }
    return started;
  }
  std::vector<int> Cooldowns() const {
    std::vector<int> c;
    for (const auto& v : game.audio.SoundCooldown) c.push_back(v);
    return c;
  }

  HeadlessPlatform platform;
  Kelto1 game{platform};
};

// ---- LoadSounds ------------------------------------------------------------------------

// Counts what is read from it.
class CountingFileStore : public MemoryFileStore {
 public:
  std::optional<std::vector<uint8_t>> Read(const std::string& path) override {
    ++reads[path];
    return MemoryFileStore::Read(path);
  }
  std::map<std::string, int> reads;
};

class CountingPlatform : public HeadlessPlatform {
 public:
  FileStore& Files() override { return counting; }
  CountingFileStore counting;
};

TEST(LoadSounds, ReadsEachFileOnceAndRefusesOnesOver16Megabytes) {
  for (const size_t pass_size : {size_t{16} << 20, (size_t{16} << 20) + 1}) {
    CountingPlatform platform;
    Kelto1 game{platform};
    for (const char* f : kFiles) platform.counting.files["/game/" + std::string(f)] = ImageOf(f);
    platform.counting.files["/game/pass.wav"] = Bytes(pass_size, 0x55);
    game.LoadSounds();
    for (const auto& [path, reads] : platform.counting.reads) EXPECT_EQ(reads, 1) << path;
    EXPECT_EQ(platform.counting.reads.size(), 6u);
    const bool refused = pass_size > (size_t{16} << 20);
    for (int i = 5; i <= 13; ++i) EXPECT_EQ(game.sounds.SoundData[i].size(), refused ? 1u : pass_size + 1) << i;
    EXPECT_EQ(game.sounds.SoundData[0], WithZero(ImageOf("crbit.wav")));
    if (refused) {
      ASSERT_EQ(platform.notes.size(), 1u);
      EXPECT_NE(platform.notes[0].find("/game/pass.wav is larger than 16 MB"), std::string::npos) << platform.notes[0];
    } else {
      EXPECT_TRUE(platform.notes.empty());
    }
  }
}

TEST(DiskFiles, AFileOverTheLimitIsRefused) {
  const std::string path = ::testing::TempDir() + "kelto1_big_sound.wav";
  std::filesystem::remove(path);
  { std::ofstream(path, std::ios::binary) << "RIFF"; }
  std::filesystem::resize_file(path, size_t{200} << 20);  // sparse: nothing written
  DiskFileStore files;
  bool too_big = false;
  EXPECT_FALSE(files.ReadAtMost(path, size_t{16} << 20, too_big));
  EXPECT_TRUE(too_big);
  std::filesystem::resize_file(path, 4);
  const auto small = files.ReadAtMost(path, size_t{16} << 20, too_big);
  EXPECT_FALSE(too_big);
  ASSERT_TRUE(small);
  EXPECT_EQ(*small, (Bytes{'R', 'I', 'F', 'F'}));
  std::filesystem::remove(path);
  EXPECT_FALSE(files.ReadAtMost(path, size_t{16} << 20, too_big));
  EXPECT_FALSE(too_big);
}


TEST_F(SoundEffectsTest, EachBufferHoldsItsWholeFileAndOneZeroByte) {
  PutAllFiles();
  game.LoadSounds();
  for (int i = 0; i < 14; ++i) EXPECT_EQ(game.sounds.SoundData[i], WithZero(ImageOf(kFiles[i]))) << i;
  EXPECT_TRUE(platform.notes.empty());
}

TEST_F(SoundEffectsTest, AMissingFileIsCreatedEmptyWhereTheFolderIsWritable) {
  PutAllFiles();
  platform.files.files.erase("/game/crsh.wav");
  game.LoadSounds();
  ASSERT_TRUE(platform.files.files.count("/game/crsh.wav"));
  EXPECT_TRUE(platform.files.files["/game/crsh.wav"].empty());
  EXPECT_EQ(game.sounds.SoundData[1], Bytes{0});
  EXPECT_EQ(game.sounds.SoundData[2], WithZero(ImageOf("crwal.wav")));
  EXPECT_TRUE(platform.notes.empty());
}

TEST_F(SoundEffectsTest, AMissingFileInAReadOnlyFolderIsToldOnceAndStaysSilent) {
  PutAllFiles();
  platform.files.files.erase("/game/pass.wav");
  platform.files.read_only_folders.insert("/game");
  game.LoadSounds();
  EXPECT_FALSE(platform.files.files.count("/game/pass.wav"));
  for (int i = 5; i <= 13; ++i) EXPECT_EQ(game.sounds.SoundData[i], Bytes{0}) << i;
  EXPECT_EQ(game.sounds.SoundData[4], WithZero(ImageOf("PwrLost.wav")));
  ASSERT_EQ(platform.notes.size(), 1u);  // one line, though nine buffers come from it
  EXPECT_NE(platform.notes[0].find("/game/pass.wav"), std::string::npos) << platform.notes[0];
}

// The same on a real disk: a missing file appears as an empty file, and a name that is
// neither a readable file nor creatable (here a folder) gives one line and silence.
class DiskPlatform : public HeadlessPlatform {
 public:
  FileStore& Files() override { return disk; }
  DiskFileStore disk;
};

TEST(LoadSoundsOnDisk, MissingFilesAreMadeAndUnreadableOnesTold) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("kelto1_sounds_" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (const char* f : {"crbit.wav", "crwal.wav", "PwrUp1.wav", "PwrLost.wav"}) {
    std::ofstream(folder / f, std::ios::binary) << "RIFF" << f;
  }
  fs::create_directory(folder / "crsh.wav");  // pass.wav is simply missing

  DiskPlatform platform;
  platform.program_folder = folder.string();
  Kelto1 game{platform};
  game.LoadSounds();

  EXPECT_EQ(game.sounds.SoundData[0], WithZero(ImageOf("crbit.wav")));
  EXPECT_EQ(game.sounds.SoundData[1], Bytes{0});
  EXPECT_TRUE(fs::is_regular_file(folder / "pass.wav"));
  EXPECT_EQ(fs::file_size(folder / "pass.wav"), 0u);
  for (int i = 5; i <= 13; ++i) EXPECT_EQ(game.sounds.SoundData[i], Bytes{0}) << i;
  ASSERT_EQ(platform.notes.size(), 1u);
  EXPECT_NE(platform.notes[0].find("crsh.wav"), std::string::npos) << platform.notes[0];
  fs::remove_all(folder);
}

// An installed game's folder (it holds the shared-folder marker) gets no new files, even
// for a player who could write there: the missing sound is told and stays silent.
TEST(LoadSoundsOnDisk, AnInstalledGamesFolderGetsNoEmptyFiles) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("kelto1_shared_" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::ofstream(folder / kSharedFolderMarker) << "";
  for (const char* f : {"crbit.wav", "crsh.wav", "crwal.wav", "PwrUp1.wav", "PwrLost.wav"})
    std::ofstream(folder / f, std::ios::binary) << "RIFF" << f;

  DiskPlatform platform;
  platform.program_folder = folder.string();
  Kelto1 game{platform};
  game.LoadSounds();

  EXPECT_FALSE(fs::exists(folder / "pass.wav"));
  for (int i = 5; i <= 13; ++i) EXPECT_EQ(game.sounds.SoundData[i], Bytes{0}) << i;
  EXPECT_EQ(game.sounds.SoundData[0], WithZero(ImageOf("crbit.wav")));
  ASSERT_EQ(platform.notes.size(), 1u);
  EXPECT_NE(platform.notes[0].find("pass.wav"), std::string::npos) << platform.notes[0];
  fs::remove_all(folder);
}

// ---- PlaySound and the cooldowns ---------------------------------------------------------

TEST_F(SoundEffectsTest, EachSoundPlaysItsOwnBufferAndSetsItsCooldown) {
  PutAllFiles();
  game.LoadSounds();
  for (int i = 0; i < 14; ++i) {
    game.PlaySound(i);
    ASSERT_EQ(platform.played_sounds.size(), static_cast<size_t>(i + 1));
    EXPECT_EQ(platform.played_sounds.back(), &game.sounds.SoundData[i]) << i;
    EXPECT_EQ(game.audio.SoundCooldown[i], kCooldowns[i]) << i;
  }
}

struct RepeatCase {
  int index;
  int frames;
  std::vector<int> starts;
};

TEST_F(SoundEffectsTest, ARequestOnEveryFrameStartsOncePerCooldown) {
  const RepeatCase cases[] = {
      {5, 30, {1, 21}},
      {1, 91, {1, 31, 61, 91}},
      {11, 25, {1, 11, 21}},
      {7, 201, {1, 101, 201}},
  };
  for (const RepeatCase& c : cases) {
    for (bool after_countdown : {false, true}) {
      game.audio.SoundCooldown.fill(0);
      EXPECT_EQ(RequestEveryFrame(c.index, c.frames, after_countdown), c.starts)
          << "sound " << c.index << (after_countdown ? ", requested after the countdown" : "");
    }
  }
}

TEST_F(SoundEffectsTest, ADroppedRequestIsNotQueued) {
  game.PlaySound(0);
  game.TickSoundCooldowns();
  game.PlaySound(0);  // dropped
  for (int f = 0; f < 40; ++f) game.TickSoundCooldowns();
  EXPECT_EQ(platform.played_sounds.size(), 1u);
  EXPECT_EQ(game.audio.SoundCooldown[0], 0);
}

TEST_F(SoundEffectsTest, TwoDifferentSoundsInOneFrameBothStartInRequestOrder) {
  game.PlaySound(2);
  game.PlaySound(4);
  ASSERT_EQ(platform.played_sounds.size(), 2u);
  EXPECT_EQ(platform.played_sounds[0], &game.sounds.SoundData[2]);
  EXPECT_EQ(platform.played_sounds[1], &game.sounds.SoundData[4]);
}

TEST_F(SoundEffectsTest, NumbersOutsideTheTableChangeNothing) {
  game.PlaySound(1);
  game.TickSoundCooldowns();
  const std::vector<int> before = Cooldowns();
  for (int32_t index : {-1, 14, 15, INT32_MIN, INT32_MAX}) game.PlaySound(index);
  EXPECT_EQ(platform.played_sounds.size(), 1u);
  EXPECT_EQ(Cooldowns(), before);
}

TEST_F(SoundEffectsTest, ACooldownSetInARaceRunsOnInTheNextRace) {
  platform.files.files["/game/crsh.wav"] = ImageOf("crsh.wav");
  game.Form_Load();
  game.Timer1_Timer();  // the title screen

  // First race: the crash sounds in its last frame, after the frame's countdown.
  long frame = 0;
  game.SetAfterFrame([&](Kelto1& g) {
    ++frame;
    if (frame == 50) g.PlaySound(1);
    return frame < 50;
  });
  platform.Tap(vk::kControl);
  game.Timer1_Timer();
  ASSERT_EQ(frame, 50);
  ASSERT_EQ(game.audio.SoundCooldown[1], 30);

  // Between races: a title screen and idle ticks count nothing down.
  game.shell.TitlePending = 1;
  for (int tick = 0; tick < 20; ++tick) game.Timer1_Timer();
  EXPECT_EQ(game.audio.SoundCooldown[1], 30);

  // Second race: the countdown goes on from 30, one per frame, and the crash is
  // dropped until it has run out.
  std::vector<int> at_frame_start;
  std::vector<long> crash_starts;
  frame = 0;
  game.SetBeforeFrame([&](Kelto1& g) { at_frame_start.push_back(g.audio.SoundCooldown[1]); });
  game.SetAfterFrame([&](Kelto1& g) {
    ++frame;
    const size_t before = platform.played_sounds.size();
    g.PlaySound(1);
    if (platform.played_sounds.size() > before) crash_starts.push_back(frame);
    return frame < 40;
  });
  platform.ReleaseAll();
  platform.Tap(vk::kControl);
  game.Timer1_Timer();
  ASSERT_EQ(frame, 40);
  ASSERT_GE(at_frame_start.size(), 3u);
  EXPECT_EQ(at_frame_start[0], 30);
  EXPECT_EQ(at_frame_start[1], 29);
  EXPECT_EQ(crash_starts, (std::vector<long>{30}));
}

}  // namespace
}  // namespace kelto1
