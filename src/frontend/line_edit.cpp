// One line of editable text.
#include "frontend/line_edit.h"

namespace kelto1 {

namespace {
bool Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }
}  // namespace

size_t CharacterCount(const std::string& text) {
  size_t n = 0;
  for (char c : text)
    if (!Continuation(static_cast<unsigned char>(c))) ++n;
  return n;
}

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
  size_t room = max_characters > CharacterCount(text) ? max_characters - CharacterCount(text) : 0;
  for (size_t at = 0; at < typed.size();) {
    const size_t next = NextCharacter(typed, at);
    const std::string character = typed.substr(at, next - at);
    at = next;
    if (static_cast<unsigned char>(character[0]) < 0x20 || character[0] == 0x7F) continue;
    if (room == 0) break;
    clean += character;
    --room;
  }
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
