// Files on disk, saved safely.
#include "platform/disk_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kelto1 {

namespace fs = std::filesystem;

std::optional<std::vector<uint8_t>> DiskFileStore::Read(const std::string& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

std::optional<std::vector<uint8_t>> DiskFileStore::ReadAtMost(const std::string& path, size_t limit,
                                                              bool& too_big) {
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  too_big = !ec && size > limit;
  if (too_big) return std::nullopt;
  std::optional<std::vector<uint8_t>> bytes = Read(path);
  // The file may have grown since its size was asked.
  too_big = bytes && bytes->size() > limit;
  if (too_big) bytes.reset();
  return bytes;
}

bool DiskFileStore::CreateEmpty(const std::string& path) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

bool DiskFileStore::Replace(const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::string temp = path + ".saving";
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
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
  return true;
}

bool DiskFileStore::FolderWritable(const std::string& folder) {
  std::error_code ec;
  return fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool DiskFileStore::MakeFolders(const std::string& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  return fs::is_directory(folder, ec);
}

std::string DefaultUserDataFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg == '/') return std::string(xdg) + "/kelto1";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.local/share/kelto1";
}

}  // namespace kelto1
