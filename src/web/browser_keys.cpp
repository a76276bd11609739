#include "web/browser_keys.h"

#include <emscripten/html5.h>

#include "platform/platform.h"

namespace kelto1 {

int VirtualKeyOf(const std::string& code) {
  static const struct {
    const char* code;
    int key;
  } kKeys[] = {
      {"ArrowLeft", vk::kLeft},     {"ArrowRight", vk::kRight},     {"AltLeft", vk::kMenu},
      {"AltRight", vk::kMenu},      {"ControlLeft", vk::kControl},  {"ControlRight", vk::kControl},
      {"Escape", vk::kEscape},      {"Space", vk::kSpace},          {"F2", vk::kF2},
  };
  for (const auto& k : kKeys)
    if (code == k.code) return k.key;
  return 0;
}

namespace {

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void* user) {
  const int key = VirtualKeyOf(e->code);
  if (key == 0) return EM_FALSE;
  KeyState& keys = *static_cast<KeyState*>(user);
  if (type == EMSCRIPTEN_EVENT_KEYDOWN) {
    if (!e->repeat) keys.Press(key);
  } else {
    keys.Release(key);
  }
  return EM_TRUE;  // the browser's own reaction is suppressed
}

EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void* user) {
  static_cast<KeyState*>(user)->ReleaseAll();
  return EM_FALSE;
}

}  // namespace

void BrowserKeys::Listen() {
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &state_, EM_TRUE, OnKey);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &state_, EM_TRUE, OnKey);
  emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &state_, EM_TRUE, OnBlur);
}

}  // namespace kelto1
