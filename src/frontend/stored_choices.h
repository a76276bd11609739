// The player's remembered choices kept as separate named values ("game.vehicle" ->
// "MotorBike"), where there is no file to write an INI text into: the browser's storage.
// Each value is read back through the same rules as the desktop's file, so a damaged or
// unknown value costs only its own choice.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "frontend/preferences.h"

namespace kelto1 {

// A stored value longer than this is not one the game wrote.
constexpr size_t kMaxStoredChoiceSize = 64;

// The choices kept this way, each under its own name: the vehicle chosen last, the title
// hints, the ghost, the volumes and mute. (The keys and the window are the desktop's.)
std::vector<std::pair<std::string, std::string>> StoredChoices(const Preferences& prefs);

// The choices the stored (name, value) pairs make. A name that is not one of
// StoredChoices', a value too long or not understood, keeps that choice's default and
// adds a line to problems.
Preferences ChoicesFromStored(const std::vector<std::pair<std::string, std::string>>& stored,
                              std::vector<std::string>& problems);

}  // namespace kelto1
