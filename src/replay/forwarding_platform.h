// A platform that passes every call on to another one; the replay's wrappers change
// only the calls they are about.
#pragma once

#include "platform/platform.h"

namespace kelto1 {

class ForwardingPlatform : public Platform {
 public:
  explicit ForwardingPlatform(Platform& inner) : inner_(inner) {}
  Platform& inner() { return inner_; }

  uint32_t GetTickCount() override { return inner_.GetTickCount(); }
  void Idle(uint32_t remaining_ms) override { inner_.Idle(remaining_ms); }
  bool QuitWanted() override { return inner_.QuitWanted(); }
  int16_t GetAsyncKeyState(int virtual_key) override { return inner_.GetAsyncKeyState(virtual_key); }
  void DiscardKeyMessage() override { inner_.DiscardKeyMessage(); }
  void Repaint(const ShownWindow& shown, Element which) override { inner_.Repaint(shown, which); }
  void CentreWindow() override { inner_.CentreWindow(); }
  std::string ProgramFolder() override { return inner_.ProgramFolder(); }
  std::string UserDataFolder() override { return inner_.UserDataFolder(); }
  void Note(const std::string& line) override { inner_.Note(line); }
  FileStore& Files() override { return inner_.Files(); }
  uint32_t JoyGetPos(uint32_t id, JoyPosition& position) override { return inner_.JoyGetPos(id, position); }
  uint32_t JoyGetDevCaps(uint32_t id) override { return inner_.JoyGetDevCaps(id); }
  void PlaySoundFromMemory(const std::vector<uint8_t>& image) override { inner_.PlaySoundFromMemory(image); }
  int32_t SendMusicCommand(const std::string& command, std::string& reply, int32_t reply_length) override {
    return inner_.SendMusicCommand(command, reply, reply_length);
  }
  void EndProgram() override { inner_.EndProgram(); }

 private:
  Platform& inner_;
};

}  // namespace kelto1
