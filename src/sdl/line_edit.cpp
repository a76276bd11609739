// One line of editable text.
#include "sdl/line_edit.h"

namespace kelto1 {

namespace {
bool Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }
}  // namespace

size_t NextCharacter(const std::string& text, size_t offset) {
  if (offset >= text.size()) return text.size();
  ++offset;
  while (offset < text.size() && Continuation(static_cast<unsigned char>(text[offset]))) ++offset;
  return offset;
}

size_t PreviousCharacter(const std::string& text, size_t offset) {
  if (offset == 0) return 0;
  if (offset > text.size()) offset = text.size();
  --offset;
  while (offset > 0 && Continuation(static_cast<unsigned char>(text[offset]))) --offset;
  return offset;
}

void LineEdit::PlaceCaret(size_t offset) {
  if (offset >= text.size()) {
    caret = text.size();
    return;
  }
  while (offset > 0 && Continuation(static_cast<unsigned char>(text[offset]))) --offset;
  caret = offset;
}

void LineEdit::Insert(const std::string& typed) {
  std::string clean;
  for (char c : typed)
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) clean += c;
  PlaceCaret(caret);
  text.insert(caret, clean);
  caret += clean.size();
}

void LineEdit::Backspace() {
  PlaceCaret(caret);
  const size_t from = PreviousCharacter(text, caret);
  text.erase(from, caret - from);
  caret = from;
}

void LineEdit::Delete() {
  PlaceCaret(caret);
  text.erase(caret, NextCharacter(text, caret) - caret);
}

void LineEdit::Left() { caret = PreviousCharacter(text, caret); }

void LineEdit::Right() { caret = NextCharacter(text, caret); }

}  // namespace kelto1
