// The window, its renderer and the picture's way onto the screen.
#include "sdl/sdl_video.h"

#include <algorithm>
#include <ctime>

#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb/stb_image.h>

namespace kelto1 {

Video::~Video() {
  if (enlarged_) SDL_DestroyTexture(enlarged_);
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
}

bool Video::Open(std::string& error) {
  window_ = SDL_CreateWindow("KELTO1", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth, kScreenHeight,
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (!window_) {
    error = std::string("cannot open the window: ") + SDL_GetError();
    return false;
  }
  // The game sets its own pace: no waiting for the monitor.
  renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (!renderer_) {
    error = std::string("cannot draw into the window: ") + SDL_GetError();
    return false;
  }
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, kScreenWidth,
                               kScreenHeight);
  if (!texture_) {
    error = std::string("cannot make the picture: ") + SDL_GetError();
    return false;
  }
  SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
  return true;
}

void Video::SetIcon(std::span<const uint8_t> png) {
  if (png.empty() || !window_) return;
  int w = 0, h = 0, channels = 0;
  stbi_uc* rgba = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &w, &h, &channels, 4);
  if (!rgba) return;
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(rgba, w, h, 32, w * 4, SDL_PIXELFORMAT_RGBA32);
  if (icon) {
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
  }
  stbi_image_free(rgba);
}

void Video::Centre() {
  SDL_Rect usable{0, 0, kScreenWidth, kScreenHeight};
  const int display = std::max(0, SDL_GetWindowDisplayIndex(window_));
  if (SDL_GetDisplayUsableBounds(display, &usable) != 0) SDL_GetDisplayBounds(display, &usable);
  const int scale = OpeningScale(usable.w, usable.h);
  SDL_SetWindowSize(window_, kScreenWidth * scale, kScreenHeight * scale);
  SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED_DISPLAY(display), SDL_WINDOWPOS_CENTERED_DISPLAY(display));
}

void Video::Show() {
  if (shown_) return;
  SDL_ShowWindow(window_);
  shown_ = true;
}

namespace {

// This thread's processor time in nanoseconds: what SDL's drawing costs, without the time
// other programs had the processor meanwhile.
uint64_t ThreadNanoseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<uint64_t>(t.tv_sec) * 1000000000u + static_cast<uint64_t>(t.tv_nsec);
}

}  // namespace

double Video::render_seconds() const { return static_cast<double>(render_ns_) / 1e9; }

void Video::Present(const std::vector<PicturePatch>& changes) {
  if (!shown_) return;
  const uint64_t started = ThreadNanoseconds();
  for (const PicturePatch& patch : changes) {
    const SDL_Rect r{patch.rect.x, patch.rect.y, patch.rect.w, patch.rect.h};
    SDL_UpdateTexture(texture_, &r, patch.first, patch.stride * 4);
  }
  int w = 0, h = 0;
  SDL_GetRendererOutputSize(renderer_, &w, &h);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  if (mode_ == ScaleMode::Sharp) {
    const SharpFit fit = FitSharply(w, h);
    const SDL_Rect to{fit.placed.x, fit.placed.y, fit.placed.w, fit.placed.h};
    if (fit.prescale != enlarged_scale_) {
      if (enlarged_) SDL_DestroyTexture(enlarged_);
      enlarged_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                    kScreenWidth * fit.prescale, kScreenHeight * fit.prescale);
      if (enlarged_) SDL_SetTextureScaleMode(enlarged_, SDL_ScaleModeLinear);
      enlarged_scale_ = fit.prescale;
    }
    // Blown up with hard edges first, then only the last fraction is smoothed.
    if (enlarged_ && SDL_SetRenderTarget(renderer_, enlarged_) == 0) {
      SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
      SDL_SetRenderTarget(renderer_, nullptr);
      SDL_RenderCopy(renderer_, enlarged_, nullptr, &to);
    } else {
      SDL_RenderCopy(renderer_, texture_, nullptr, &to);  // a renderer without targets
    }
  } else {
    const Rect placed = FitPicture(w, h);
    const SDL_Rect to{placed.x, placed.y, placed.w, placed.h};
    SDL_RenderCopy(renderer_, texture_, nullptr, &to);
  }
  SDL_RenderPresent(renderer_);
  render_ns_ += ThreadNanoseconds() - started;
}

void Video::ToggleFullscreen() { SetFullscreen(!fullscreen()); }

bool Video::fullscreen() const { return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0; }

void Video::SetFullscreen(bool on) {
  if (on != fullscreen()) SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void Video::SetScaleMode(ScaleMode mode) { mode_ = mode; }

Rect Video::Placed() const {
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  return FitPicture(w, h, mode_);
}

Point Video::ToPicture(int window_x, int window_y) const {
  return kelto1::ToPicture(window_x, window_y, Placed());
}

}  // namespace kelto1
