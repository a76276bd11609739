// Records what the desktop's sound really puts out, through SDL's disk audio driver: the
// tune started with the music command strings, a crash over it, silence after stop, and a
// knock that cuts off a heavy crash, since effects share one channel.
// Usage: kelto1-audio-check DATA_FOLDER OUTPUT.raw   (exit 0 = heard, 1 = fault, 77 = skipped)
#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sdl/sdl_audio.h"

namespace {

constexpr int kSkipped = 77;

// Bytes the mixer has handed to the device so far: where in the recording "now" is.
std::atomic<uint64_t> mixed_bytes{0};
void CountMixed(void*, Uint8*, int len) { mixed_bytes += static_cast<uint64_t>(len); }

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) { return std::ifstream(path).good(); }

int failures = 0;
void Expect(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok:  " : "FAIL:", what.c_str());
  if (!ok) ++failures;
}

struct Marks {
  uint64_t effect = 0, stop = 0, end = 0, knock = 0, last = 0;  // byte offsets in the recording
};

// Root mean square of the 16-bit native-order samples between two byte offsets, in full-scale units.
double Rms(const std::vector<uint8_t>& pcm, uint64_t from, uint64_t to) {
  from &= ~uint64_t{1};
  to = std::min<uint64_t>(to, pcm.size()) & ~uint64_t{1};
  if (to <= from) return 0;
  double sum = 0;
  for (uint64_t i = from; i < to; i += 2) {
    int16_t s = 0;
    std::memcpy(&s, &pcm[i], 2);
    sum += static_cast<double>(s) * s;
  }
  return std::sqrt(sum / static_cast<double>((to - from) / 2)) / 32768.0;
}

double Db(double rms) { return rms > 0 ? 20 * std::log10(rms) : -999; }

int32_t Send(kelto1::SdlAudio& audio, const std::string& command, std::string* reply = nullptr) {
  std::string scratch(16, ' ');
  const int32_t code = audio.MusicCommand(command, reply ? *reply : scratch, reply ? 15 : 0);
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s DATA_FOLDER OUTPUT.raw\n", argv[0]);
    return 2;
  }
  const std::string data = argv[1];
  const std::string output = argv[2];
  const std::string tune = data + "/bgm.mid";
  const std::string crash = data + "/crsh.wav";
  const std::string wall = data + "/crwal.wav";
  const std::string knock = data + "/crbit.wav";
  for (const std::string& file : {tune, crash, wall, knock}) {
    if (Exists(file)) continue;
    std::printf("skipped: %s is not there\n", file.c_str());
    return kSkipped;
  }

  SDL_setenv("SDL_AUDIODRIVER", "disk", 1);
  SDL_setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);

  Marks marks;
  int frequency = 0, channels = 0;
  Uint16 format = 0;
  {
    kelto1::SdlAudio audio;
    if (!audio.Open()) {
      std::printf("FAIL: the disk audio device did not open\n");
      return 1;
    }
    if (!audio.MusicAvailable()) {
      std::printf("skipped: no soundfont or MIDI player for the tune\n");
      return kSkipped;
    }
    Mix_QuerySpec(&frequency, &format, &channels);
    Mix_SetPostMix(CountMixed, nullptr);

    Expect(Send(audio, "status midifile mode") == 263, "status before open answers 263");
    Expect(Send(audio, "open \"" + tune + "\" type sequencer alias midifile") == 0, "open the tune");
    Expect(Send(audio, "play midifile from 0") == 0, "play from 0");
    std::string reply(16, ' ');
    Expect(Send(audio, "status midifile mode", &reply) == 0 && reply == "playing", "status answers playing");
    SDL_Delay(2500);

    std::vector<uint8_t> crash_image = ReadFile(crash);
    std::vector<uint8_t> wall_image = ReadFile(wall);
    std::vector<uint8_t> knock_image = ReadFile(knock);
    for (auto* image : {&crash_image, &wall_image, &knock_image}) image->push_back(0);  // as the game holds them
    marks.effect = mixed_bytes;
    audio.PlayWav(crash_image);
    SDL_Delay(1000);

    Expect(Send(audio, "stop midifile ") == 0, "stop");
    marks.stop = mixed_bytes;
    reply.assign(16, ' ');
    Expect(Send(audio, "status midifile mode", &reply) == 0 && reply == "stopped", "status answers stopped");
    const std::vector<uint8_t> empty_image(1, 0);
    audio.PlayWav(empty_image);  // a missing sound: silent, and no harm
    SDL_Delay(600);
    marks.end = mixed_bytes;
    Expect(Send(audio, "close midifile") == 0, "close");
    Expect(Send(audio, "status midifile mode") == 263, "status after close answers 263");

    audio.PlayWav(wall_image);
    SDL_Delay(50);
    marks.knock = mixed_bytes;
    audio.PlayWav(knock_image);
    SDL_Delay(800);
    marks.last = mixed_bytes;
  }  // closing the device finishes the recording

  Expect(format == AUDIO_S16SYS, "the device takes 16-bit samples");
  const std::vector<uint8_t> pcm = ReadFile(output);
  const uint64_t per_second = static_cast<uint64_t>(frequency) * static_cast<uint64_t>(channels) * 2;
  std::printf("recorded %.2f s at %d Hz, %d channels\n", static_cast<double>(pcm.size()) / per_second, frequency,
              channels);
  Expect(pcm.size() >= marks.last, "the recording holds everything mixed");

  // The tune alone: from half a second in up to the crash. The crash: its first half second.
  // After stop: from a tenth of a second on, when the last mixed buffer has gone out.
  const double tune_only = Rms(pcm, per_second / 2, marks.effect);
  const double with_crash = Rms(pcm, marks.effect, marks.effect + per_second / 2);
  const double after_stop = Rms(pcm, marks.stop + per_second / 10, marks.end);
  std::printf("tune alone %.1f dBFS, tune and crash %.1f dBFS, after stop %.1f dBFS\n", Db(tune_only),
              Db(with_crash), Db(after_stop));
  Expect(Db(tune_only) > -40, "the tune is heard (above -40 dBFS)");
  Expect(Db(with_crash) > Db(tune_only) + 3, "the crash is heard over it (3 dB louder)");
  Expect(Db(after_stop) < -60, "silence after stop (below -60 dBFS)");

  // The knock is 0.3 s long; the heavy crash it cut off would still roar after it.
  const double knock_start = Rms(pcm, marks.knock, marks.knock + per_second / 5);
  const double after_knock = Rms(pcm, marks.knock + per_second * 7 / 20, marks.knock + per_second * 3 / 5);
  std::printf("knock %.1f dBFS, after the knock %.1f dBFS\n", Db(knock_start), Db(after_knock));
  Expect(Db(knock_start) > -40, "the knock is heard");
  Expect(Db(after_knock) < -60, "the knock cut off the heavy crash (silence after it)");
  return failures == 0 ? 0 : 1;
}
