// Packing, checking and unpacking the values a race starts from.
#include "replay/race_snapshot.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <type_traits>

#include "replay/byte_io.h"
#include "shell/fnv1a.h"
#include "shell/kelto1.h"
#include "shell/readout_text.h"

namespace kelto1 {

namespace {

constexpr uint32_t kMaxElementText = 4096;
// What the selector and the delay box take from typing (line_edit.h).
constexpr size_t kMaxBoxCharacters = 255;
constexpr size_t kMaxBoxBytes = kMaxBoxCharacters * 4;

// A machine that answers nothing: enough to build a game's tables.
class NullFiles : public FileStore {
 public:
  std::optional<std::vector<uint8_t>> Read(const std::string&) override { return std::nullopt; }
  bool Exists(const std::string&) override { return false; }
  bool CreateEmpty(const std::string&) override { return false; }
  bool Replace(const std::string&, const std::vector<uint8_t>&) override { return false; }
  bool FolderWritable(const std::string&) override { return false; }
  bool MakeFolders(const std::string&) override { return false; }
  bool Remove(const std::string&) override { return false; }
};

class NullPlatform : public Platform {
 public:
  uint32_t GetTickCount() override { return 0; }
  void Idle(uint32_t) override {}
  int16_t GetAsyncKeyState(int) override { return 0; }
  void DiscardKeyMessage() override {}
  void Repaint(const ShownWindow&, Element) override {}
  void CentreWindow() override {}
  std::string ProgramFolder() override { return {}; }
  std::string UserDataFolder() override { return {}; }
  void Note(const std::string&) override {}
  FileStore& Files() override { return files_; }
  uint32_t JoyGetPos(uint32_t, JoyPosition&) override { return kJoystickUnplugged; }
  uint32_t JoyGetDevCaps(uint32_t) override { return kJoystickUnplugged; }
  void PlaySoundFromMemory(const std::vector<uint8_t>&) override {}
  int32_t SendMusicCommand(const std::string&, std::string&, int32_t) override { return 0; }
  void EndProgram() override {}

 private:
  NullFiles files_;
};

// The state structs of a game that has built its tables and nothing else.
struct Reference {
  ShellState shell;
  CourseState course;
  VehicleState vehicles;
  TrafficState traffic;
  AudioState audio;
  InputState input;
};

const Reference& TablesOnly() {
  static const Reference* reference = [] {
    NullPlatform platform;
    Kelto1 game(platform);
    game.BuildSpriteTables();
    game.BuildCourseTables();
    auto* r = new Reference;
    std::memcpy(static_cast<void*>(&r->shell), &game.shell, sizeof r->shell);
    std::memcpy(static_cast<void*>(&r->course), &game.course, sizeof r->course);
    std::memcpy(static_cast<void*>(&r->vehicles), &game.vehicles, sizeof r->vehicles);
    std::memcpy(static_cast<void*>(&r->traffic), &game.traffic, sizeof r->traffic);
    std::memcpy(static_cast<void*>(&r->audio), &game.audio, sizeof r->audio);
    std::memcpy(static_cast<void*>(&r->input), &game.input, sizeof r->input);
    return r;
  }();
  return *reference;
}

template <class T>
bool GetState(ByteReader& r, T& state, const T& reference) {
  if (r.Var() != sizeof(T)) return false;
  const uint8_t* d = r.Take(sizeof(T));
  if (!d) return false;
  const auto* b = reinterpret_cast<const uint8_t*>(&reference);
  auto* out = reinterpret_cast<uint8_t*>(&state);
  for (size_t i = 0; i < sizeof(T); ++i) out[i] = d[i] ^ b[i];
  return true;
}

bool GetElement(ByteReader& r, ElementState& s) {
  if (!r.Text(s.text, kMaxElementText)) return false;
  s.color = r.U32();
  const uint32_t visible = r.U8();
  s.left = static_cast<int16_t>(static_cast<uint16_t>(r.U16()));
  s.top = static_cast<int16_t>(static_cast<uint16_t>(r.U16()));
  s.visible = visible != 0;
  return r.ok() && visible <= 1;
}

// A picture of format 1 is checked for its size and runs and then left: the game
// rebuilds its pictures.
bool SkipPicture(ByteReader& r, int width, int height) {
  if (r.Var() != static_cast<uint64_t>(width) || r.Var() != static_cast<uint64_t>(height)) return false;
  const uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  uint64_t i = 0;
  while (i < pixels) {
    const uint64_t n = r.Var();
    r.U32();
    if (!r.ok() || n == 0 || n > pixels - i) return false;
    i += n;
  }
  return true;
}

// ---- The kept values ---------------------------------------------------------------

constexpr long long kI16Min = std::numeric_limits<int16_t>::min();
constexpr long long kI16Max = std::numeric_limits<int16_t>::max();
constexpr long long kI32Min = std::numeric_limits<int32_t>::min();
constexpr long long kI32Max = std::numeric_limits<int32_t>::max();
constexpr long long kU16Max = std::numeric_limits<uint16_t>::max();
constexpr long long kU32Max = std::numeric_limits<uint32_t>::max();

using Allowed = bool (*)(long long);

// The sprites a vehicle record is ever given: the models of traffic and the player's
// vehicles (1, 3, 8, 10, 12, 15, 16, 18, 20, 22, 23, 52), each also facing down (+ 1) for
// oncoming traffic, the rival (14), the crossing cars (32, 34, 36, + 1 going left) and the
// thrown rider (53); 0 in a record never used.
bool IsVehicleSprite(long long s) { return (s >= 0 && s <= 4) || (s >= 8 && s <= 24) || (s >= 32 && s <= 37) || s == 52 || s == 53; }

// Every sprite the draw queue can hold: those of the sprite tables.
constexpr long long kLastSprite = 59;

// One vehicle record's kept values. The player's record is set up by the race start from
// the chosen vehicle (its place, speed, lane and the vehicle type's columns), so only
// what carries over from the last race is kept; a traffic record is freed by the title
// screen (Active), and what a later spawn leaves in place stays.
template <class Record, class V>
void VisitVehicle(Record& v, int i, bool player, V& visit) {
  visit("Blinking", i, v.Blinking, 0, 1);
  visit("BlinkTimer", i, v.BlinkTimer, 0, 41);
  visit("BlinkSide", i, v.BlinkSide, 0, 1);
  visit("BlinkCount", i, v.BlinkCount, 0, 8);
  visit("BlinkLit", i, v.BlinkLit, 0, 1);
  visit("NextLane", i, v.NextLane, 0, 4);
  visit("Travel", i, v.Travel, 0, 19);
  visit("ChangeOdds", i, v.ChangeOdds, 0, 2200);
  visit("LaneHold", i, v.LaneHold, 0, 100);
  visit("Crossing", i, v.Crossing, 0, 1);
  visit("Dir", i, v.Dir, -1, 1);
  visit("LaneShift", i, v.LaneShift, 0, 80);
  visit("WeaveRange", i, v.WeaveRange, 0, 10);
  visit("WeaveOdds", i, v.WeaveOdds, 0, 200);
  visit("HitCooldown", i, v.HitCooldown, 0, 6);
  visit("IsRival", i, v.IsRival, 0, 1);
  visit("RivalNo", i, v.RivalNo, 0, 29);
  visit("SteerAcc", i, v.SteerAcc, kI16Min, kI16Max);
  visit("ThrottleAcc", i, v.ThrottleAcc, kI16Min, kI16Max);
  visit("SteerVel", i, v.SteerVel, -400, 400);
  visit("Throttle", i, v.Throttle, -64, 64);
  if (player) return;
  visit("Speed", i, v.Speed, -400, 400);
  visit("MaxSpeed", i, v.MaxSpeed, -400, 400);
  visit("AccelStep", i, v.AccelStep, 0, 80);
  visit("BrakeStep", i, v.BrakeStep, 0, 80);
  visit("SteerStep", i, v.SteerStep, 0, 80);
  visit("Lane", i, v.Lane, 0, 4);
  visit("Width", i, v.Width, 0, 128);
  visit("Mass", i, v.Mass, 0, 2500);
  visit("Length", i, v.Length, 0, 128);
  visit("HitPoints", i, v.HitPoints, kI32Min, kI32Max);
  visit("OffsetX", i, v.OffsetX, -9, 16);
  visit("Sprite", i, v.Sprite, 0, 53, &IsVehicleSprite);
  visit("X", i, v.X, -1000, 1000);
  visit("Y", i, v.Y, -4000, 4000);
}

// Every kept value of the state structs, in the order of the file, with the values the
// game can give it before a race starts. visit(name, record, field, lo, hi[, allowed])
// for whole numbers, visit.Real(...) for the contact factors.
template <class State, class V>
void VisitKept(State& s, V& visit) {
  visit("FlushCount", -1, s.shell.FlushCount, 0, 5);
  visit("LastWaitMs", -1, s.shell.LastWaitMs, kI32Min, kI32Max);

  visit("SceneryMode", -1, s.course.SceneryMode, 0, 12);
  visit("SceneryTimer", -1, s.course.SceneryTimer, -1, 152);
  visit("SceneryPhase", -1, s.course.SceneryPhase, 0, 1);
  visit("SlotFound", -1, s.course.SlotFound, 0, 1);

  for (int i = 0; i < static_cast<int>(s.vehicles.Vehicles.size()); ++i)
    VisitVehicle(s.vehicles.Vehicles[static_cast<size_t>(i)], i, i == 0, visit);
  visit("ScrollStep", -1, s.vehicles.ScrollStep, 0, 31);
  visit("ScrollSub", -1, s.vehicles.ScrollSub, 0, 31);
  visit("DamageTaken", -1, s.vehicles.DamageTaken, kI16Min, kI16Max);
  visit("PrevPlayerX", -1, s.vehicles.PrevPlayerX, -400, 800);
  visit.Real("MassRatio", -1, s.vehicles.MassRatio, 0, 10);
  visit.Real("KeepSelf", -1, s.vehicles.KeepSelf, 0, 1);
  visit.Real("KeepOther", -1, s.vehicles.KeepOther, 0, 1);
  // Entries past the queue's count are what earlier frames queued: sprite, x, y.
  for (size_t k = 1; k < s.vehicles.SpriteQueue.size(); ++k) {
    if (k % 3 == 1)
      visit("SpriteQueue", static_cast<int>(k), s.vehicles.SpriteQueue[k], 0, kLastSprite);
    else
      visit("SpriteQueue", static_cast<int>(k), s.vehicles.SpriteQueue[k], kI16Min, kI16Max);
  }

  for (int i = 0; i < static_cast<int>(s.traffic.Signals.size()); ++i) {
    auto& sig = s.traffic.Signals[static_cast<size_t>(i)];
    visit("signal Y", i, sig.Y, -4000, 4000);
    visit("signal CrossLanes", i, sig.CrossLanes, 0, 3);
    visit("signal Phase", i, sig.Phase, 0, 3);
    visit("signal Count", i, sig.Count, -1, 1500);
  }
  for (int a = 0; a < static_cast<int>(s.traffic.Rivals.size()); ++a)
    visit("rival Slot", a, s.traffic.Rivals[static_cast<size_t>(a)].Slot, 0, 28);
  for (int k = 0; k < static_cast<int>(s.traffic.Pickups.size()); ++k) {
    auto& p = s.traffic.Pickups[static_cast<size_t>(k)];
    visit("pick-up Carrier", k, p.Carrier, 0, 28);
    visit("pick-up OffX", k, p.OffX, -64, 64);
    visit("pick-up OffY", k, p.OffY, -64, 128);
    visit("pick-up Kind", k, p.Kind, 0, 10);
  }
  // Records 10..15 of the debris are never used.
  for (int d = 0; d <= 9; ++d) {
    auto& e = s.traffic.Debris[static_cast<size_t>(d)];
    visit("debris X", d, e.X, kI16Min, kI16Max);
    visit("debris Y", d, e.Y, kI16Min, kI16Max);
    visit("debris FracX", d, e.FracX, kI16Min, kI16Max);
    visit("debris FracY", d, e.FracY, kI16Min, kI16Max);
    // A cloud starts with the hit vehicle's steering and throttle rates as its velocity.
    visit("debris VX", d, e.VX, -400, 400);
    visit("debris VY", d, e.VY, -64, 64);
    visit("debris Frame", d, e.Frame, 0, 4);
    visit("debris Tick", d, e.Tick, 0, 9);
    visit("debris Frames", d, e.Frames, 0, 4);
  }

  for (size_t k = 0; k < s.audio.SoundCooldown.size(); ++k)
    visit("SoundCooldown", static_cast<int>(k), s.audio.SoundCooldown[k], 0, 100);

  // The joystick's answers are whatever the device gave.
  visit("JoyWord0", -1, s.input.Joy.JoyWord0, 0, kU16Max);
  visit("Joy Z", -1, s.input.Joy.Z, 0, kU32Max);
  visit("Joy ButtonMask", -1, s.input.Joy.ButtonMask, 0, kU32Max);
  visit("JoyX", -1, s.input.Joy.JoyX, kI32Min, kI32Max);
  visit("RestX", -1, s.input.RestX, kI32Min, kI32Max);
  visit("JoyCaps", -1, s.input.JoyCaps, kI16Min, kI16Max);
}

template <class T>
long long Value(const Fixed<T>& f) {
  return f.get();
}
template <class T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
long long Value(T v) {
  return static_cast<long long>(v);
}
template <class T>
void Store(Fixed<T>& f, long long v) {
  f = static_cast<T>(v);
}
template <class T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
void Store(T& f, long long v) {
  f = static_cast<T>(v);
}

uint64_t ZigZag(long long v) {
  return (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v < 0 ? -1 : 0);
}
long long UnZigZag(uint64_t z) { return static_cast<long long>((z >> 1) ^ (~(z & 1) + 1)); }

class Writer {
 public:
  explicit Writer(ByteWriter& w) : w_(w) {}
  template <class F>
  void operator()(const char*, int, const F& field, long long, long long, Allowed = nullptr) {
    w_.Var(ZigZag(Value(field)));
  }
  void Real(const char*, int, float value, double, double) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    w_.Var(bits);
  }

 private:
  ByteWriter& w_;
};

// Reads each value and puts it in place when the game can reach it; the first that it
// cannot is named in wrong() and nothing after it is read.
class Reader {
 public:
  explicit Reader(ByteReader& r) : r_(r) {}
  template <class F>
  void operator()(const char* name, int index, F& field, long long lo, long long hi, Allowed allowed = nullptr) {
    if (!wrong_.empty()) return;
    const long long v = UnZigZag(r_.Var());
    if (!r_.ok()) {
      wrong_ = "it ends early";
      return;
    }
    if (v < lo || v > hi || (allowed && !allowed(v))) {
      Wrong(name, index, std::to_string(v));
      return;
    }
    Store(field, v);
  }
  void Real(const char* name, int index, float& field, double lo, double hi) {
    if (!wrong_.empty()) return;
    const uint64_t bits = r_.Var();
    if (!r_.ok()) {
      wrong_ = "it ends early";
      return;
    }
    if (bits > 0xFFFFFFFFu) {
      Wrong(name, index, "not a number");
      return;
    }
    const auto bits32 = static_cast<uint32_t>(bits);
    float v;
    std::memcpy(&v, &bits32, sizeof v);
    if (!std::isfinite(v) || v < lo || v > hi) {
      Wrong(name, index, std::isfinite(v) ? std::to_string(v) : "not a number");
      return;
    }
    field = v;
  }
  const std::string& wrong() const { return wrong_; }

 private:
  void Wrong(const char* name, int index, const std::string& value) {
    wrong_ = name;
    if (index >= 0) wrong_ += " " + std::to_string(index);
    wrong_ += " is " + value;
  }
  ByteReader& r_;
  std::string wrong_;
};

// The best rank is kept as the text of a whole number: from the settings file, or the
// rank of a finished race.
bool IsBestRankText(const std::string& text) {
  const std::optional<int32_t> n = ParseWholeNumber(text);
  return n && std::to_string(*n) == text;
}

// What the start state of format 1 held, whole: read, then kept only in part.
struct FormatOneStart {
  ShellState shell;
  CourseState course;
  VehicleState vehicles;
  TrafficState traffic;
  AudioState audio;
  InputState input;
  uint32_t random = 0;
  std::string best_rank;
  std::string frame_delay;
};

bool ReadFormatOne(const std::vector<uint8_t>& bytes, FormatOneStart& s, std::string& what) {
  const Reference& ref = TablesOnly();
  ByteReader r(bytes.data(), bytes.size());
  if (!GetState(r, s.shell, ref.shell) || !GetState(r, s.course, ref.course) ||
      !GetState(r, s.vehicles, ref.vehicles) || !GetState(r, s.traffic, ref.traffic) ||
      !GetState(r, s.audio, ref.audio) || !GetState(r, s.input, ref.input)) {
    what = "game state";
    return false;
  }
  s.random = r.U32();
  if (r.Var() != static_cast<uint64_t>(kElementCount)) {
    what = "window elements";
    return false;
  }
  for (int i = 0; i < kElementCount; ++i) {
    ElementState now, painted;
    if (!GetElement(r, now) || !GetElement(r, painted)) {
      what = "window elements";
      return false;
    }
    if (static_cast<Element>(i) == Element::HighSc) s.best_rank = now.text;
    if (static_cast<Element>(i) == Element::Gamewait) s.frame_delay = now.text;
  }
  if (!SkipPicture(r, kViewWidth, kViewHeight)) {
    what = "view picture";
    return false;
  }
  if (!SkipPicture(r, kViewWidth, kRoadPictureHeight)) {
    what = "road picture";
    return false;
  }
  if (!r.ok() || r.left() != 0) {
    what = "bytes after the end";
    return false;
  }
  return true;
}

template <class State>
std::vector<uint8_t> Pack(const State& s, uint32_t random, const std::string& best_rank,
                          const std::string& frame_delay) {
  ByteWriter w;
  w.Var(random);
  w.Text(best_rank);
  w.Text(frame_delay);
  Writer writer(w);
  VisitKept(s, writer);
  return std::move(w.bytes());
}

bool RestoreCurrent(Kelto1& g, const std::vector<uint8_t>& bytes, std::string& error) {
  const auto refuse = [&error](const std::string& why) {
    error = "the replay's start state is not one this game can reach (" + why + ")";
    return false;
  };
  ByteReader r(bytes.data(), bytes.size());
  const uint64_t random = r.Var();
  std::string best_rank, frame_delay;
  if (!r.ok() || !r.Text(best_rank, kMaxBoxBytes) || !r.Text(frame_delay, kMaxBoxBytes))
    return refuse("it ends early");
  if (random > 0xFFFFFFu) return refuse("random generator state " + std::to_string(random));
  if (!IsBestRankText(best_rank)) return refuse("a best rank that is not a whole number");
  if (!IsBoxText(frame_delay)) return refuse("a frame delay box no typing can fill");
  Reader reader(r);
  VisitKept(g, reader);
  if (!reader.wrong().empty()) return refuse(reader.wrong());
  if (r.left() != 0) return refuse("bytes after the end");

  // The race start's idle tick: the title screen the last race ended on, then the delay
  // box and its label hidden and the whole window painted.
  g.window[Element::HighSc].text = best_rank;
  g.window[Element::Gamewait].text = frame_delay;
  g.ShowTitle();
  g.window.SetVisible(Element::Spdlbl, false);
  g.window.SetVisible(Element::Gamewait, false);
  g.Repaint(Element::Window);
  g.random.set_state(static_cast<uint32_t>(random));
  return true;
}

}  // namespace

bool IsBoxText(const std::string& text) {
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); ++characters) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F) return false;
    size_t n = 1;
    uint32_t code = c;
    if (c >= 0x80) {
      if (c >= 0xC2 && c <= 0xDF) n = 2, code = c & 0x1F;
      else if (c >= 0xE0 && c <= 0xEF) n = 3, code = c & 0x0F;
      else if (c >= 0xF0 && c <= 0xF4) n = 4, code = c & 0x07;
      else return false;
      if (i + n > text.size()) return false;
      for (size_t k = 1; k < n; ++k) {
        const auto t = static_cast<unsigned char>(text[i + k]);
        if ((t & 0xC0) != 0x80) return false;
        code = code << 6 | (t & 0x3F);
      }
      // Overlong forms, surrogates and numbers past Unicode are no typed character.
      if ((n == 3 && code < 0x800) || (n == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
          (code >= 0xD800 && code <= 0xDFFF))
        return false;
    }
    i += n;
  }
  return characters <= kMaxBoxCharacters;
}

std::vector<uint8_t> CaptureRaceStart(const Kelto1& g) {
  return Pack(g, g.random.state(), g.window[Element::HighSc].text, g.window[Element::Gamewait].text);
}

bool RestoreRaceStart(Kelto1& g, const std::vector<uint8_t>& bytes, uint32_t format_version, std::string& error) {
  if (format_version >= 2) return RestoreCurrent(g, bytes, error);
  auto old = std::make_unique<FormatOneStart>();
  std::string what;
  if (!ReadFormatOne(bytes, *old, what)) {
    error = "the replay's start state does not fit this game (" + what + ")";
    return false;
  }
  if (old->random > 0xFFFFFFu) {
    error = "the replay's start state is not one this game can reach (random generator state " +
            std::to_string(old->random) + ")";
    return false;
  }
  return RestoreCurrent(g, Pack(*old, old->random, old->best_rank, old->frame_delay), error);
}

uint32_t RaceHash(const Kelto1& g) {
  Fnv1a32 h;
  h.Bytes(&g.shell, sizeof g.shell);
  h.Bytes(&g.course, sizeof g.course);
  h.Bytes(&g.vehicles, sizeof g.vehicles);
  h.Bytes(&g.traffic, sizeof g.traffic);
  h.Bytes(&g.audio, sizeof g.audio);
  h.Bytes(&g.input, sizeof g.input);
  const uint32_t random = g.random.state();
  h.Bytes(&random, sizeof random);
  for (int i = 0; i < kElementCount; ++i) {
    const ElementState& s = g.window[static_cast<Element>(i)];
    h.Bytes(s.text.data(), s.text.size());
    h.Bytes(&s.color, sizeof s.color);
  }
  return h.value();
}

}  // namespace kelto1
