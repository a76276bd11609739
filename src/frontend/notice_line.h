// The title screen's notice line: one line of the game's own words around a path or a
// reason from elsewhere (a file name may hold a newline or bytes that are no UTF-8).
#pragma once

#include <cstddef>
#include <string>

namespace kelto1 {

// Half-width characters the notice box holds at its font (a wide character counts two).
constexpr size_t kNoticeWidth = 64;

// The text with every control character and every byte that is not part of valid UTF-8
// written out (\n, \t, \xNN), so that it stays one line and shows what is there.
std::string EscapedForOneLine(const std::string& text);
// EscapedForOneLine, then shortened in the middle ("start…end") to at most width
// half-width characters, so that both the start and the end (a file's name) stay in view.
std::string FitNoticeLine(const std::string& text, size_t width = kNoticeWidth);

}  // namespace kelto1
