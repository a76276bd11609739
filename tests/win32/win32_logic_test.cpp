// The Windows front end's parts that need no Windows: the MCI strings the game's tune
// commands become, the WAV images handed to the system's player, and the keys typed.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "frontend/key_bindings.h"
#include "platform/music_commands.h"
#include "win32/game_pad.h"
#include "win32/mci_tune.h"
#include "win32/profile_lines.h"
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

// A tune held while it plays stops where it is and goes on from there; one the game asks to
// start while held starts when let go; meanwhile the game is told it still plays, so it
// does not start it again.
TEST_F(MciTuneTest, AHeldTuneIsPausedAndResumedNeverStartedAgain) {
  EXPECT_EQ(Send(kGameOpen), 0);
  EXPECT_EQ(Send("play midifile from 0"), 0);
  sequencer.sent.clear();
  tune.Hold(true);
  tune.Hold(true);  // held twice is held once
  sequencer.mode = "paused";
  EXPECT_EQ(Send("status midifile mode"), 0);
  EXPECT_EQ(reply, "playing");
  tune.Hold(false);
  sequencer.mode = "playing";
  const std::vector<std::string> expected = {"status kelto1tune mode", "pause kelto1tune", "resume kelto1tune"};
  EXPECT_EQ(sequencer.sent, expected);

  // Held before the game opens and starts it (the sound off from the start): nothing is
  // played until it is let go, and then from the beginning.
  sequencer.sent.clear();
  EXPECT_EQ(Send("close midifile"), 0);
  tune.Hold(true);
  EXPECT_EQ(Send(kGameOpen), 0);
  EXPECT_EQ(Send("play midifile from 0"), 0);
  EXPECT_EQ(Send("status midifile mode"), 0);
  EXPECT_EQ(reply, "playing");
  tune.Hold(false);
  const std::vector<std::string> later = {
      "close kelto1tune",
      "open \"C:\\Games\\Kelto1 \xE6\x97\xA5\\bgm.mid\" type sequencer alias kelto1tune",
      "play kelto1tune from 0",
  };
  EXPECT_EQ(sequencer.sent, later);

  // A tune that had run out when held is not started by letting go.
  sequencer.sent.clear();
  sequencer.mode = "stopped";
  tune.Hold(true);
  EXPECT_EQ(Send("status midifile mode"), 0);
  EXPECT_EQ(reply, "stopped");
  tune.Hold(false);
  EXPECT_EQ(sequencer.sent, std::vector<std::string>{"status kelto1tune mode"});
}

// The effects' level: the game's own bytes at full loudness, none at all at nothing, and a
// quieter copy in between, made once and kept while it may still be playing.
TEST(WavEffects, TheLevelPlaysTheImageAQuieterCopyOrNothing) {
  std::vector<const uint8_t*> handed;
  WavEffects effects([&](const uint8_t* image) { handed.push_back(image); });
  std::vector<uint8_t> loud = PcmWav(8);
  const size_t data = loud.size() - 9;  // the samples' first byte
  for (int i = 0; i < 4; ++i) {  // four samples: 1000, -1000, 32767, -32768
    const int16_t sample = std::array<int16_t, 4>{1000, -1000, 32767, -32768}[i];
    loud[data + 2 * i] = static_cast<uint8_t>(sample & 0xFF);
    loud[data + 2 * i + 1] = static_cast<uint8_t>((sample >> 8) & 0xFF);
  }
  effects.SetLevel(50);
  effects.Play(loud);
  effects.Play(loud);
  ASSERT_EQ(handed.size(), 3u) << "the level's change stops what plays, then two plays";
  EXPECT_EQ(handed[0], nullptr);
  EXPECT_NE(handed[1], loud.data());
  EXPECT_EQ(handed[2], handed[1]) << "one copy for every play at one level";
  std::vector<uint8_t> copy(handed[1], handed[1] + loud.size());
  auto sample = [&](const std::vector<uint8_t>& w, int i) {
    return static_cast<int16_t>(w[data + 2 * i] | (w[data + 2 * i + 1] << 8));
  };
  EXPECT_EQ(sample(copy, 0), 500);
  EXPECT_EQ(sample(copy, 1), -500);
  EXPECT_EQ(sample(copy, 2), 16383);
  EXPECT_EQ(sample(copy, 3), -16384);
  EXPECT_TRUE(std::equal(loud.begin(), loud.begin() + static_cast<long>(data), copy.begin())) << "the header as it was";

  handed.clear();
  effects.SetLevel(0);
  effects.Play(loud);
  EXPECT_EQ(handed, std::vector<const uint8_t*>{nullptr}) << "at nothing no effect is handed over";
  handed.clear();
  effects.SetLevel(100);
  effects.Play(loud);
  EXPECT_EQ(handed, (std::vector<const uint8_t*>{nullptr, loud.data()}));
}

TEST(WavEffects, QuieterEightBitSamplesStayAroundTheirMiddle) {
  std::vector<uint8_t> w = PcmWav(8);
  w[34] = 8;  // bits a sample, in the format chunk
  w[32] = 1;  // block align
  w[28] = 0x22;  // bytes a second: 22050
  w[29] = 0x56;
  const size_t data = w.size() - 9;
  w[data] = 255;
  w[data + 1] = 0;
  w[data + 2] = 128;
  const std::vector<uint8_t> q = QuieterWav(w, 50);
  EXPECT_EQ(q[data], 191);
  EXPECT_EQ(q[data + 1], 64);
  EXPECT_EQ(q[data + 2], 128);
  const std::vector<uint8_t> damaged = PcmWav(0xFFFFFFFF);
  EXPECT_EQ(QuieterWav(damaged, 10), damaged) << "a damaged image is never walked";
}

// Every key a binding can name comes from its key message under that name, the right-hand
// modifiers told apart as Windows tells them.
TEST(Win32Keys, KeyMessagesNamedAsThePreferencesNameKeys) {
  const struct {
    unsigned virtual_key;
    bool extended;
    unsigned scan_code;
    const char* name;
  } cases[] = {
      {0x25, true, 0x4B, "Left"},      {0x27, true, 0x4D, "Right"},     {0x26, true, 0x48, "Up"},
      {0x28, true, 0x50, "Down"},      {0x12, false, 0x38, "LeftAlt"},  {0x12, true, 0x38, "RightAlt"},
      {0x11, false, 0x1D, "LeftCtrl"}, {0x11, true, 0x1D, "RightCtrl"}, {0x10, false, 0x2A, "LeftShift"},
      {0x10, false, 0x36, "RightShift"}, {'P', false, 0x19, "P"},      {'7', false, 0x08, "7"},
      {0x70, false, 0x3B, "F1"},       {0x7B, false, 0x58, "F12"},      {0x13, false, 0x45, "Pause"},
      {0x20, false, 0x39, "Space"},    {0x0D, false, 0x1C, "Return"},   {0x21, true, 0x49, "PageUp"},
      {0x1B, false, 0x01, "Escape"},   {0x7C, false, 0x64, ""},         {0x60, false, 0x52, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(KeyNameOfVirtualKey(c.virtual_key, c.extended, c.scan_code), c.name) << c.virtual_key;
  // The default keys all have a message that names them.
  const KeyBindings keys;
  for (int a = 0; a < kActionCount; ++a)
    for (const std::string& key : keys.KeysOf(static_cast<Action>(a))) {
      bool found = false;
      for (unsigned vk = 0; vk < 256 && !found; ++vk)
        for (int extended = 0; extended < 2 && !found; ++extended)
          found = CanonicalKeyName(KeyNameOfVirtualKey(vk, extended, 0x2A)) == CanonicalKeyName(key);
      EXPECT_TRUE(found) << key;
    }
}

// The lines Windows' INI reader hands back mean what they mean to inih on Linux.
TEST(ProfileLines, ReadAsInihReadsThem) {
  using P = ProfileLine;
  const struct {
    const char* line;
    P read;
    const char* name;
    const char* value;
  } cases[] = {
      {"vehicle = MotorBike", P::Entry, "vehicle", "MotorBike"},
      {"vehicle=MotorBike", P::Entry, "vehicle", "MotorBike"},
      {"  mute =  yes  \r", P::Entry, "mute", "yes"},
      {"vehicle = MotorBike        ; RacingCar, FamilyCar", P::Entry, "vehicle", "MotorBike"},
      {"brake = LeftCtrl RightCtrl\t; also starts a race", P::Entry, "brake", "LeftCtrl RightCtrl"},
      {"pause = P;Space", P::Entry, "pause", "P;Space"},  // no blank before ';': part of the value
      {"vehicle =", P::Entry, "vehicle", ""},
      {"a = b = c", P::Entry, "a", "b = c"},
      {"; a comment", P::Skipped, "", ""},
      {"# a comment", P::Skipped, "", ""},
      {"   ", P::Skipped, "", ""},
      {"this is not a setting", P::NotAnEntry, "", ""},
  };
  for (const auto& c : cases) {
    PreferenceEntry e;
    EXPECT_EQ(ReadProfileLine(" game ", c.line, e), c.read) << c.line;
    if (c.read != P::Entry) continue;
    EXPECT_EQ(e.section, "game");
    EXPECT_EQ(e.name, c.name) << c.line;
    EXPECT_EQ(e.value, c.value) << c.line;
  }
  const std::string text = "[game]\r\nvehicle = \r\n  oops  \r\n[keys]\noops\n";
  EXPECT_EQ(LineNumberOf(text, "oops"), 3);
  EXPECT_EQ(LineNumberOf(text, "[keys]"), 4);
  EXPECT_EQ(LineNumberOf(text, "not there"), 1);
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
