// Screenshots: the game's picture at its own size as a PNG file, and where they go.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/picture.h"
#include "platform/platform.h"

namespace kelto1 {

// The picture as PNG bytes, 8 bits a channel, without alpha; empty if it cannot be made.
std::vector<uint8_t> EncodePng(const Picture& picture);

// The folder screenshots go into: "kelto1" in the player's pictures folder when there
// is one (not the home folder itself, which is what the question answers without one),
// else the game's data folder. Empty when there is neither.
std::string ScreenshotFolder(const std::string& pictures_folder, const std::string& home_folder,
                             const std::string& data_folder);

// A file name in folder not taken yet: stem.png, else stem-2.png, stem-3.png ...
// Empty when a hundred are taken.
std::string FreeScreenshotPath(FileStore& files, const std::string& folder, const std::string& stem);

// The name a screenshot taken now starts with: "kelto1-" and the local date and time.
std::string ScreenshotStem();

// Saves the picture as a new PNG file in folder; the line to show the player either way.
std::string SaveScreenshot(FileStore& files, const Picture& picture, const std::string& folder,
                           const std::string& stem);

}  // namespace kelto1
