// kelto1-sim: the game on a simulated machine. Starts the program, shows the title
// screen, starts a race with Ctrl and runs race frames with scripted keys, printing
// key=value lines. Reads and writes no settings file.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "app/ghost.h"
#include "app/sim_session.h"
#include "app/soak.h"
#include "replay/replay_file.h"
#include "replay/replay_player.h"
#include "replay/view_hash.h"
#include "sim_modes.h"

namespace {

using kelto1::Element;
using kelto1::Kelto1;
using kelto1::ViewHash;

struct Options {
  std::string car = "RacingCar";
  long frames = 0;
  std::string demo_path;
  std::map<long, std::string> pngs;
  long every = 0;
  bool random_input = false;
  uint64_t seed = 0;
  bool check = false;
  bool bench = false;
  bool road_rows = false;
  bool view_hash = false;
  std::string record_path;
  std::string replay_path;
  std::vector<std::string> given;  // every option on the command line, in order
  std::string ghost_path;
};

[[noreturn]] void Usage(const std::string& why) {
  std::fprintf(stderr,
               "kelto1-sim: %s\n"
               "usage: kelto1-sim [--car TEXT] [--frames N] [--demo FILE] [--png FRAME:PATH]... [--every K]\n"
               "                  [--view-hash] [--record OUT] [--ghost REPLAY]\n"
               "       kelto1-sim --replay FILE [--every K]\n"
               "       kelto1-sim --random-input SEED --frames N [--check]\n"
               "       kelto1-sim --bench [--frames N]\n"
               "       kelto1-sim --road-rows < PLAN\n",
               why.c_str());
  std::exit(2);
}

long ParseCount(const std::string& flag, const std::string& text) {
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < 0) Usage(flag + " needs a whole number, not '" + text + "'");
  return v;
}

Options ParseOptions(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    o.given.push_back(a);
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) Usage(a + " needs a value");
      return argv[++i];
    };
    if (a == "--car") o.car = value();
    else if (a == "--frames") o.frames = ParseCount(a, value());
    else if (a == "--demo") o.demo_path = value();
    else if (a == "--every") o.every = ParseCount(a, value());
    else if (a == "--random-input") { o.random_input = true; o.seed = static_cast<uint64_t>(ParseCount(a, value())); }
    else if (a == "--check") o.check = true;
    else if (a == "--bench") o.bench = true;
    else if (a == "--road-rows") o.road_rows = true;
    else if (a == "--view-hash") o.view_hash = true;
    else if (a == "--record") o.record_path = value();
    else if (a == "--replay") o.replay_path = value();
    else if (a == "--ghost") o.ghost_path = value();
    else if (a == "--png") {
      std::string v = value();
      size_t colon = v.find(':');
      if (colon == std::string::npos) Usage("--png needs FRAME:PATH");
      o.pngs[ParseCount(a, v.substr(0, colon))] = v.substr(colon + 1);
    } else Usage("unknown option " + a);
  }
  // A replay plays the recorded race with its own car and input to its own end: any
  // other choice would be ignored, so it is refused.
  if (!o.replay_path.empty()) {
    std::string others;
    for (const std::string& g : o.given)
      if (g != "--replay" && g != "--every" && others.find(g) == std::string::npos) others += (others.empty() ? "" : " ") + g;
    if (!others.empty()) Usage("--replay takes only --every; it would ignore " + others);
  }
  return o;
}

bool WritePng(const kelto1::Picture& p, const std::string& path) {
  std::vector<unsigned char> rgb(static_cast<size_t>(p.width()) * p.height() * 3);
  for (int y = 0; y < p.height(); ++y)
    for (int x = 0; x < p.width(); ++x) {
      uint32_t c = p.At(x, y);
      unsigned char* o = &rgb[(static_cast<size_t>(y) * p.width() + x) * 3];
      o[0] = static_cast<unsigned char>(c >> 16);
      o[1] = static_cast<unsigned char>(c >> 8);
      o[2] = static_cast<unsigned char>(c);
    }
  return stbi_write_png(path.c_str(), p.width(), p.height(), 3, rgb.data(), p.width() * 3) != 0;
}

void PrintState(const Kelto1& g, long frames, const ViewHash* views) {
  const auto& p = g.vehicles.Vehicles[0];
  std::printf("frames=%ld\n", frames);
  std::printf("race_over=%d\n", static_cast<int>(g.shell.RaceOver));
  std::printf("end_frames=%d\n", static_cast<int>(g.shell.EndFrames));
  std::printf("mtime=%s\n", g.window[Element::Mtime].text.c_str());
  std::printf("rank=%s\n", g.window[Element::Rank].text.c_str());
  std::printf("hitp=%s\n", g.window[Element::HitP].text.c_str());
  std::printf("speed_kmh=%s\n", g.window[Element::Text1].text.c_str());
  std::printf("x=%d\n", static_cast<int>(p.X));
  std::printf("course_pos=%d\n", static_cast<int>(g.course.CoursePos));
  std::printf("place_index=%d\n", static_cast<int>(g.course.PlaceIndex));
  std::printf("city=%s\n", g.window[Element::CityDisp].text.c_str());
  std::printf("traffic_active=%d\n", g.ActiveTrafficCount());
  std::printf("state_hash=%016llx\n", static_cast<unsigned long long>(g.StateHash()));
  if (views) std::printf("view_hash=%016llx\n", static_cast<unsigned long long>(views->value()));
}

// A replay file's bytes; nothing larger than a replay can be is read whole.
std::optional<std::vector<uint8_t>> ReadReplayFile(const std::string& path, std::string& why) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    why = "cannot be read";
    return std::nullopt;
  }
  std::vector<uint8_t> bytes;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    bytes.insert(bytes.end(), buffer, buffer + in.gcount());
    if (bytes.size() > kelto1::kMaxReplayFileSize) break;
  }
  return bytes;
}

// Plays a replay file on the simulated machine and says whether it ended as recorded.
int PlayReplay(const Options& o) {
  std::string error;
  const std::optional<std::vector<uint8_t>> bytes = ReadReplayFile(o.replay_path, error);
  if (!bytes) {
    std::fprintf(stderr, "kelto1-sim: cannot read the replay %s\n", o.replay_path.c_str());
    return 2;
  }
  auto replay = kelto1::DecodeReplay(*bytes, error);
  if (!replay) {
    std::fprintf(stderr, "kelto1-sim: %s: %s\n", o.replay_path.c_str(), error.c_str());
    return 2;
  }
  kelto1::HeadlessPlatform machine;
  kelto1::ReplayPlayer player(machine, std::move(*replay));
  if (!player.Prepare(error)) {
    std::fprintf(stderr, "kelto1-sim: %s: %s\n", o.replay_path.c_str(), error.c_str());
    return 2;
  }
  player.after_frame = [&](long frame) {
    if (o.every > 0 && frame % o.every == 0) PrintState(player.game(), frame, nullptr);
  };
  const kelto1::ReplayOutcome outcome = player.Play();
  PrintState(player.game(), outcome.frames, nullptr);
  std::printf("view_hash=%016llx\n", static_cast<unsigned long long>(outcome.view_hash));
  if (outcome.diverged) {
    std::printf("replay=diverged frame=%ld\n", outcome.diverged_frame);
    return 1;
  }
  std::printf("replay=ok\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = ParseOptions(argc, argv);
  kelto1::SetRangeFaultMode(kelto1::RangeFaultMode::Abort);
  if (o.random_input) return kelto1::RunSoak(o.seed, o.frames, o.check);
  if (o.bench) return kelto1::RunBench(o.frames);
  if (o.road_rows) return kelto1::RunRoadRows(std::cin);
  if (!o.replay_path.empty()) return PlayReplay(o);
  kelto1::SimSession session;
  if (!o.record_path.empty()) session.game().recorder.set_hash_views(true);

  if (!o.demo_path.empty()) {
    std::ifstream in(o.demo_path);
    if (!in) Usage("cannot read the demo " + o.demo_path);
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    auto demo = kelto1::ParseDemo(text.str(), &error);
    if (!error.empty()) Usage(o.demo_path + ": " + error);
    session.SetDemo(std::move(demo));
  }

  // The ghost of a recorded race, drawn into every view of this one.
  std::optional<kelto1::GhostPainter> ghost;
  if (!o.ghost_path.empty()) {
    std::string why;
    std::optional<std::vector<kelto1::GhostFrame>> track;
    if (std::optional<std::vector<uint8_t>> bytes = ReadReplayFile(o.ghost_path, why))
      track = kelto1::TraceGhost(*bytes, why);
    if (!track) {
      std::fprintf(stderr, "kelto1-sim: %s: %s\n", o.ghost_path.c_str(), why.c_str());
      return 2;
    }
    ghost.emplace(std::move(*track));
  }

  bool png_failed = false;
  ViewHash views;
  session.platform().on_repaint = [&](const kelto1::ShownWindow& shown, kelto1::Element which) {
    if (which != Element::Display || !session.in_race_frame()) return;
    const kelto1::Picture& view = ghost ? ghost->Compose(session.game(), session.game().recorder.race_frame()) : shown.view;
    if (o.view_hash) views.Add(view);
    auto it = o.pngs.find(session.frame() + 1);
    if (it != o.pngs.end() && !WritePng(view, it->second)) png_failed = true;
  };
  session.after_frame = [&](long frame) {
    if (o.every > 0 && frame % o.every == 0) PrintState(session.game(), frame, o.view_hash ? &views : nullptr);
  };

  session.StartProgram();
  session.game().window[Element::CarSel].text = o.car;
  const long frames = session.RunRace(o.frames);
  PrintState(session.game(), frames, o.view_hash ? &views : nullptr);
  if (png_failed) {
    std::fprintf(stderr, "kelto1-sim: could not write a PNG\n");
    return 1;
  }
  if (!o.record_path.empty()) {
    const std::vector<uint8_t>& file = session.game().recorder.last_file();
    std::ofstream out(o.record_path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    if (file.empty() || !out.flush()) {
      std::fprintf(stderr, "kelto1-sim: could not write the replay %s\n", o.record_path.c_str());
      return 1;
    }
  }
  return 0;
}
