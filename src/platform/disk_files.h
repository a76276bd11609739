// Files on disk for the desktop: whole-file reads, and replacement through a temporary
// file in the same folder so that a crash during a save never destroys the old file.
#pragma once

#include "platform/platform.h"

namespace kelto1 {

class DiskFileStore : public FileStore {
 public:
  std::optional<std::vector<uint8_t>> Read(const std::string& path) override;
  std::optional<std::vector<uint8_t>> ReadAtMost(const std::string& path, size_t limit, bool& too_big) override;
  bool CreateEmpty(const std::string& path) override;
  bool Replace(const std::string& path, const std::vector<uint8_t>& bytes) override;
  bool FolderWritable(const std::string& folder) override;
  bool MakeFolders(const std::string& folder) override;
};

// $XDG_DATA_HOME/kelto1, or ~/.local/share/kelto1 when that is not set.
std::string DefaultUserDataFolder();

}  // namespace kelto1
