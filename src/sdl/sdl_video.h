// The window: caption "KELTO1" with the icon, centred, resizable; the 630 x 576 picture
// drawn at the largest whole factor that fits, pixel-sharp and centred on black.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <span>
#include <string>

#include "frontend/scaling.h"
#include "platform/picture.h"

namespace kelto1 {

class Video {
 public:
  Video() = default;
  ~Video();
  Video(const Video&) = delete;
  Video& operator=(const Video&) = delete;

  // Makes the window, still hidden, and its renderer. SDL's video must be started.
  bool Open(std::string& error);
  // Sizes the window at the factor that suits the screen and centres it.
  void Centre();
  void Show();
  void Present(const Picture& picture);
  void ToggleFullscreen();
  // The window's icon, from a PNG file's bytes; a PNG that cannot be read leaves none.
  void SetIcon(std::span<const uint8_t> png);

  // A point of the window, in picture pixels.
  Point ToPicture(int window_x, int window_y) const;
  bool shown() const { return shown_; }

 private:
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  bool shown_ = false;
};

}  // namespace kelto1
