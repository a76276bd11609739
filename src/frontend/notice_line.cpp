// Escaping and shortening the notice line.
#include "frontend/notice_line.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace kelto1 {

namespace {

// The length of the valid UTF-8 character at text[i], or 0.
size_t Utf8Length(const std::string& text, size_t i) {
  const auto c = static_cast<unsigned char>(text[i]);
  size_t n = 0;
  uint32_t code = 0;
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) n = 2, code = c & 0x1F;
  else if (c >= 0xE0 && c <= 0xEF) n = 3, code = c & 0x0F;
  else if (c >= 0xF0 && c <= 0xF4) n = 4, code = c & 0x07;
  else return 0;
  if (i + n > text.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    const auto t = static_cast<unsigned char>(text[i + k]);
    if ((t & 0xC0) != 0x80) return 0;
    code = code << 6 | (t & 0x3F);
  }
  if ((n == 3 && code < 0x800) || (n == 4 && (code < 0x10000 || code > 0x10FFFF)) || (code >= 0xD800 && code <= 0xDFFF))
    return 0;
  return n;
}

std::string Hex(unsigned char c) {
  char buffer[5];
  std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
  return buffer;
}

// One shown piece of the line and the half-width columns it takes.
struct Piece {
  std::string text;
  size_t columns;
};

std::vector<Piece> Pieces(const std::string& text) {
  std::vector<Piece> pieces;
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const size_t n = Utf8Length(text, i);
    if (n == 0) {
      pieces.push_back({Hex(c), 4});
      ++i;
      continue;
    }
    if (n == 1 && (c < 0x20 || c == 0x7F)) {
      const std::string shown = c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : Hex(c);
      pieces.push_back({shown, shown.size()});
      ++i;
      continue;
    }
    // The game's fonts draw the characters of three bytes and more (kana, kanji) full
    // width; U+0080..U+07FF (accented Latin) at half width.
    pieces.push_back({text.substr(i, n), n >= 3 ? 2u : 1u});
    i += n;
  }
  return pieces;
}

}  // namespace

std::string EscapedForOneLine(const std::string& text) {
  std::string out;
  for (const Piece& p : Pieces(text)) out += p.text;
  return out;
}

std::string FitNoticeLine(const std::string& text, size_t width) {
  const std::vector<Piece> pieces = Pieces(text);
  size_t total = 0;
  for (const Piece& p : pieces) total += p.columns;
  std::string out;
  if (total <= width) {
    for (const Piece& p : pieces) out += p.text;
    return out;
  }
  // The ellipsis is drawn full width; what is left is shared, the end getting the odd one.
  const size_t room = width > 2 ? width - 2 : 0;
  const size_t head_room = room / 2;
  size_t tail_room = room - head_room;
  size_t head = 0, used = 0;
  while (head < pieces.size() && used + pieces[head].columns <= head_room) used += pieces[head++].columns;
  tail_room += head_room - used;
  size_t tail = pieces.size(), tail_used = 0;
  while (tail > head && tail_used + pieces[tail - 1].columns <= tail_room) tail_used += pieces[--tail].columns;
  for (size_t i = 0; i < head; ++i) out += pieces[i].text;
  out += "\xE2\x80\xA6";  // …
  for (size_t i = tail; i < pieces.size(); ++i) out += pieces[i].text;
  return out;
}

}  // namespace kelto1
