#include "win32/profile_lines.h"

#include <algorithm>

namespace kelto1 {

namespace {

std::string Trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

ProfileLine ReadProfileLine(const std::string& section, const std::string& line, PreferenceEntry& entry) {
  const std::string l = Trimmed(line);
  if (l.empty() || l[0] == ';' || l[0] == '#') return ProfileLine::Skipped;
  const size_t equals = l.find('=');
  if (equals == std::string::npos) return ProfileLine::NotAnEntry;
  std::string value = l.substr(equals + 1);
  // A comment after the value begins with ';' after a blank.
  for (size_t at = 1; at < value.size(); ++at)
    if (value[at] == ';' && (value[at - 1] == ' ' || value[at - 1] == '\t')) {
      value.resize(at);
      break;
    }
  entry = {Trimmed(section), Trimmed(l.substr(0, equals)), Trimmed(value)};
  return ProfileLine::Entry;
}

int LineNumberOf(const std::string& text, const std::string& line) {
  const std::string wanted = Trimmed(line);
  int number = 1;
  for (size_t at = 0; at <= text.size(); ++number) {
    const size_t end = std::min(text.find('\n', at), text.size());
    if (Trimmed(text.substr(at, end - at)) == wanted) return number;
    at = end + 1;
  }
  return 1;
}

}  // namespace kelto1
