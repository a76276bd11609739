// Files on disk on Windows, saved as safely as elsewhere: whole-file reads of regular
// files only, and replacement through a temporary file of its own in the same folder,
// flushed and then moved over the old one in one step. Paths are UTF-8 in the game and
// UTF-16 for Windows, so a user folder in any script works.
#include "platform/disk_files.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/disk_files_win32.h"

namespace kelto1 {

std::wstring WidePath(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Utf8Path(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string utf8(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
  return utf8;
}

namespace {

// Closes the handle when it goes out of scope.
struct Handle {
  HANDLE h = INVALID_HANDLE_VALUE;
  explicit Handle(HANDLE handle) : h(handle) {}
  ~Handle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool ok() const { return h != INVALID_HANDLE_VALUE; }
};

// Opens only a regular disk file: a device or pipe under a game file's name would
// otherwise hold the game at start-up.
HANDLE OpenRegular(const std::wstring& path, DWORD access, DWORD disposition) {
  if (path.empty()) return INVALID_HANDLE_VALUE;
  HANDLE h = CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return h;
  if (GetFileType(h) != FILE_TYPE_DISK) {
    CloseHandle(h);
    return INVALID_HANDLE_VALUE;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(h, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    CloseHandle(h);
    return INVALID_HANDLE_VALUE;
  }
  return h;
}

// A name of its own for every save, so that two copies of the game (or two saves of one)
// never write into the same temporary file.
std::string TemporaryNameFor(const std::string& path) {
  static std::atomic<unsigned long> saves{0};
  return path + ".saving." + std::to_string(GetCurrentProcessId()) + "." + std::to_string(saves.fetch_add(1));
}

bool IsFolder(const std::wstring& path) {
  const DWORD a = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::optional<std::vector<uint8_t>> DiskFileStore::Read(const std::string& path) {
  bool too_big = false;
  return ReadAtMost(path, SIZE_MAX, too_big);
}

bool DiskFileStore::Exists(const std::string& path) {
  const std::wstring wide = WidePath(path);
  return !wide.empty() && GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The size is asked of the open file, so a file too large is refused before any of it
// is read; one that grows meanwhile is caught while reading.
std::optional<std::vector<uint8_t>> DiskFileStore::ReadAtMost(const std::string& path, size_t limit,
                                                              bool& too_big) {
  too_big = false;
  Handle file(OpenRegular(WidePath(path), GENERIC_READ, OPEN_EXISTING));
  if (!file.ok()) return std::nullopt;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.h, &size) && static_cast<uint64_t>(size.QuadPart) > limit) {
    too_big = true;
    return std::nullopt;
  }
  std::vector<uint8_t> bytes;
  uint8_t chunk[16384];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(file.h, chunk, sizeof chunk, &n, nullptr)) return std::nullopt;
    if (n == 0) break;
    if (bytes.size() + n > limit) {
      too_big = true;
      return std::nullopt;
    }
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  return bytes;
}

bool DiskFileStore::CreateEmpty(const std::string& path) {
  Handle file(OpenRegular(WidePath(path), GENERIC_WRITE, OPEN_ALWAYS));
  return file.ok();
}

bool DiskFileStore::Replace(const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::wstring target = WidePath(path);
  const std::wstring temp = WidePath(TemporaryNameFor(path));
  if (target.empty() || temp.empty()) return false;
  {
    Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) return false;
    size_t done = 0;
    bool written = true;
    while (done < bytes.size() && written) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
      DWORD n = 0;
      written = WriteFile(file.h, bytes.data() + done, chunk, &n, nullptr) && n > 0;
      done += n;
    }
    // The new contents are on disk before they take the old file's name.
    if (!written || !FlushFileBuffers(file.h)) {
      CloseHandle(file.h);
      file.h = INVALID_HANDLE_VALUE;
      DeleteFileW(temp.c_str());
      return false;
    }
  }
  if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temp.c_str());
    return false;
  }
  return true;
}

// On Windows a program folder is the player's only when it says so: the game is
// usually unzipped under Program Files or Downloads, and keeps each player's files in
// their own folder unless portable.txt beside the program asks to keep them there.
bool DiskFileStore::FolderWritable(const std::string& folder) {
  const std::wstring wide = WidePath(folder);
  if (!IsFolder(wide) || !Exists(folder + "/" + kPortableMarker) || Exists(folder + "/" + kSharedFolderMarker))
    return false;
  // Whether a new file can really be made there (a read-only stick, a locked folder).
  const std::wstring probe = WidePath(TemporaryNameFor(folder + "/kelto1-probe"));
  HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

bool DiskFileStore::MakeFolders(const std::string& folder) {
  std::wstring wide = WidePath(folder);
  if (wide.empty()) return false;
  for (wchar_t& c : wide)
    if (c == L'/') c = L'\\';
  // Each parent in turn, from the first that exists.
  for (size_t at = wide.find(L'\\', 3); at != std::wstring::npos; at = wide.find(L'\\', at + 1))
    CreateDirectoryW(wide.substr(0, at).c_str(), nullptr);
  CreateDirectoryW(wide.c_str(), nullptr);
  return IsFolder(wide);
}

void DiskFileStore::RemoveUnfinishedSaves(const std::string& path) {
  const std::string prefix = path + ".saving.";
  const size_t slash = path.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(WidePath(prefix + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  const std::string name_prefix = prefix.substr(folder.size());
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string name = Utf8Path(found.cFileName);
    if (name.compare(0, name_prefix.size(), name_prefix) != 0) continue;
    // The saver's process number, then its save's number.
    const std::string rest = name.substr(name_prefix.size());
    const size_t dot = rest.find('.');
    if (dot == 0 || dot == std::string::npos || rest.find_first_not_of("0123456789") != dot) continue;
    const unsigned long saver = std::strtoul(rest.substr(0, dot).c_str(), nullptr, 10);
    if (saver == GetCurrentProcessId()) continue;
    // A copy of the game still running may be saving right now.
    if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, saver)) {
      const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
      CloseHandle(process);
      if (running) continue;
    } else if (GetLastError() != ERROR_INVALID_PARAMETER) {
      continue;  // there, but not ours to ask about
    }
    DeleteFileW(WidePath(folder + name).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

bool DiskFileStore::Remove(const std::string& path) {
  return DeleteFileW(WidePath(path).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

std::string DefaultUserDataFolder() {
  wchar_t appdata[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appdata)) || !appdata[0]) return {};
  return Utf8Path(appdata) + "\\Kelto1";
}

}  // namespace kelto1
