// Key numbers.
#include "sdl/sdl_keys.h"

#include "platform/platform.h"

namespace kelto1 {

int VirtualKeyOf(SDL_Scancode key) {
  switch (key) {
    case SDL_SCANCODE_UP: return 38;
    case SDL_SCANCODE_DOWN: return 40;
    case SDL_SCANCODE_ESCAPE: return vk::kEscape;
    case SDL_SCANCODE_SPACE: return vk::kSpace;
    case SDL_SCANCODE_F2: return vk::kF2;
    case SDL_SCANCODE_F3: return vk::kF3;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER: return vk::kReturn;
    default: return -1;
  }
}

EditKey EditKeyOf(SDL_Keycode key) {
  switch (key) {
    case SDLK_BACKSPACE: return EditKey::Backspace;
    case SDLK_DELETE: return EditKey::Delete;
    case SDLK_LEFT: return EditKey::Left;
    case SDLK_RIGHT: return EditKey::Right;
    case SDLK_HOME: return EditKey::Home;
    case SDLK_END: return EditKey::End;
    case SDLK_UP: return EditKey::Up;
    case SDLK_DOWN: return EditKey::Down;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return EditKey::Enter;
    case SDLK_TAB: return EditKey::Tab;
    default: return EditKey::Other;
  }
}

}  // namespace kelto1
