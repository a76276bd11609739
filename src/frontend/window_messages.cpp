// The window's input message queue.
#include "frontend/window_messages.h"

namespace kelto1 {

void MessageQueue::PostText(const std::string& text) {
  if (text.empty()) return;
  if (!messages_.empty()) {
    WindowMessage& last = messages_.back();
    if (last.type == WindowMessage::Type::KeyDown && last.key == EditKey::Other && last.text.empty()) {
      last.text = text;
      return;
    }
  }
  WindowMessage m;
  m.type = WindowMessage::Type::Char;
  m.text = text;
  Post(std::move(m));
}

bool MessageQueue::DiscardFirstKeyboardMessage() {
  for (auto it = messages_.begin(); it != messages_.end(); ++it) {
    if (it->IsKeyboard() && !it->kept) {
      messages_.erase(it);
      return true;
    }
  }
  return false;
}

std::optional<WindowMessage> MessageQueue::Take() {
  if (messages_.empty()) return std::nullopt;
  WindowMessage m = std::move(messages_.front());
  messages_.pop_front();
  return m;
}

}  // namespace kelto1
