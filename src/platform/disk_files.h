// Files on disk for the desktop: whole-file reads of regular files only, and replacement
// through a temporary file of its own in the same folder so that a crash during a save
// never destroys the old file (PATH.saving.PID.N, removed at the next start if a crash
// left it).
#pragma once

#include "platform/platform.h"

namespace kelto1 {

// The file that marks a program folder as installed for all users (the package puts it
// beside the program): FolderWritable says no for such a folder even where the file
// system would allow it (to root), so the game keeps each player's settings in their own
// folder.
inline constexpr const char kSharedFolderMarker[] = "per-user-settings";

class DiskFileStore : public FileStore {
 public:
  std::optional<std::vector<uint8_t>> Read(const std::string& path) override;
  bool Exists(const std::string& path) override;
  std::optional<std::vector<uint8_t>> ReadAtMost(const std::string& path, size_t limit, bool& too_big) override;
  bool CreateEmpty(const std::string& path) override;
  bool Replace(const std::string& path, const std::vector<uint8_t>& bytes) override;
  bool FolderWritable(const std::string& folder) override;
  bool MakeFolders(const std::string& folder) override;
  void RemoveUnfinishedSaves(const std::string& path) override;
  bool Remove(const std::string& path) override;
};

// $XDG_DATA_HOME/kelto1, or .local/share/kelto1 in the home directory ($HOME, or the
// account's home when HOME is not set); empty when there is no home directory at all.
std::string DefaultUserDataFolder();

}  // namespace kelto1
