// The preferences file on disk, its text read through the edition's INI reader.
#include <algorithm>

#include "frontend/preferences.h"

namespace kelto1 {

Preferences ParsePreferences(std::string_view text, std::string& complaint, const std::string& path) {
  complaint.clear();
  std::vector<std::string> problems;
  std::vector<PreferenceEntry> entries;
  if (text.size() > kMaxPreferencesFileSize) {
    problems.push_back("larger than a preferences file can be");
  } else if (text.find('\0') != std::string_view::npos) {
    problems.push_back("not a text file");
  } else {
    if (const int line = ReadIniEntries(std::string(text), path, entries); line != 0)
      problems.push_back("line " + std::to_string(line) + " is not \"name = value\" nor a [section]");
  }
  Preferences prefs = PreferencesFrom(entries, problems);
  if (problems.empty()) return prefs;
  // One line however much is wrong; the first few things say what to look at.
  const size_t told = std::min<size_t>(problems.size(), 3);
  for (size_t i = 0; i < told; ++i) complaint += (i ? "; " : "") + problems[i];
  if (problems.size() > told) complaint += "; and " + std::to_string(problems.size() - told) + " more";
  return prefs;
}

PreferencesFile::PreferencesFile(FileStore& files, std::string path, Note note)
    : files_(files), path_(std::move(path)), note_(std::move(note)) {
  if (path_.empty() || !files_.Exists(path_)) return;
  bool too_big = false;
  const std::optional<std::vector<uint8_t>> bytes = files_.ReadAtMost(path_, kMaxPreferencesFileSize, too_big);
  std::string complaint;
  if (!bytes) {
    // Never written over: it may hold what the player wants back.
    complaint = too_big ? "larger than a preferences file can be, so it is left as it is"
                        : "cannot be read, so it is left as it is";
    keep_away_ = true;
  } else {
    prefs_ = ParsePreferences(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), complaint,
                              path_);
  }
  // What was read counts as saved: a file that is only partly understood is left as
  // the player wrote it until a choice changes.
  saved_ = prefs_;
  if (!complaint.empty() && note_) note_("kelto1: " + path_ + ": " + complaint + " (the defaults are used for that)");
}

bool PreferencesFile::SaveIfChanged() {
  if (prefs_ == saved_ || path_.empty() || keep_away_) return true;
  const size_t slash = path_.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? std::string() : path_.substr(0, slash);
  const std::string text = PreferencesText(prefs_);
  if ((!folder.empty() && !files_.MakeFolders(folder)) ||
      !files_.Replace(path_, std::vector<uint8_t>(text.begin(), text.end()))) {
    if (note_) note_("kelto1: could not save the preferences to " + path_);
    return false;
  }
  saved_ = prefs_;
  return true;
}

}  // namespace kelto1
