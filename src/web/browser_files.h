// The game's files in the browser: Emscripten's in-memory file system, with every file the
// game writes (the settings, the last race, the records table and its replays) kept in the
// browser's storage too, so that it is there again after a reload; a file removed is
// removed from the storage as well.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/disk_files.h"

namespace kelto1 {

class BrowserFiles final : public DiskFileStore {
 public:
  // Puts every stored file back where the game left it. A stored value that is not what
  // this store writes becomes a file of its raw text: a damaged file, to the game.
  void RestoreStored();

  bool CreateEmpty(const std::string& path) override;
  bool Replace(const std::string& path, const std::vector<uint8_t>& bytes) override;
  bool Remove(const std::string& path) override;

 private:
  void Store(const std::string& path);
};

// Values kept in the storage beside the files, under names that do not start with '/':
// every one whose name starts with prefix (the prefix taken off), and one written.
std::vector<std::pair<std::string, std::string>> StoredValues(const std::string& prefix);
bool StoreValue(const std::string& name, const std::string& value);

// Bytes as text for the storage, two hex digits each, and back (nothing for bad text).
std::string ToStoredText(const std::vector<uint8_t>& bytes);
std::optional<std::vector<uint8_t>> FromStoredText(const std::string& text);

}  // namespace kelto1
