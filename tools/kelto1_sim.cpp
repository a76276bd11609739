// kelto1-sim: the game on a simulated machine. Starts the program, shows the title
// screen, starts a race with Ctrl and runs race frames with scripted keys, printing
// key=value lines. Reads and writes no settings file.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "headless/sim_session.h"
#include "headless/soak.h"
#include "sim_modes.h"

namespace {

using kelto1::Element;
using kelto1::Kelto1;

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
  bool view_hash = false;
};

[[noreturn]] void Usage(const std::string& why) {
  std::fprintf(stderr,
               "kelto1-sim: %s\n"
               "usage: kelto1-sim [--car TEXT] [--frames N] [--demo FILE] [--png FRAME:PATH]... [--every K]\n"
               "                  [--view-hash]\n"
               "       kelto1-sim --random-input SEED --frames N [--check]\n"
               "       kelto1-sim --bench [--frames N]\n",
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
    else if (a == "--view-hash") o.view_hash = true;
    else if (a == "--png") {
      std::string v = value();
      size_t colon = v.find(':');
      if (colon == std::string::npos) Usage("--png needs FRAME:PATH");
      o.pngs[ParseCount(a, v.substr(0, colon))] = v.substr(colon + 1);
    } else Usage("unknown option " + a);
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

int TrafficActive(const Kelto1& g) {
  int n = 0;
  for (int i = 1; i <= 28; ++i) n += g.vehicles.Vehicles[i].Active == 1;
  return n;
}

// A running hash of every race view as it was painted, sprites and all (the state hash
// cannot see them: the next frame's road has been copied over them by then).
class ViewHash {
 public:
  void Add(const kelto1::Picture& view) {
    // Four independent lanes of two pixels each, so the multiplications overlap.
    constexpr uint64_t kPrime = 0x100000001B3ull;
    uint64_t a = h_, b = h_ ^ 1, c = h_ ^ 2, d = h_ ^ 3;
    const auto pair = [](const uint32_t* p) { return static_cast<uint64_t>(p[0]) << 32 | p[1]; };
    for (int y = 0; y < view.height(); ++y) {
      const uint32_t* row = view.Row(y);
      int x = 0;
      for (; x + 8 <= view.width(); x += 8) {
        a = (a ^ pair(row + x)) * kPrime;
        b = (b ^ pair(row + x + 2)) * kPrime;
        c = (c ^ pair(row + x + 4)) * kPrime;
        d = (d ^ pair(row + x + 6)) * kPrime;
      }
      for (; x < view.width(); ++x) a = (a ^ row[x]) * kPrime;
    }
    h_ = ((a * 31 + b) * 31 + c) * 31 + d;
  }
  uint64_t value() const { return h_; }

 private:
  uint64_t h_ = 0xCBF29CE484222325ull;
};

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
  std::printf("traffic_active=%d\n", TrafficActive(g));
  std::printf("state_hash=%016llx\n", static_cast<unsigned long long>(g.StateHash()));
  if (views) std::printf("view_hash=%016llx\n", static_cast<unsigned long long>(views->value()));
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = ParseOptions(argc, argv);
  kelto1::SetRangeFaultMode(kelto1::RangeFaultMode::Abort);
  if (o.random_input) return kelto1::RunSoak(o.seed, o.frames, o.check);
  if (o.bench) return kelto1::RunBench(o.frames);
  kelto1::SimSession session;

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

  bool png_failed = false;
  ViewHash views;
  session.platform().on_repaint = [&](const Kelto1& g, Element which) {
    if (which != Element::Display || !session.in_race_frame()) return;
    if (o.view_hash) views.Add(g.Display);
    auto it = o.pngs.find(session.frame() + 1);
    if (it != o.pngs.end() && !WritePng(g.Display, it->second)) png_failed = true;
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
  return 0;
}
