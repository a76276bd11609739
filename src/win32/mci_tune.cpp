#include "win32/mci_tune.h"

namespace kelto1 {

std::string MciQuotedPath(const std::string& path) {
  if (path.empty() || path.find('"') != std::string::npos) return {};
  std::string quoted = "\"";
  for (char c : path) quoted += c == '/' ? '\\' : c;
  return quoted + "\"";
}

uint32_t MciTune::Send(const std::string& command) {
  std::string reply;
  return send_(command, reply);
}

bool MciTune::Load(const std::string& path, std::string& why) {
  Unload();
  const std::string quoted = MciQuotedPath(path);
  if (quoted.empty()) {
    why = "the MIDI sequencer cannot be given the path " + path;
    return false;
  }
  if (const uint32_t error = Send("open " + quoted + " type sequencer alias " + kAlias); error != 0) {
    why = "the MIDI sequencer cannot open " + path + " (MCI error " + std::to_string(error) + ")";
    return false;
  }
  open_ = true;
  return true;
}

bool MciTune::PlayFromStart(std::string& why) {
  if (!open_) {
    why = "no tune is open";
    return false;
  }
  if (const uint32_t error = Send(std::string("play ") + kAlias + " from 0"); error != 0) {
    why = "the MIDI sequencer cannot play the tune (MCI error " + std::to_string(error) + ")";
    return false;
  }
  return true;
}

bool MciTune::Playing() {
  if (!open_) return false;
  std::string mode;
  return send_(std::string("status ") + kAlias + " mode", mode) == 0 && mode == "playing";
}

void MciTune::Stop() {
  if (open_) Send(std::string("stop ") + kAlias);
}

void MciTune::Unload() {
  if (!open_) return;
  Send(std::string("close ") + kAlias);
  open_ = false;
}

}  // namespace kelto1
