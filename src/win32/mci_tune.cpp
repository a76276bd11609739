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
  sounding_ = start_when_let_go_ = false;
  return true;
}

bool MciTune::PlayFromStart(std::string& why) {
  if (!open_) {
    why = "no tune is open";
    return false;
  }
  if (held_) {
    sounding_ = start_when_let_go_ = true;
    return true;
  }
  if (const uint32_t error = Send(std::string("play ") + kAlias + " from 0"); error != 0) {
    why = "the MIDI sequencer cannot play the tune (MCI error " + std::to_string(error) + ")";
    return false;
  }
  return true;
}

bool MciTune::Playing() {
  if (!open_) return false;
  if (held_) return sounding_;
  return ModePlaying();
}

bool MciTune::ModePlaying() {
  std::string mode;
  return send_(std::string("status ") + kAlias + " mode", mode) == 0 && mode == "playing";
}

void MciTune::Stop() {
  sounding_ = start_when_let_go_ = false;
  if (open_) Send(std::string("stop ") + kAlias);
}

void MciTune::Hold(bool held) {
  if (held == held_) return;
  held_ = held;
  if (!open_) return;
  if (held) {
    sounding_ = ModePlaying();
    start_when_let_go_ = false;
    if (sounding_) Send(std::string("pause ") + kAlias);
  } else if (start_when_let_go_) {
    start_when_let_go_ = false;
    Send(std::string("play ") + kAlias + " from 0");
  } else if (sounding_) {
    Send(std::string("resume ") + kAlias);
  }
}

void MciTune::Unload() {
  if (!open_) return;
  Send(std::string("close ") + kAlias);
  open_ = false;
  sounding_ = start_when_let_go_ = false;
}

}  // namespace kelto1
