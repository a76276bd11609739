// The look at a MIDI file before it reaches the synthesizer: the game's own tune passes,
// the ways a tune file gets damaged do not.
#include "platform/midi_image.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace kelto1 {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Header(uint16_t format, uint16_t tracks) {
  return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, static_cast<uint8_t>(format), 0, static_cast<uint8_t>(tracks), 1, 0xE0};
}

Bytes Track(const Bytes& events) {
  Bytes t = {'M', 'T', 'r', 'k', 0, 0, static_cast<uint8_t>(events.size() >> 8), static_cast<uint8_t>(events.size())};
  t.insert(t.end(), events.begin(), events.end());
  return t;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// A note on and off, the second by running status, and the end of the track.
const Bytes kNotes = {0x00, 0x90, 60, 100, 0x83, 0x60, 60, 0, 0x00, 0xFF, 0x2F, 0x00};

Bytes TheGamesTune() {
  std::ifstream in(std::string(KELTO1_SOURCE_DIR) + "/data/bgm.mid", std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(PlausibleMidi, TakesWholeTunes) {
  const Bytes tune = TheGamesTune();
  if (tune.empty()) GTEST_SKIP() << "data/bgm.mid is not there";
  std::string why;
  EXPECT_TRUE(PlausibleMidi(tune, &why)) << why;
  EXPECT_TRUE(PlausibleMidi(Join({Header(0, 1), Track(kNotes)})));
  // A chunk of another kind between the tracks is skipped.
  const Bytes other = {'X', 'y', 'z', 'w', 0, 0, 0, 2, 7, 7};
  EXPECT_TRUE(PlausibleMidi(Join({Header(1, 2), Track(kNotes), other, Track(kNotes)})));
  // Meta and system-exclusive events with their lengths.
  const Bytes meta = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xF0, 0x02, 0x7E, 0xF7, 0x00, 0xFF, 0x2F, 0x00};
  EXPECT_TRUE(PlausibleMidi(Join({Header(0, 1), Track(meta)})));
}

struct Damage {
  const char* name;
  Bytes file;
};

TEST(PlausibleMidi, RefusesDamagedTunes) {
  const Bytes tune = TheGamesTune();
  std::mt19937 random(7);
  Bytes noise(4000);
  for (auto& b : noise) b = static_cast<uint8_t>(random());
  Bytes header_then_noise = Join({Header(1, 3), Bytes{'M', 'T', 'r', 'k', 0, 0, 0x0F, 0xA0}, noise});
  const std::vector<Damage> damages = {
      {"empty", {}},
      {"random bytes", noise},
      {"a good header, then noise", header_then_noise},
      {"cut in half", tune.empty() ? Join({Header(1, 2), Track(kNotes)}) : Bytes(tune.begin(), tune.begin() + tune.size() / 2)},
      {"header alone", Header(0, 1)},
      {"no tracks", Header(1, 0)},
      {"format 0 with two tracks", Join({Header(0, 2), Track(kNotes), Track(kNotes)})},
      {"a track missing", Join({Header(1, 2), Track(kNotes)})},
      {"no end of track", Join({Header(0, 1), Track({0x00, 0x90, 60, 100})})},
      {"data before any status", Join({Header(0, 1), Track({0x00, 60, 100, 0x00, 0xFF, 0x2F, 0x00})})},
      {"a status byte as data", Join({Header(0, 1), Track({0x00, 0x90, 0x90, 100, 0x00, 0xFF, 0x2F, 0x00})})},
      {"a meta event past the track", Join({Header(0, 1), Track({0x00, 0xFF, 0x01, 0x40, 'a'})})},
      {"a delta time of five bytes", Join({Header(0, 1), Track({0x81, 0x81, 0x81, 0x81, 0x01, 0xFF, 0x2F, 0x00})})},
      {"a track longer than the file", Join({Header(0, 1), Bytes{'M', 'T', 'r', 'k', 0, 1, 0, 0}, kNotes})},
  };
  for (const Damage& d : damages) {
    std::string why;
    EXPECT_FALSE(PlausibleMidi(d.file, &why)) << d.name;
    EXPECT_FALSE(why.empty()) << d.name;
  }
}

}  // namespace
}  // namespace kelto1
