// The preferences file's lines read with inih, from the text itself.
#include <ini.h>

#include "frontend/preferences.h"

namespace kelto1 {

namespace {

int TakeEntry(void* user, const char* section, const char* name, const char* value) {
  static_cast<std::vector<PreferenceEntry>*>(user)->push_back({section, name, value ? value : ""});
  return 1;
}

}  // namespace

int ReadIniEntries(const std::string& text, const std::string&, std::vector<PreferenceEntry>& entries) {
  return ini_parse_string(text.c_str(), TakeEntry, &entries);
}

}  // namespace kelto1
