// The Windows front end's parts that need no Windows: the MCI strings the game's tune
// commands become, the WAV images handed to the system's player, and the keys typed.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/music_commands.h"
#include "win32/game_pad.h"
#include "win32/mci_tune.h"
#include "win32/wav_effects.h"
#include "win32/win32_keys.h"

namespace kelto1 {
namespace {

// A sequencer that notes every string it is sent and answers from a script.
struct FakeSequencer {
  std::vector<std::string> sent;
  std::map<std::string, uint32_t> errors;  // first word of a command -> its error code
  std::string mode = "playing";

  uint32_t operator()(const std::string& command, std::string& reply) {
    sent.push_back(command);
    const std::string verb = command.substr(0, command.find(' '));
    if (auto e = errors.find(verb); e != errors.end()) return e->second;
    if (verb == "status") reply = mode;
    return 0;
  }
};

class MciTuneTest : public ::testing::Test {
 protected:
  int32_t Send(const std::string& command) {
    reply.assign(16, ' ');
    return music.Send(command, reply, 15);
  }

  FakeSequencer sequencer;
  MciTune tune{[this](const std::string& c, std::string& r) { return sequencer(c, r); }};
  std::vector<std::string> lines;
  MusicCommands music{tune, [this](const std::string& line) { lines.push_back(line); }};
  std::string reply;
};

// The game's path, as it quotes it: the program's folder with Windows separators, then
// "/bgm.mid".
const std::string kGameOpen =
    "open " + QuoteMusicPath("C:\\Games\\Kelto1 \xE6\x97\xA5/bgm.mid") + " type sequencer alias midifile";

TEST_F(MciTuneTest, TheGamesCommandsBecomeTheSequencersStrings) {
  EXPECT_EQ(Send(kGameOpen), 0);
  EXPECT_EQ(Send("play midifile from 0"), 0);
  EXPECT_EQ(Send("status midifile mode"), 0);
  EXPECT_EQ(reply, "playing");
  sequencer.mode = "stopped";
  EXPECT_EQ(Send("status midifile mode"), 0);
  EXPECT_EQ(reply, "stopped") << "the tune ran out";
  EXPECT_EQ(Send("stop midifile"), 0);
  EXPECT_EQ(Send("close midifile"), 0);
  const std::vector<std::string> expected = {
      "open \"C:\\Games\\Kelto1 \xE6\x97\xA5\\bgm.mid\" type sequencer alias kelto1tune",
      "play kelto1tune from 0",
      "status kelto1tune mode",
      "status kelto1tune mode",
      "stop kelto1tune",
      "close kelto1tune",
  };
  EXPECT_EQ(sequencer.sent, expected);
  EXPECT_TRUE(lines.empty());
}

TEST_F(MciTuneTest, ASequencerThatCannotOpenOrPlayIsToldOnceAndStaysSilent) {
  const struct {
    const char* failing;
    const char* told;  // a word the one line holds
  } cases[] = {{"open", "cannot open"}, {"play", "cannot play"}};
  for (const auto& c : cases) {
    FakeSequencer fresh;
    fresh.errors[c.failing] = 277;  // no MIDI device, as with Windows' sound off
    sequencer = fresh;
    lines.clear();
    MciTune failing_tune{[this](const std::string& s, std::string& r) { return sequencer(s, r); }};
    MusicCommands failing{failing_tune, [this](const std::string& line) { lines.push_back(line); }};
    std::string r(16, ' ');
    for (int race = 0; race < 3; ++race) {
      failing.Send(kGameOpen, r, 15);
      failing.Send("play midifile from 0", r, 15);
      failing.Send("close midifile", r, 15);
    }
    ASSERT_EQ(lines.size(), 1u) << c.failing;
    EXPECT_NE(lines[0].find(c.told), std::string::npos) << lines[0];
  }
}

TEST(MciQuotedPath, WindowsSeparatorsBetweenQuotesAndNoPathMciCannotQuote) {
  EXPECT_EQ(MciQuotedPath("C:/a b/bgm.mid"), "\"C:\\a b\\bgm.mid\"");
  EXPECT_EQ(MciQuotedPath("C:\\a\\bgm.mid"), "\"C:\\a\\bgm.mid\"");
  EXPECT_EQ(MciQuotedPath("C:\\a\"b\\bgm.mid"), "") << "a double quote would end the path early";
  EXPECT_EQ(MciQuotedPath(""), "");
}

TEST_F(MciTuneTest, APathWithADoubleQuoteIsNeverSent) {
  EXPECT_NE(Send("open " + QuoteMusicPath("C:\\odd\"name/bgm.mid") + " type sequencer alias midifile"), 0);
  EXPECT_TRUE(sequencer.sent.empty());
  EXPECT_EQ(lines.size(), 1u);
}

std::vector<uint8_t> PcmWav(uint32_t data_length) {
  std::vector<uint8_t> w;
  auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) w.push_back(static_cast<uint8_t>(v >> (8 * i))); };
  auto put16 = [&](uint16_t v) { w.push_back(v & 0xFF); w.push_back(v >> 8); };
  auto text = [&](const char* s) { for (int i = 0; i < 4; ++i) w.push_back(static_cast<uint8_t>(s[i])); };
  text("RIFF"); put32(36 + 8); text("WAVE");
  text("fmt "); put32(16); put16(1); put16(1); put32(22050); put32(44100); put16(2); put16(16);
  text("data"); put32(data_length);
  w.insert(w.end(), 8, 0x11);
  w.push_back(0);  // the zero byte the game keeps after every file
  return w;
}

TEST(WavEffects, OnlyAPlainPcmImageIsHandedOverAndItIsTheGamesOwnBytes) {
  std::vector<const uint8_t*> handed;
  WavEffects effects([&](const uint8_t* image) { handed.push_back(image); });
  const std::vector<uint8_t> good = PcmWav(8);
  const std::vector<uint8_t> claims_too_much = PcmWav(0xFFFFFFFF);
  const std::vector<uint8_t> empty_file = {0};  // a sound file that was missing
  effects.Play(good);
  effects.Play(claims_too_much);
  effects.Play(empty_file);
  // The system's player reads the image where it lies, so it must be the game's buffer,
  // not a copy that goes away; anything else only stops the effect before it.
  const std::vector<const uint8_t*> expected = {good.data(), nullptr, nullptr};
  EXPECT_EQ(handed, expected);
}

TEST(Win32Keys, TheEditBoxesKeysByTheirVirtualKeyNumbers) {
  const struct {
    unsigned virtual_key;
    EditKey key;
  } cases[] = {
      {0x08, EditKey::Backspace}, {0x2E, EditKey::Delete}, {0x25, EditKey::Left},  {0x27, EditKey::Right},
      {0x24, EditKey::Home},      {0x23, EditKey::End},    {0x26, EditKey::Up},    {0x28, EditKey::Down},
      {0x0D, EditKey::Enter},     {0x09, EditKey::Tab},    {0x41, EditKey::Other}, {0x11, EditKey::Other},
  };
  for (const auto& c : cases) EXPECT_EQ(EditKeyOfVirtualKey(c.virtual_key), c.key) << c.virtual_key;
}

TEST(Win32Keys, TypedUtf16BecomesUtf8WholeCharactersOnly) {
  const struct {
    const char* what;
    std::vector<uint16_t> units;
    std::string text;
  } cases[] = {
      {"a letter", {'a'}, "a"},
      {"a Latin-1 letter", {0xE9}, "\xC3\xA9"},
      {"a kanji", {0x65E5}, "\xE6\x97\xA5"},
      {"a pair of halves", {0xD83D, 0xDE97}, "\xF0\x9F\x9A\x97"},
      {"a second half alone", {0xDE97, 'a'}, "\xEF\xBF\xBD" "a"},
      {"a first half without its second", {0xD83D, 'a'}, "\xEF\xBF\xBD" "a"},
  };
  for (const auto& c : cases) {
    TypedCharacters typed;
    std::string text;
    for (uint16_t u : c.units) text += typed.Feed(u);
    EXPECT_EQ(text, c.text) << c.what;
  }
}

TEST(GamePad, TheLeftStickSteersAAcceleratesAndBBrakes) {
  const struct {
    const char* what;
    int16_t stick;
    uint16_t buttons;
    uint32_t x, pressed;
  } cases[] = {
      {"at rest", 0, 0, 32768, 0},
      {"a worn stick near its rest", 2000, 0, 32768, 0},
      {"full left", -32768, 0, 0, 0},
      {"full right", 32767, 0, 65535, 0},
      {"A", 0, kPadButtonA, 32768, 1},
      {"B", 0, kPadButtonB, 32768, 2},
      {"A and B with X and Y", 0, kPadButtonA | kPadButtonB | 0x4000 | 0x8000, 32768, 3},
  };
  for (const auto& c : cases) {
    const JoyPosition p = PadToPosition(c.stick, c.buttons);
    EXPECT_EQ(p.x, c.x) << c.what;
    EXPECT_EQ(p.buttons, c.pressed) << c.what;
  }
}

}  // namespace
}  // namespace kelto1
