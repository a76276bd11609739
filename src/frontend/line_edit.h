// Editing one line of text with a caret, as the edit boxes do. Text is UTF-8 and the
// caret is a byte offset that always lies between two characters.
#pragma once

#include <cstddef>
#include <string>

namespace kelto1 {

struct LineEdit {
  std::string text;
  size_t caret = 0;
  size_t max_characters = 255;  // what is typed beyond this is not taken

  void Insert(const std::string& typed);  // control characters are not taken
  void Backspace();                       // the character before the caret
  void Delete();                          // the character after the caret
  void Left();
  void Right();
  void Home() { caret = 0; }
  void End() { caret = text.size(); }
  // Puts the caret at a byte offset, moved back to the start of its character.
  void PlaceCaret(size_t offset);
};

// Characters (not bytes) in a UTF-8 text.
size_t CharacterCount(const std::string& text);
// Byte offsets of the characters' starts in text, and text.size() at the end.
size_t NextCharacter(const std::string& text, size_t offset);
size_t PreviousCharacter(const std::string& text, size_t offset);

}  // namespace kelto1
