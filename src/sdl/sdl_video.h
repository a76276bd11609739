// The window: caption "KELTO1" with the icon, centred, resizable; the 630 x 576 picture
// drawn at the largest whole factor that fits, pixel-sharp and centred on black, or
// filling the window with the sharp fit.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "frontend/scaling.h"
#include "frontend/screen_picture.h"
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
  // Sends the parts of the picture that changed to the screen's copy, then shows it.
  void Present(const std::vector<PicturePatch>& changes);
  void ToggleFullscreen();
  void SetFullscreen(bool on);
  bool fullscreen() const;
  void SetScaleMode(ScaleMode mode);
  ScaleMode scale_mode() const { return mode_; }
  // The window's icon, from a PNG file's bytes; a PNG that cannot be read leaves none.
  void SetIcon(std::span<const uint8_t> png);

  // A point of the window, in picture pixels.
  Point ToPicture(int window_x, int window_y) const;
  // Where the picture lies in the window's drawing area now.
  Rect Placed() const;
  bool shown() const { return shown_; }
  // Processor time spent in SDL sending pictures and drawing them, for the pacing
  // benchmark.
  double render_seconds() const;

 private:
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  // The sharp fit's picture blown up by a whole factor, smoothed onto the screen.
  SDL_Texture* enlarged_ = nullptr;
  int enlarged_scale_ = 0;
  ScaleMode mode_ = ScaleMode::Whole;
  bool shown_ = false;
  uint64_t render_ns_ = 0;  // processor time of this thread
};

}  // namespace kelto1
