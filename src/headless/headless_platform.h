// A simulated machine for tests and the runner: a clock that moves only when the game
// waits, scripted keys, files in memory, and a record of everything the game asked for.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/music_commands.h"
#include "platform/platform.h"

namespace kelto1 {

class MemoryFileStore : public FileStore {
 public:
  std::optional<std::vector<uint8_t>> Read(const std::string& path) override;
  bool Exists(const std::string& path) override { return files.count(path) || unreadable.count(path); }
  bool CreateEmpty(const std::string& path) override;
  bool Replace(const std::string& path, const std::vector<uint8_t>& bytes) override;
  bool FolderWritable(const std::string& folder) override;
  bool MakeFolders(const std::string& folder) override;
  bool Remove(const std::string& path) override;

  std::map<std::string, std::vector<uint8_t>> files;
  std::set<std::string> read_only_folders;  // folders where nothing can be made or replaced
  std::set<std::string> unreadable;         // paths where something is that cannot be read
};

// The simulated machine's tune: it loads whatever it is given and plays until it is
// stopped or a test lets it run out (playing = false).
class SimulatedTune final : public TunePlayer {
 public:
  bool Load(const std::string&, std::string&) override { return true; }
  bool PlayFromStart(std::string&) override {
    playing = true;
    return true;
  }
  bool Playing() override { return playing; }
  void Stop() override { playing = false; }
  void Unload() override { playing = false; }
  bool playing = false;
};

class HeadlessPlatform : public Platform {
 public:
  HeadlessPlatform();
  // The music layer tells its lines into notes: the machine stays where it was made.
  HeadlessPlatform(const HeadlessPlatform&) = delete;
  HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

  // ---- Platform --------------------------------------------------------------------
  uint32_t GetTickCount() override { return now_ms; }
  void Idle(uint32_t remaining_ms) override { now_ms += remaining_ms; }
  int16_t GetAsyncKeyState(int virtual_key) override;
  void DiscardKeyMessage() override;
  void Repaint(const ShownWindow& shown, Element which) override;
  void CentreWindow() override;
  std::string ProgramFolder() override { return program_folder; }
  std::string UserDataFolder() override { return user_data_folder; }
  void Note(const std::string& line) override { notes.push_back(line); }
  FileStore& Files() override { return files; }
  uint32_t JoyGetPos(uint32_t id, JoyPosition& position) override;
  uint32_t JoyGetDevCaps(uint32_t id) override;
  void PlaySoundFromMemory(const std::vector<uint8_t>& image) override { played_sounds.push_back(&image); }
  int32_t SendMusicCommand(const std::string& command, std::string& reply, int32_t reply_length) override;
  void EndProgram() override { ended = true; }

  // ---- The script ------------------------------------------------------------------
  void Hold(int virtual_key) { held.insert(virtual_key); }
  void Release(int virtual_key) { held.erase(virtual_key); }
  void ReleaseAll() { held.clear(); }
  // A press and release between two queries: reported once by the next query.
  void Tap(int virtual_key) { tapped.insert(virtual_key); }

  uint32_t now_ms = 0;
  std::set<int> held;
  std::set<int> tapped;
  int pending_key_messages = 0;  // keyboard messages waiting in the window's queue
  int discarded_key_messages = 0;
  bool window_centred = false;
  std::string program_folder = "/game";
  std::string user_data_folder = "/home/player/.local/share/kelto1";
  MemoryFileStore files;
  std::vector<std::string> notes;

  bool joystick_present = false;
  JoyPosition joystick;

  std::vector<const std::vector<uint8_t>*> played_sounds;

  // The music layer: the desktop's command strings, carried out on a simulated tune.
  std::vector<std::string> music_commands;  // every command sent, in order
  SimulatedTune tune;
  MusicCommands music{tune, [this](const std::string& line) { notes.push_back(line); }};

  std::map<Element, int> repaints;  // how often each element (or the window) was repainted
  std::function<void(const ShownWindow&, Element)> on_repaint;
  bool ended = false;
};

}  // namespace kelto1
