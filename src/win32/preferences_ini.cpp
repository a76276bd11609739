// The preferences file's lines read by Windows' own INI reader (the profile functions),
// from the file itself once its text has passed the checks every edition makes.
#include <cwchar>

#include "frontend/preferences.h"
#include "platform/disk_files_win32.h"

// Last, as its macros take names the game's headers use.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace kelto1 {

namespace {

std::string Trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// The number of the text's line that reads as `line` once trimmed (1 when none does).
int LineNumberOf(const std::string& text, const std::string& line) {
  int number = 1;
  for (size_t at = 0; at <= text.size(); ++number) {
    const size_t end = std::min(text.find('\n', at), text.size());
    if (Trimmed(text.substr(at, end - at)) == line) return number;
    at = end + 1;
  }
  return 1;
}

// The strings of a list the profile functions fill: each ends with a nul, the list with
// one more. Its room is more than the largest file can need, so nothing is cut off.
std::vector<std::string> Strings(const std::vector<wchar_t>& list, DWORD length) {
  std::vector<std::string> out;
  for (DWORD at = 0; at < length && list[at] != L'\0';) {
    const size_t n = std::wcslen(&list[at]);
    out.push_back(Utf8Path(std::wstring(&list[at], n)));
    at += static_cast<DWORD>(n + 1);
  }
  return out;
}

}  // namespace

int ReadIniEntries(const std::string& text, const std::string& path, std::vector<PreferenceEntry>& entries) {
  if (path.empty()) return 0;
  const std::wstring file = WidePath(path);
  std::vector<wchar_t> list(kMaxPreferencesFileSize + 2);
  const DWORD room = static_cast<DWORD>(list.size());
  int bad_line = 0;
  const std::vector<std::string> sections = Strings(list, GetPrivateProfileSectionNamesW(list.data(), room, file.c_str()));
  for (const std::string& section : sections) {
    const DWORD length = GetPrivateProfileSectionW(WidePath(section).c_str(), list.data(), room, file.c_str());
    for (const std::string& line : Strings(list, length)) {
      const std::string l = Trimmed(line);
      if (l.empty() || l[0] == ';' || l[0] == '#') continue;  // comments, as inih takes them
      const size_t equals = l.find('=');
      if (equals == std::string::npos) {
        if (bad_line == 0) bad_line = LineNumberOf(text, l);
        continue;
      }
      entries.push_back({Trimmed(section), Trimmed(l.substr(0, equals)), Trimmed(l.substr(equals + 1))});
    }
  }
  return bad_line;
}

}  // namespace kelto1
