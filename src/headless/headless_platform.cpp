// The simulated machine.
#include "headless/headless_platform.h"


namespace kelto1 {

namespace {
std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
}  // namespace

std::optional<std::vector<uint8_t>> MemoryFileStore::Read(const std::string& path) {
  if (unreadable.count(path)) return std::nullopt;
  auto it = files.find(path);
  if (it == files.end()) return std::nullopt;
  return it->second;
}

bool MemoryFileStore::CreateEmpty(const std::string& path) {
  if (unreadable.count(path)) return false;
  if (files.count(path)) return true;
  if (read_only_folders.count(FolderOf(path))) return false;
  files[path] = {};
  return true;
}

bool MemoryFileStore::Replace(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (read_only_folders.count(FolderOf(path))) return false;
  files[path] = bytes;
  return true;
}

bool MemoryFileStore::FolderWritable(const std::string& folder) { return !read_only_folders.count(folder); }
bool MemoryFileStore::MakeFolders(const std::string& folder) { return !read_only_folders.count(folder); }

bool MemoryFileStore::Remove(const std::string& path) {
  if (read_only_folders.count(FolderOf(path))) return !files.count(path);
  files.erase(path);
  return true;
}

HeadlessPlatform::HeadlessPlatform() = default;

int16_t HeadlessPlatform::GetAsyncKeyState(int virtual_key) {
  const bool down = held.count(virtual_key) != 0;
  const bool was_tapped = tapped.erase(virtual_key) != 0;
  if (down) return static_cast<int16_t>(0x8000);
  return was_tapped ? 1 : 0;
}

void HeadlessPlatform::DiscardKeyMessage() {
  if (pending_key_messages > 0) {
    --pending_key_messages;
    ++discarded_key_messages;
  }
}

void HeadlessPlatform::Repaint(const ShownWindow& shown, Element which) {
  ++repaints[which];
  if (on_repaint) on_repaint(shown, which);
}

void HeadlessPlatform::CentreWindow() { window_centred = true; }

uint32_t HeadlessPlatform::JoyGetPos(uint32_t id, JoyPosition& position) {
  if (!joystick_present || id != 0) return kJoystickUnplugged;
  position = joystick;
  return 0;
}

uint32_t HeadlessPlatform::JoyGetDevCaps(uint32_t id) { return (joystick_present && id == 0) ? 0 : kJoystickUnplugged; }

int32_t HeadlessPlatform::SendMusicCommand(const std::string& command, std::string& reply, int32_t reply_length) {
  music_commands.push_back(command);
  return music.Send(command, reply, reply_length);
}

}  // namespace kelto1
