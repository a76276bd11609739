// Files on disk, saved safely.
#include "platform/disk_files.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace kelto1 {

namespace fs = std::filesystem;

namespace {

// Opens only a regular file, and never waits: a FIFO or a device under a game file's name
// would otherwise hold the game at start-up until something wrote to it.
int OpenRegular(const std::string& path, int flags, mode_t mode = 0) {
  const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// A name of its own for every save, so that two copies of the game (or two saves of one)
// never write into the same temporary file.
constexpr char kSavingMark[] = ".saving.";

std::string TemporaryNameFor(const std::string& path) {
  static std::atomic<unsigned long> saves{0};
  return path + kSavingMark + std::to_string(::getpid()) + "." + std::to_string(saves.fetch_add(1));
}

// The process number in the rest of a temporary file's name ("PID.N"), or 0.
pid_t SaverOf(const std::string& rest) {
  const size_t dot = rest.find('.');
  if (dot == 0 || dot == std::string::npos || rest.size() > 40) return 0;
  for (size_t i = 0; i < rest.size(); ++i)
    if (i != dot && (rest[i] < '0' || rest[i] > '9')) return 0;
  const unsigned long long pid = std::strtoull(rest.substr(0, dot).c_str(), nullptr, 10);
  return pid > 0 && pid <= 0x7FFFFFFF ? static_cast<pid_t>(pid) : 0;
}

// A rename is kept across a power cut only once the folder itself is on disk. A file
// system that cannot sync a folder (EINVAL) keeps its names some other way.
bool SyncFolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
  ::close(fd);
  return synced;
}

}  // namespace

std::optional<std::vector<uint8_t>> DiskFileStore::Read(const std::string& path) {
  bool too_big = false;
  return ReadAtMost(path, SIZE_MAX, too_big);
}

bool DiskFileStore::Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// The size is asked of the open file, so a file too large is refused before any of it
// is read; one that grows meanwhile is caught while reading.
std::optional<std::vector<uint8_t>> DiskFileStore::ReadAtMost(const std::string& path, size_t limit,
                                                              bool& too_big) {
  too_big = false;
  const int fd = OpenRegular(path, O_RDONLY);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && static_cast<uintmax_t>(st.st_size) > limit) {
    ::close(fd);
    too_big = true;
    return std::nullopt;
  }
  std::vector<uint8_t> bytes;
  uint8_t chunk[16384];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    if (bytes.size() + static_cast<size_t>(n) > limit) {
      ::close(fd);
      too_big = true;
      return std::nullopt;
    }
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  ::close(fd);
  return bytes;
}

bool DiskFileStore::CreateEmpty(const std::string& path) {
  // O_NOFOLLOW: a dangling symbolic link under the name would have the file made wherever
  // it points.
  const int fd = OpenRegular(path, O_WRONLY | O_CREAT | O_NOFOLLOW, 0644);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

bool DiskFileStore::Replace(const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::string temp = TemporaryNameFor(path);
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ::close(fd);
      ::unlink(temp.c_str());
      return false;
    }
    done += static_cast<size_t>(n);
  }
  // The new contents are on disk before they take the old file's name.
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return SyncFolderOf(path);
}

void DiskFileStore::RemoveUnfinishedSaves(const std::string& path) {
  const fs::path file(path);
  const std::string prefix = file.filename().string() + kSavingMark;
  std::error_code ec;
  fs::directory_iterator it(file.has_parent_path() ? file.parent_path() : fs::path("."), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const pid_t saver = SaverOf(name.substr(prefix.size()));
    // A copy of the game still running may be saving right now.
    if (saver == 0 || saver == ::getpid() || ::kill(saver, 0) == 0 || errno != ESRCH) continue;
    if (!it->is_symlink(ec) && !it->is_regular_file(ec)) continue;
    ::unlink(it->path().c_str());
  }
}

// A folder of a game installed for all users of the machine holds the marker file: the
// game writes nothing into it, even where it could (as root can).
static bool MarkedShared(const fs::path& folder) {
  std::error_code ec;
  return fs::exists(folder / kSharedFolderMarker, ec);
}

bool DiskFileStore::FolderWritable(const std::string& folder) {
  std::error_code ec;
  return fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) == 0 && !MarkedShared(folder);
}

bool DiskFileStore::MakeFolders(const std::string& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  return fs::is_directory(folder, ec);
}

bool DiskFileStore::Remove(const std::string& path) {
  return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

std::string DefaultUserDataFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg == '/') return std::string(xdg) + "/kelto1";
  std::string home;
  const char* env_home = std::getenv("HOME");
  if (env_home && *env_home == '/') {
    home = env_home;
  } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/') {
    // No usable HOME (a service, a cron job): the account's home directory.
    home = pw->pw_dir;
  }
  if (home.empty()) return {};
  return home + "/.local/share/kelto1";
}

}  // namespace kelto1
