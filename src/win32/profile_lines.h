// The lines Windows' own INI reader (the profile functions) hands back for a section,
// read as inih reads the same lines on Linux: "name = value" with blanks trimmed, a
// comment after a value cut off, comments and blank lines skipped.
#pragma once

#include <string>

#include "frontend/preferences.h"

namespace kelto1 {

enum class ProfileLine : unsigned char { Entry, Skipped, NotAnEntry };

// One line of the section named section; an Entry fills entry.
ProfileLine ReadProfileLine(const std::string& section, const std::string& line, PreferenceEntry& entry);

// The number of the text's first line that reads as line once trimmed (1 when none does),
// to tell which line of the file is wrong.
int LineNumberOf(const std::string& text, const std::string& line);

}  // namespace kelto1
