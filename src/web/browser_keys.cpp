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
      {"F3", vk::kF3},              {"ArrowUp", vk::kUp},           {"ArrowDown", vk::kDown},
      {"Enter", vk::kReturn},       {"NumpadEnter", vk::kReturn},
  };
  for (const auto& k : kKeys)
    if (code == k.code) return k.key;
  return 0;
}

namespace {

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void* user) {
  const int key = VirtualKeyOf(e->code);
  if (key == 0) return EM_FALSE;
  BrowserKeys& keys = *static_cast<BrowserKeys*>(user);
  if (type == EMSCRIPTEN_EVENT_KEYDOWN) {
    // Escape ends the game even from a pause.
    if (e->repeat) return EM_TRUE;
    if (key == vk::kEscape) keys.state().Press(key);
    else keys.pause().Press(key);
  } else {
    keys.pause().Release(key);
  }
  // The records table's keys keep their use in the page's boxes (Up and Down step
  // through the vehicles); the game's own keys are the game's alone.
  return key == vk::kUp || key == vk::kDown || key == vk::kReturn ? EM_FALSE : EM_TRUE;
}

EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void* user) {
  static_cast<BrowserKeys*>(user)->state().ReleaseAll();
  return EM_FALSE;
}

}  // namespace

void BrowserKeys::Listen() {
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnKey);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnKey);
  emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnBlur);
}

}  // namespace kelto1
