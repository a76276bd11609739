// Everything the game needs from the machine, and nothing more. The desktop front end
// and the headless machine used by tests and the runner both implement it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/shown_window.h"

namespace kelto1 {

// Virtual-key numbers the game asks about.
namespace vk {
constexpr int kControl = 17;
constexpr int kMenu = 18;  // Alt
constexpr int kEscape = 27;
constexpr int kLeft = 37;
constexpr int kRight = 39;
// Only the replay viewer asks about these; the game never does.
constexpr int kSpace = 32;
constexpr int kF2 = 113;
constexpr int kF3 = 114;
constexpr int kReturn = 13;
constexpr int kUp = 38;
constexpr int kDown = 40;
}  // namespace vk

// JoyGetPos and JoyGetDevCaps answer this when there is no joystick at the number.
constexpr uint32_t kJoystickUnplugged = 167;

// Answer of a joystick position query.
struct JoyPosition {
  uint32_t x = 0, y = 0, z = 0;  // 0..65535
  uint32_t buttons = 0;          // bit 0 = button 1, bit 1 = button 2, ...
};

// Whole files in the program's folder (or wherever the platform keeps them).
class FileStore {
 public:
  virtual ~FileStore() = default;
  // The whole file, or nothing when it does not exist or cannot be read.
  virtual std::optional<std::vector<uint8_t>> Read(const std::string& path) = 0;
  // Whether anything is at the path: a file, readable or not, a folder or anything else.
  virtual bool Exists(const std::string& path) = 0;
  // The whole file when it holds at most limit bytes; nothing, with too_big set, for a
  // larger one (a store that can tell the size first never reads it).
  virtual std::optional<std::vector<uint8_t>> ReadAtMost(const std::string& path, size_t limit, bool& too_big) {
    std::optional<std::vector<uint8_t>> bytes = Read(path);
    too_big = bytes && bytes->size() > limit;
    if (too_big) bytes.reset();
    return bytes;
  }
  // Creates an empty file if none exists; false when it cannot be created.
  virtual bool CreateEmpty(const std::string& path) = 0;
  // Replaces the file's contents so that a failure half-way never destroys the old file.
  virtual bool Replace(const std::string& path, const std::vector<uint8_t>& bytes) = 0;
  // Whether new files can be made in the folder.
  virtual bool FolderWritable(const std::string& folder) = 0;
  // Makes the folder and its parents; false when it cannot be made.
  virtual bool MakeFolders(const std::string& folder) = 0;
  // Removes what a save of the file left when the program stopped half-way through it (a
  // crash, a power cut); saves under way in another copy of the game are left alone.
  virtual void RemoveUnfinishedSaves(const std::string& /*path*/) {}
  // Removes a file; false when it was there and could not be removed.
  virtual bool Remove(const std::string& path) = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Milliseconds since the machine started (wraps after 49.7 days).
  virtual uint32_t GetTickCount() = 0;
  // Called by the game's waits with the milliseconds still to go: a desktop may sleep
  // for most of them, a simulated machine moves its clock on.
  virtual void Idle(uint32_t remaining_ms) = 0;
  // True when the person wants the program to end (Escape, or the window being closed):
  // the game's waits stop at once, so that the next Escape check ends the program.
  virtual bool QuitWanted() { return false; }

  // Non-zero when the key is down now or was pressed since the previous query of it.
  virtual int16_t GetAsyncKeyState(int virtual_key) = 0;
  // Removes at most one pending keyboard message addressed to the game window.
  virtual void DiscardKeyMessage() = 0;

  // Shows the painted state of one element, or of the whole window.
  virtual void Repaint(const ShownWindow& shown, Element which) = 0;
  // Centres the window on the screen, at the size the machine finds best for it.
  virtual void CentreWindow() = 0;

  // The program's folder, without a trailing separator.
  virtual std::string ProgramFolder() = 0;
  // The per-user folder for the game's files when the program's folder cannot hold them;
  // empty when the machine has none.
  virtual std::string UserDataFolder() = 0;
  // One line for the person running the game (standard error on a desktop).
  virtual void Note(const std::string& line) = 0;
  virtual FileStore& Files() = 0;

  // Joystick number id: 0 on success, non-zero when there is none or it cannot be read.
  virtual uint32_t JoyGetPos(uint32_t id, JoyPosition& position) = 0;
  virtual uint32_t JoyGetDevCaps(uint32_t id) = 0;

  // Starts a WAV image from memory; a new sound replaces the one playing.
  virtual void PlaySoundFromMemory(const std::vector<uint8_t>& image) = 0;
  // The music's command strings; returns the error code (0 = success) and fills reply.
  virtual int32_t SendMusicCommand(const std::string& command, std::string& reply, int32_t reply_length) = 0;

  // The program ends: nothing of the game runs after this.
  virtual void EndProgram() = 0;
};

}  // namespace kelto1
