#include "win32/win32_keys.h"

namespace kelto1 {

EditKey EditKeyOfVirtualKey(unsigned virtual_key) {
  switch (virtual_key) {
    case 0x08: return EditKey::Backspace;
    case 0x2E: return EditKey::Delete;
    case 0x25: return EditKey::Left;
    case 0x27: return EditKey::Right;
    case 0x24: return EditKey::Home;
    case 0x23: return EditKey::End;
    case 0x26: return EditKey::Up;
    case 0x28: return EditKey::Down;
    case 0x0D: return EditKey::Enter;
    case 0x09: return EditKey::Tab;
    default: return EditKey::Other;
  }
}

std::string KeyNameOfVirtualKey(unsigned virtual_key, bool extended, unsigned scan_code) {
  constexpr unsigned kRightShiftScanCode = 0x36;
  if ((virtual_key >= '0' && virtual_key <= '9') || (virtual_key >= 'A' && virtual_key <= 'Z'))
    return std::string(1, static_cast<char>(virtual_key));
  if (virtual_key >= 0x70 && virtual_key <= 0x7B) return "F" + std::to_string(virtual_key - 0x70 + 1);
  switch (virtual_key) {
    case 0x25: return "Left";
    case 0x27: return "Right";
    case 0x26: return "Up";
    case 0x28: return "Down";
    case 0x10: return scan_code == kRightShiftScanCode ? "RightShift" : "LeftShift";
    case 0x11: return extended ? "RightCtrl" : "LeftCtrl";
    case 0x12: return extended ? "RightAlt" : "LeftAlt";
    case 0xA0: return "LeftShift";
    case 0xA1: return "RightShift";
    case 0xA2: return "LeftCtrl";
    case 0xA3: return "RightCtrl";
    case 0xA4: return "LeftAlt";
    case 0xA5: return "RightAlt";
    case 0x20: return "Space";
    case 0x0D: return "Return";
    case 0x09: return "Tab";
    case 0x13: return "Pause";
    case 0x2D: return "Insert";
    case 0x2E: return "Delete";
    case 0x24: return "Home";
    case 0x23: return "End";
    case 0x21: return "PageUp";
    case 0x22: return "PageDown";
    case 0x08: return "Backspace";
    case 0x1B: return "Escape";
    default: return "";
  }
}

namespace {

std::string Utf8(uint32_t code) {
  std::string out;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

constexpr uint32_t kReplacement = 0xFFFD;

}  // namespace

std::string TypedCharacters::Feed(uint16_t unit) {
  std::string out;
  const bool high = unit >= 0xD800 && unit <= 0xDBFF;
  const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
  if (high_ != 0 && !low) out += Utf8(kReplacement);  // a first half left without its second
  if (high) {
    high_ = unit;
    return out;
  }
  if (low) {
    if (high_ == 0) return out + Utf8(kReplacement);
    const uint32_t code = 0x10000 + ((static_cast<uint32_t>(high_) - 0xD800) << 10) + (unit - 0xDC00);
    high_ = 0;
    return out + Utf8(code);
  }
  high_ = 0;
  return out + Utf8(unit);
}

}  // namespace kelto1
