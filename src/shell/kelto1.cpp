// The game object: its pictures, repaints and the hash over its whole state.
#include "shell/kelto1.h"

#include <cstring>
#include <type_traits>

#include "shell/artwork.h"
#include "shell/fnv1a.h"

namespace kelto1 {

namespace {
// Every state struct starts as all-zero bytes, padding included, so that the state
// hash reads the same bytes in every run.
template <class T>
void ZeroFill(T& state) {
  static_assert(std::is_trivially_copyable_v<T>);
  std::memset(static_cast<void*>(&state), 0, sizeof state);
}
}  // namespace

Kelto1::Kelto1(Platform& p) : recorder(p), platform(recorder) {
  ZeroFill(shell);
  ZeroFill(course);
  ZeroFill(vehicles);
  ZeroFill(traffic);
  ZeroFill(audio);
  ZeroFill(input);
  Display.Resize(kViewWidth, kViewHeight, colors::kBlack);
  Master.Resize(kViewWidth, kRoadPictureHeight, colors::kBlack);
  Pattern = Artwork("sprites.png", 512, 512, 0xFFFFFF);
  Masking = Artwork("sprites_mask.png", 512, 512, 0x000000);
  PatternSL = Artwork("road_tiles.png", 256, 512, 0x606060);
  GameTitle = Artwork("title.png", 391, 48, colors::kGrey);
}

void Kelto1::Repaint(Element e) {
  window.MarkPainted(e);
  if (e == Element::Display) recorder.ViewPainted(*this);
  platform.Repaint(Shown(), e);
}

ShownWindow Kelto1::Shown() const {
  return ShownWindow{window, Display, GameTitle, PacedDelayMs(shell.LastWaitMs.get())};
}

void Kelto1::BoxTyped(Element box, const std::string& text) {
  window[box].text = text;
  // The selector's change event repaints it; the delay box shows what was typed at once.
  if (box == Element::CarSel) CarSel_Change();
  else window.PaintedForEdit(box).text = text;
}

namespace {

// The state hash: FNV-1a over every field's bytes, texts with their lengths.
class Hasher {
 public:
  void Bytes(const void* data, size_t n) { fnv_.Bytes(data, n); }
  template <class T>
  void Raw(const T& v) {
    Bytes(&v, sizeof v);
  }
  void Text(const std::string& s) {
    uint64_t n = s.size();
    Raw(n);
    Bytes(s.data(), s.size());
  }
  uint64_t value() const { return fnv_.value(); }

 private:
  Fnv1a64 fnv_;
};

}  // namespace

uint64_t Kelto1::StateHash() const {
  // The state structs are zero-filled when the game object is made and only ever
  // written field by field, so their bytes, padding included, are the same in every run.
  Hasher h;
  h.Raw(shell);
  h.Raw(course);
  h.Raw(vehicles);
  h.Raw(traffic);
  h.Raw(audio);
  h.Raw(input);
  uint32_t r = random.state();
  h.Raw(r);
  for (int i = 0; i < kElementCount; ++i) {
    const ElementState& s = window[static_cast<Element>(i)];
    h.Text(s.text);
    h.Raw(s.color);
    h.Raw(s.visible);
  }
  // The pictures are left out: the view hash covers every view as it was painted, so a
  // change of artwork shows there and leaves this hash of the game's state alone.
  return h.value();
}

}  // namespace kelto1
