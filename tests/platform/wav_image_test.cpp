// Which sound images reach the decoder.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/wav_image.h"

namespace kelto1 {
namespace {

std::vector<uint8_t> Wav(uint16_t tag, uint32_t data_length, size_t data_present) {
  std::vector<uint8_t> w;
  auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) w.push_back(static_cast<uint8_t>(v >> (8 * i))); };
  auto put16 = [&](uint16_t v) { w.push_back(v & 0xFF); w.push_back(v >> 8); };
  auto text = [&](const char* s) { for (int i = 0; i < 4; ++i) w.push_back(static_cast<uint8_t>(s[i])); };
  text("RIFF"); put32(static_cast<uint32_t>(36 + data_present)); text("WAVE");
  text("fmt "); put32(16); put16(tag); put16(1); put32(22050); put32(44100); put16(2); put16(16);
  text("data"); put32(data_length);
  w.insert(w.end(), data_present, 0x11);
  w.push_back(0);  // the zero byte the game keeps after every file
  return w;
}

TEST(WavImage, PlainPcmPassesAndDamagedImagesDoNot) {
  EXPECT_TRUE(PlausibleWav(Wav(1, 8, 8)));
  EXPECT_FALSE(PlausibleWav(Wav(1, 0xFFFFFFFF, 8))) << "a data chunk claiming 4 GiB";
  EXPECT_FALSE(PlausibleWav(Wav(1, 9, 8))) << "a data chunk one byte too long";
  EXPECT_FALSE(PlausibleWav(Wav(2, 8, 8))) << "compressed formats are not ours";
  EXPECT_FALSE(PlausibleWav({0}));
  EXPECT_FALSE(PlausibleWav({}));
  std::vector<uint8_t> no_riff = Wav(1, 8, 8);
  no_riff[0] = 'X';
  EXPECT_FALSE(PlausibleWav(no_riff));
}

TEST(WavImage, TheHeaderTellsHowLongItPlays) {
  // 16-bit mono at 22050 Hz: two bytes a sample.
  EXPECT_DOUBLE_EQ(WavSeconds(Wav(1, 44100, 44100)), 1.0);
  EXPECT_DOUBLE_EQ(WavSeconds(Wav(1, 8, 8)), 4.0 / 22050);
  EXPECT_EQ(WavSeconds(Wav(1, 9, 8)), 0.0) << "damaged: no length";
  EXPECT_EQ(WavSeconds({}), 0.0);
}

TEST(WavImage, OurSoundFilesPass) {
  for (const char* name : {"crbit.wav", "crsh.wav", "crwal.wav", "PwrUp1.wav", "PwrLost.wav", "pass.wav"}) {
    std::ifstream in(std::string(KELTO1_SOURCE_DIR) + "/data/" + name, std::ios::binary);
    if (!in) GTEST_SKIP() << "no sound files in data/";
    std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)), {});
    image.push_back(0);
    EXPECT_TRUE(PlausibleWav(image)) << name;
  }
}

}  // namespace
}  // namespace kelto1
