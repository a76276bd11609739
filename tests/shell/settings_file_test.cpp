// "car.dat": its bytes, and how the game keeps it safe.
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <thread>

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

TEST_F(SettingsTest, AnUnreadableFileIsLeftAloneAndTheSettingsGoToTheUser) {
  platform.files.unreadable.insert(path);
  game.LoadSettings();
  const std::string user_file = platform.user_data_folder + "/car.dat";
  EXPECT_EQ(game.SettingsPath, user_file);
  ASSERT_EQ(platform.notes.size(), 1u) << "one line at start-up";
  EXPECT_NE(platform.notes[0].find("cannot read " + path), std::string::npos) << platform.notes[0];
  EXPECT_NE(platform.notes[0].find(user_file), std::string::npos) << platform.notes[0];
  box(Element::HighSc).text = "17";
  game.SaveSettings();
  EXPECT_FALSE(platform.files.files.count(path)) << "the record that could not be read was written over";
  EXPECT_EQ(DecodeSettings(platform.files.files.at(user_file)).BestRank, 17);
}

TEST_F(SettingsTest, TheUsersOwnFileIsReadWhenTheProgramsCannotBe) {
  const std::string user_file = platform.user_data_folder + "/car.dat";
  platform.files.unreadable.insert(path);
  platform.files.files[user_file] = {4, 0, 0, 0, 11, 0, 0, 0, 0, 0};
  game.LoadSettings();
  EXPECT_EQ(box(Element::Gamewait).text, "4");
  EXPECT_EQ(box(Element::HighSc).text, "11");
}

// Nowhere to save: the game still runs, with the settings it could read, and says so once.
TEST_F(SettingsTest, WithNowhereToSaveTheSettingsStayInMemory) {
  const struct {
    const char* what;
    bool program_read_only, program_unreadable, user_unreadable, home_read_only;
    const char* user_folder;
    const char* note;
  } cases[] = {
      {"read-only folder and no home", true, false, false, false, "", "no home folder"},
      {"unreadable file and no home", false, true, false, false, "", "no home folder"},
      {"unreadable file here and there", false, true, true, false, "/home/player/.local/share/kelto1",
       "cannot read /home/player/.local/share/kelto1/car.dat"},
      // The folder could not be made, so the settings are not said to be kept there.
      {"read-only folder and a read-only home", true, false, false, true, "/home/player/.local/share/kelto1",
       "cannot make the folder /home/player/.local/share/kelto1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HeadlessPlatform machine;
    Kelto1 g{machine};
    machine.user_data_folder = c.user_folder;
    machine.files.files[path] = {2, 0, 0, 0, 6, 0, 0, 0, 0, 0};
    if (c.program_read_only) machine.files.read_only_folders.insert("/game");
    if (c.program_unreadable) machine.files.unreadable.insert(path);
    if (c.user_unreadable) machine.files.unreadable.insert(std::string(c.user_folder) + "/car.dat");
    if (c.home_read_only) machine.files.read_only_folders.insert(c.user_folder);
    const auto before = machine.files.files;
    g.LoadSettings();
    ASSERT_EQ(machine.notes.size(), 1u);
    EXPECT_NE(machine.notes[0].find("in memory"), std::string::npos) << machine.notes[0];
    EXPECT_NE(machine.notes[0].find(c.note), std::string::npos) << machine.notes[0];
    EXPECT_EQ(g.window[Element::HighSc].text, c.program_unreadable ? "0" : "6");
    g.window[Element::HighSc].text = "3";
    g.SaveSettings();
    EXPECT_EQ(machine.files.files, before) << "nothing may be written";
    EXPECT_EQ(machine.notes.size(), 1u) << "said once, at start-up";
  }
}

TEST_F(SettingsTest, WithoutAHomeTheSettingsStayBesideAWritableProgram) {
  platform.user_data_folder = "";
  game.LoadSettings();
  EXPECT_EQ(game.SettingsPath, path);
  EXPECT_TRUE(platform.notes.empty());
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

TEST_F(DiskFilesTest, WhatACrashLeftOfASaveIsRemovedAndSavesUnderWayAreNot) {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ASSERT_GT(gone, 0);
  ::waitpid(gone, nullptr, 0);
  const std::string base = (dir / "last.k1r").string();
  const std::string crashed = base + ".saving." + std::to_string(gone) + ".4";
  const std::string running = base + ".saving." + std::to_string(::getppid()) + ".0";
  const std::string own = base + ".saving." + std::to_string(::getpid()) + ".1";
  const std::string foreign = base + ".saving.notes";
  const std::string other_file = (dir / "best.k1r").string() + ".saving." + std::to_string(gone) + ".0";
  for (const std::string& f : {crashed, running, own, foreign, other_file, base}) std::ofstream(f) << "x";
  store.RemoveUnfinishedSaves(base);
  EXPECT_FALSE(std::filesystem::exists(crashed));
  for (const std::string& f : {running, own, foreign, other_file, base}) EXPECT_TRUE(std::filesystem::exists(f)) << f;
}

TEST_F(DiskFilesTest, AMissingFileIsNeverMadeThroughADanglingLink) {
  const std::filesystem::path target = dir / "elsewhere.wav";
  std::filesystem::create_symlink(target, dir / "crbit.wav");
  EXPECT_FALSE(store.CreateEmpty((dir / "crbit.wav").string()));
  EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(DiskFilesTest, FailedSaveKeepsTheOldFile) {
  const std::string f = (dir / "car.dat").string();
  ASSERT_TRUE(store.Replace(f, {7, 7}));
  // A file size limit makes the save fail half-way through writing (root included).
  struct rlimit old_limit {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  struct sigaction ignore {}, old_action {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGXFSZ, &ignore, &old_action);
  struct rlimit small = old_limit;
  small.rlim_cur = 2;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = store.Replace(f, {9, 9, 9, 9, 9});
  ::setrlimit(RLIMIT_FSIZE, &old_limit);
  ::sigaction(SIGXFSZ, &old_action, nullptr);
  EXPECT_FALSE(saved);
  EXPECT_EQ(store.Read(f), (Bytes{7, 7}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "the temporary file is left behind";
}

// A save in progress elsewhere (another copy of the game quitting at the same moment)
// does not get in the way: every save writes a temporary file of its own.
TEST_F(DiskFilesTest, SavesAtTheSameMomentDoNotShareATemporaryFile) {
  const std::string f = (dir / "car.dat").string();
  std::filesystem::create_directories(f + ".saving");  // the one name all copies once used
  ASSERT_TRUE(store.Replace(f, {1}));
  std::filesystem::remove(f + ".saving");
  const Bytes a(300, 0xAA), b(300, 0xBB);
  std::atomic<int> failed{0};
  auto saver = [&](const Bytes& bytes) {
    DiskFileStore own;
    for (int i = 0; i < 200; ++i) failed += own.Replace(f, bytes) ? 0 : 1;
  };
  std::thread first(saver, std::cref(a)), second(saver, std::cref(b));
  first.join();
  second.join();
  EXPECT_EQ(failed.load(), 0);
  const auto now = store.Read(f);
  ASSERT_TRUE(now);
  EXPECT_TRUE(*now == a || *now == b) << "the saves were mixed";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

// Runs `call` on a thread of its own. A call stuck on the FIFO is freed by opening and
// closing the FIFO's other end until it returns, and counts as not finished.
bool FinishesPromptly(const std::function<void()>& call, const std::string& fifo) {
  std::future<void> done = std::async(std::launch::async, call);
  if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready) return true;
  while (done.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
    const int fd = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
  }
  return false;
}

TEST_F(DiskFilesTest, OnlyRegularFilesAreReadAndNothingWaitsForAFifo) {
  const std::string fifo = (dir / "car.dat").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  std::optional<Bytes> got{Bytes{}};
  bool created = true;
  EXPECT_TRUE(FinishesPromptly([&] { got = store.Read(fifo); }, fifo)) << "Read waited for a writer";
  EXPECT_FALSE(got);
  EXPECT_TRUE(FinishesPromptly([&] { created = store.CreateEmpty(fifo); }, fifo)) << "CreateEmpty waited for a reader";
  EXPECT_FALSE(created);
  EXPECT_TRUE(store.Exists(fifo));

  const std::string folder = (dir / "crsh.wav").string();
  std::filesystem::create_directories(folder);
  EXPECT_FALSE(store.Read(folder));
  EXPECT_FALSE(store.CreateEmpty(folder));
  EXPECT_TRUE(store.Exists(folder));
  EXPECT_FALSE(store.Exists((dir / "missing").string()));
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

// A service or a cron job may run the game without HOME: the account's home is used,
// never a folder relative to wherever the game was started.
TEST_F(DiskFilesTest, WithoutHomeTheAccountsHomeDirectoryIsUsed) {
  const char* old_home = std::getenv("HOME");
  const char* old_xdg = std::getenv("XDG_DATA_HOME");
  const std::string saved_home = old_home ? old_home : "", saved_xdg = old_xdg ? old_xdg : "";
  unsetenv("XDG_DATA_HOME");
  const passwd* pw = ::getpwuid(::getuid());
  const std::string account = pw && pw->pw_dir && pw->pw_dir[0] == '/' ? pw->pw_dir : "";
  for (const char* home : {static_cast<const char*>(nullptr), "", "relative/home"}) {
    SCOPED_TRACE(home ? home : "(unset)");
    if (home) setenv("HOME", home, 1); else unsetenv("HOME");
    const std::string folder = DefaultUserDataFolder();
    if (account.empty()) {
      EXPECT_EQ(folder, "") << "no home at all must say so, not invent one";
    } else {
      EXPECT_EQ(folder, account + "/.local/share/kelto1");
    }
  }
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(DefaultUserDataFolder(), "/home/someone/.local/share/kelto1");
  if (old_home) setenv("HOME", saved_home.c_str(), 1); else unsetenv("HOME");
  if (old_xdg) setenv("XDG_DATA_HOME", saved_xdg.c_str(), 1);
}

// The game itself on real folders: what a player finds in place of car.dat.
class SettingsOnDiskTest : public DiskFilesTest {
 protected:
  class DiskMachine : public HeadlessPlatform {
   public:
    FileStore& Files() override { return disk; }
    DiskFileStore disk;
  };
  void SetUp() override {
    DiskFilesTest::SetUp();
    machine.program_folder = (dir / "program").string();
    machine.user_data_folder = (dir / "user").string();
    std::filesystem::create_directories(machine.program_folder);
  }
  std::string program_file() const { return machine.program_folder + "/car.dat"; }
  std::string user_file() const { return machine.user_data_folder + "/car.dat"; }
  // Loads and saves a best rank of 5; the settings must end in the user's folder.
  void ExpectSavedWithTheUser(Kelto1& g) {
    ASSERT_EQ(machine.notes.size(), 1u);
    EXPECT_NE(machine.notes[0].find(program_file()), std::string::npos) << machine.notes[0];
    EXPECT_NE(machine.notes[0].find(user_file()), std::string::npos) << machine.notes[0];
    g.window[Element::HighSc].text = "5";
    g.SaveSettings();
    const auto saved = machine.disk.Read(user_file());
    ASSERT_TRUE(saved);
    EXPECT_EQ(DecodeSettings(*saved).BestRank, 5);
  }
  DiskMachine machine;
};

// A car.dat far larger than any record (sparse, so it costs no disk) is neither read nor
// written back; the settings go to the user's folder.
TEST_F(SettingsOnDiskTest, AHugeCarDatIsLeftAsItIs) {
  {
    std::ofstream f(program_file(), std::ios::binary);
    f << std::string(10, '\0');
  }
  std::filesystem::resize_file(program_file(), 3ull << 30);
  Kelto1 g{machine};
  g.LoadSettings();
  ASSERT_FALSE(machine.notes.empty());
  EXPECT_NE(machine.notes[0].find("larger than a settings file can be"), std::string::npos) << machine.notes[0];
  ExpectSavedWithTheUser(g);
  EXPECT_EQ(std::filesystem::file_size(program_file()), 3ull << 30);
}

TEST_F(SettingsOnDiskTest, SavesACrashCutShortAreRemovedAtStartUp) {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ASSERT_GT(gone, 0);
  ::waitpid(gone, nullptr, 0);
  std::vector<std::string> left;
  for (const char* name : {"car.dat", "last.k1r", "best.k1r"})
    left.push_back(machine.program_folder + "/" + name + ".saving." + std::to_string(gone) + ".0");
  for (const std::string& f : left) std::ofstream(f) << "half a save";
  Kelto1 g{machine};
  g.LoadSettings();
  for (const std::string& f : left) EXPECT_FALSE(std::filesystem::exists(f)) << f;
}

TEST_F(SettingsOnDiskTest, SomethingUnreadableNamedCarDatIsLeftAsItIs) {
  const struct {
    const char* what;
    std::function<void(const std::string&)> make;
    std::function<bool(const std::string&)> unchanged;
  } cases[] = {
      {"a folder", [](const std::string& p) { std::filesystem::create_directories(p + "/inside"); },
       [](const std::string& p) { return std::filesystem::is_directory(p + "/inside"); }},
      {"a FIFO", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); },
       [](const std::string& p) { return std::filesystem::is_fifo(p); }},
      {"a link to nowhere", [](const std::string& p) { std::filesystem::create_symlink("nowhere", p); },
       [](const std::string& p) { return std::filesystem::is_symlink(p) && !std::filesystem::exists(p); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(program_file());
    std::filesystem::remove_all(machine.user_data_folder);
    machine.notes.clear();
    c.make(program_file());
    Kelto1 g{machine};
    EXPECT_TRUE(FinishesPromptly([&] { g.LoadSettings(); }, program_file())) << "start-up waited";
    ExpectSavedWithTheUser(g);
    EXPECT_TRUE(c.unchanged(program_file()));
  }
}

TEST_F(SettingsOnDiskTest, AFileWithoutReadPermissionKeepsItsRecord) {
  if (::geteuid() == 0)
    GTEST_SKIP() << "root reads a file without read permission; the folder, FIFO and link cases cover an "
                    "unreadable car.dat";
  { std::ofstream(program_file(), std::ios::binary) << std::string("\x01\0\0\0\x02\0\0\0\0\0", 10); }
  std::filesystem::permissions(program_file(), std::filesystem::perms::none);
  Kelto1 g{machine};
  g.LoadSettings();
  ExpectSavedWithTheUser(g);
  std::filesystem::permissions(program_file(), std::filesystem::perms::owner_read);
  EXPECT_EQ(machine.disk.Read(program_file()), (Bytes{1, 0, 0, 0, 2, 0, 0, 0, 0, 0}));
}

TEST_F(SettingsOnDiskTest, AFifoNamedLikeASoundFileDoesNotHoldUpStartUp) {
  const std::string fifo = machine.program_folder + "/crsh.wav";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  Kelto1 g{machine};
  EXPECT_TRUE(FinishesPromptly([&] { g.LoadSounds(); }, fifo));
  bool told = false;
  for (const std::string& note : machine.notes) told |= note.find("cannot read " + fifo) != std::string::npos;
  EXPECT_TRUE(told);
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

}  // namespace
}  // namespace kelto1
