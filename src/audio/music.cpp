// The background tune: opened, played and watched through the music command strings.
#include <algorithm>
#include <cctype>
#include <string>

#include "platform/music_commands.h"
#include "shell/kelto1.h"

namespace kelto1 {

namespace {
void Send(Platform& platform, const std::string& command) {
  std::string reply;
  platform.SendMusicCommand(command, reply, 0);
}
}  // namespace

void Kelto1::StartMusic() {
  // Stopping and closing first is safe whether or not an earlier race left it open.
  Send(platform, "stop midifile ");
  Send(platform, "close midifile");
  // Quoted so that any folder name, blanks and double quotes included, gets through.
  Send(platform, "open " + QuoteMusicPath(platform.ProgramFolder() + "/bgm.mid") + " type sequencer alias midifile");
  Send(platform, "play midifile from 0");
}

void Kelto1::StopMusic() {
  Send(platform, "stop midifile ");
  Send(platform, "close midifile");
}

void Kelto1::KeepMusicPlaying() {
  std::string reply(16, ' ');
  const int32_t result = platform.SendMusicCommand("status midifile mode", reply, 15);
  if (result == music_error::kAliasNotOpen) return;
  std::string head = reply.substr(0, 7);
  std::transform(head.begin(), head.end(), head.begin(), [](unsigned char c) { return std::toupper(c); });
  if (head == "STOPPED") Send(platform, "play midifile from 0");
}

}  // namespace kelto1
