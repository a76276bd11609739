// Packing and unpacking the game's state at the start of a race.
#include "replay/race_snapshot.h"

#include <cstring>
#include <type_traits>

#include "replay/byte_io.h"
#include "shell/fnv1a.h"
#include "shell/kelto1.h"

namespace kelto1 {

namespace {

constexpr uint32_t kMaxElementText = 4096;

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
void PutState(ByteWriter& w, const T& state, const T& reference) {
  static_assert(std::is_trivially_copyable_v<T>);
  const auto* a = reinterpret_cast<const uint8_t*>(&state);
  const auto* b = reinterpret_cast<const uint8_t*>(&reference);
  w.Var(sizeof(T));
  for (size_t i = 0; i < sizeof(T); ++i) w.U8(a[i] ^ b[i]);
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

void PutElement(ByteWriter& w, const ElementState& s) {
  w.Text(s.text);
  w.U32(s.color);
  w.U8(s.visible ? 1 : 0);
  w.U16(static_cast<uint16_t>(s.left));
  w.U16(static_cast<uint16_t>(s.top));
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

void PutPicture(ByteWriter& w, const Picture& p) {
  w.Var(static_cast<uint64_t>(p.width()));
  w.Var(static_cast<uint64_t>(p.height()));
  const std::vector<uint32_t>& px = p.pixels();
  size_t i = 0;
  while (i < px.size()) {
    size_t j = i + 1;
    while (j < px.size() && px[j] == px[i]) ++j;
    w.Var(j - i);
    w.U32(px[i]);
    i = j;
  }
}

bool GetPicture(ByteReader& r, Picture& p) {
  if (r.Var() != static_cast<uint64_t>(p.width()) || r.Var() != static_cast<uint64_t>(p.height())) return false;
  std::vector<uint32_t>& px = p.pixels();
  size_t i = 0;
  while (i < px.size()) {
    const uint64_t n = r.Var();
    const uint32_t color = r.U32();
    if (!r.ok() || n == 0 || n > px.size() - i) return false;
    std::fill_n(px.begin() + static_cast<std::ptrdiff_t>(i), n, color);
    i += n;
  }
  return true;
}

}  // namespace

std::vector<uint8_t> CaptureRaceStart(const Kelto1& g) {
  const Reference& ref = TablesOnly();
  ByteWriter w;
  PutState(w, g.shell, ref.shell);
  PutState(w, g.course, ref.course);
  PutState(w, g.vehicles, ref.vehicles);
  PutState(w, g.traffic, ref.traffic);
  PutState(w, g.audio, ref.audio);
  PutState(w, g.input, ref.input);
  w.U32(g.random.state());
  w.Var(kElementCount);
  for (int i = 0; i < kElementCount; ++i) {
    const auto e = static_cast<Element>(i);
    PutElement(w, g.window[e]);
    PutElement(w, g.window.Painted(e));
  }
  PutPicture(w, g.Display);
  PutPicture(w, g.Master);
  return std::move(w.bytes());
}

bool RestoreRaceStart(Kelto1& g, const std::vector<uint8_t>& bytes, std::string& error) {
  const Reference& ref = TablesOnly();
  ByteReader r(bytes.data(), bytes.size());
  const auto fail = [&error](const char* what) {
    error = std::string("the replay's start state does not fit this game (") + what + ")";
    return false;
  };
  if (!GetState(r, g.shell, ref.shell) || !GetState(r, g.course, ref.course) ||
      !GetState(r, g.vehicles, ref.vehicles) || !GetState(r, g.traffic, ref.traffic) ||
      !GetState(r, g.audio, ref.audio) || !GetState(r, g.input, ref.input))
    return fail("game state");
  g.random.set_state(r.U32());
  if (r.Var() != static_cast<uint64_t>(kElementCount)) return fail("window elements");
  for (int i = 0; i < kElementCount; ++i) {
    const auto e = static_cast<Element>(i);
    if (!GetElement(r, g.window[e]) || !GetElement(r, g.window.PaintedForEdit(e))) return fail("window elements");
  }
  if (!GetPicture(r, g.Display)) return fail("view picture");
  if (!GetPicture(r, g.Master)) return fail("road picture");
  if (!r.ok() || r.left() != 0) return fail("bytes after the end");
  return true;
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
