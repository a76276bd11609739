// The player's remembered choices, kept apart from the game's own settings file: the
// vehicle chosen last, full screen and the scaling, the volumes and the keys. Read from
// and written to a small INI file:
//
//   [game]     vehicle = RacingCar, title_hints = yes
//   [display]  full_screen = no, scaling = whole | sharp
//   [sound]    music_volume = 0..100, effects_volume = 0..100, mute = no
//   [keys]     steer_left = Left, accelerate = LeftAlt RightAlt, ...
//
// Anything the reader does not understand gives the default for that one choice.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/key_bindings.h"
#include "frontend/scaling.h"
#include "platform/platform.h"

namespace kelto1 {

struct Preferences {
  std::string vehicle;  // one of the selector's items; empty: the game's own choice
  bool title_hints = true;  // the keys to know, on the title screen until a race is run
  bool ghost = true;        // the best race's ghost drives beside the player
  bool full_screen = false;
  ScaleMode scaling = ScaleMode::Whole;
  int music_volume = 100;    // per cent
  int effects_volume = 100;  // per cent
  bool muted = false;
  KeyBindings keys;

  bool operator==(const Preferences&) const = default;
};

// A larger file is not a preferences file anyone wrote.
constexpr size_t kMaxPreferencesFileSize = 64 * 1024;

// One "name = value" line of the file, under its section.
struct PreferenceEntry {
  std::string section, name, value;
};
// The choices these entries make. What is wrong (an unknown section or name, a value out
// of range, a key that cannot be bound) keeps the default for that choice and is added
// to `problems`.
Preferences PreferencesFrom(const std::vector<PreferenceEntry>& entries, std::vector<std::string>& problems);

// The INI reader each edition brings: the entries of a preferences file whose whole text
// is `text`, read from `path`, and the number of the first line that is neither
// "name = value" nor a [section] nor a comment (0: none). Linux reads the text with inih;
// Windows has the system's own reader read the file at path, the text already checked.
int ReadIniEntries(const std::string& text, const std::string& path, std::vector<PreferenceEntry>& entries);

// Reads the file's text (with the INI reader). What is wrong (a line that is not "name = value", an unknown
// section or name, a value out of range, a key that cannot be bound) keeps the default
// for that choice and is told in `complaint`, one line; empty when all was understood.
Preferences ParsePreferences(std::string_view text, std::string& complaint, const std::string& path = {});
// The file's text for these choices.
std::string PreferencesText(const Preferences& prefs);

// $XDG_CONFIG_HOME/kelto1/kelto1.ini, or .config/kelto1/kelto1.ini in the home folder
// (%APPDATA%\Kelto1\kelto1.ini on Windows); empty when there is no home folder.
std::string DefaultPreferencesPath();

// The file on disk: read once at start, written back only when a choice changed since.
class PreferencesFile {
 public:
  // Reads path through files; a missing file gives the defaults silently, a damaged
  // one the defaults for what it gets wrong and one line through note.
  using Note = std::function<void(const std::string&)>;
  PreferencesFile(FileStore& files, std::string path, Note note);

  Preferences& prefs() { return prefs_; }
  const Preferences& prefs() const { return prefs_; }
  // Writes the file, replacing it whole, if the choices differ from those read or last
  // written. False (with a line through note) when it could not be written.
  bool SaveIfChanged();
  const std::string& path() const { return path_; }

 private:
  FileStore& files_;
  std::string path_;
  Note note_;
  Preferences prefs_;
  Preferences saved_;
  bool keep_away_ = false;  // the file there could not be read
};

}  // namespace kelto1
