// The game's files in the browser: Emscripten's in-memory file system, with every file the
// game writes (the settings file) kept in the browser's storage too, so that it is there
// again after a reload.
#pragma once

#include <string>

#include "platform/disk_files.h"

namespace kelto1 {

class BrowserFiles final : public DiskFileStore {
 public:
  // Puts every stored file back where the game left it. A stored value that is not what
  // this store writes becomes a file of its raw text: a damaged file, to the game.
  void RestoreStored();

  bool CreateEmpty(const std::string& path) override;
  bool Replace(const std::string& path, const std::vector<uint8_t>& bytes) override;

 private:
  void Store(const std::string& path);
};

// Bytes as text for the storage, two hex digits each, and back (nothing for bad text).
std::string ToStoredText(const std::vector<uint8_t>& bytes);
std::optional<std::vector<uint8_t>> FromStoredText(const std::string& text);

}  // namespace kelto1
