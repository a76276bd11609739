// Fuzzing the settings loader: any bytes in "car.dat" load, save and load again the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "headless/headless_platform.h"
#include "shell/kelto1.h"
#include "shell/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelto1;
  const std::vector<uint8_t> file(data, data + size);
  const SettingsRecord r = DecodeSettings(file);
  const std::vector<uint8_t> saved = EncodeSettingsOver(r, file);
  if (saved.size() < file.size()) std::abort();  // a save never shortens the file
  const SettingsRecord again = DecodeSettings(saved);
  if (again.WaitMs != r.WaitMs || again.BestRank != r.BestRank || again.Memo != r.Memo) std::abort();

  // The same bytes through the game's own load and save.
  static HeadlessPlatform platform;
  static Kelto1 game(platform);
  platform.files.files["/game/car.dat"] = file;
  game.LoadSettings();
  game.SaveSettings();
  const std::vector<uint8_t>& out = platform.files.files["/game/car.dat"];
  if (out.size() < file.size() || DecodeSettings(out).Memo != r.Memo) std::abort();
  return 0;
}
