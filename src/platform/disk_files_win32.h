// What the Windows file store adds: UTF-8 and UTF-16 paths, and the file that keeps a
// player's files beside the program.
#pragma once

#include <string>

namespace kelto1 {

// Beside the program, this file keeps the settings and replays in the program's folder
// (a game on a memory stick); without it they live in %APPDATA%\Kelto1.
inline constexpr const char kPortableMarker[] = "portable.txt";

// The game's UTF-8 path as Windows takes it, and back; empty for empty or broken text.
std::wstring WidePath(const std::string& utf8);
std::string Utf8Path(const std::wstring& wide);

}  // namespace kelto1
