// The preferences file's lines read by Windows' own INI reader (the profile functions),
// from the file itself once its text has passed the checks every edition makes.
#include <cwchar>

#include "frontend/preferences.h"
#include "platform/disk_files_win32.h"
#include "win32/profile_lines.h"

// Last, as its macros take names the game's headers use.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace kelto1 {

namespace {

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
      PreferenceEntry entry;
      const ProfileLine read = ReadProfileLine(section, line, entry);
      if (read == ProfileLine::Entry) entries.push_back(std::move(entry));
      if (read == ProfileLine::NotAnEntry && bad_line == 0) bad_line = LineNumberOf(text, line);
    }
  }
  return bad_line;
}

}  // namespace kelto1
