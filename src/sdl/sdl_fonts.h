// Text for the desktop: the layout's fonts found through fontconfig and drawn with
// SDL2_ttf. "ＭＳ Ｐゴシック" becomes IPA P Gothic, "ＭＳ ゴシック" IPA Gothic, "ＭＳ Ｐ明朝"
// IPA P Mincho and "FixedSys" Terminus bold; a font that is missing gives way to what
// fontconfig offers instead, after one line on standard error.
#pragma once

#include <SDL_ttf.h>

#include <array>
#include <map>
#include <string>
#include <tuple>

#include "sdl/budget_cache.h"
#include "frontend/text_painter.h"

namespace kelto1 {

class TtfTextPainter : public TextPainter {
 public:
  TtfTextPainter() = default;
  ~TtfTextPainter() override;
  TtfTextPainter(const TtfTextPainter&) = delete;
  TtfTextPainter& operator=(const TtfTextPainter&) = delete;

  // Opens every font of the layout (SDL2_ttf must be started). False, with the reason,
  // when not even a stand-in could be opened.
  bool Open(std::string& error);

  int Width(Face face, const std::string& text) override;
  int LineHeight(Face face) override;
  void Draw(Picture& canvas, const Rect& clip, Face face, const std::string& text, uint32_t color, int x,
            int y) override;

 private:
  TTF_Font* FontFor(Face face) const { return fonts_[static_cast<size_t>(face)]; }
  SDL_Surface* Rendered(Face face, const std::string& text);

  std::array<TTF_Font*, static_cast<size_t>(Face::Count)> fonts_{};
  // Texts drawn in white, their coverage used as the ink's weight. The readouts change
  // every frame and the boxes hold whatever is typed, so the store is kept to a few
  // megabytes.
  static constexpr size_t kRenderedBytes = 4u << 20;
  BudgetCache<std::tuple<Face, std::string>, SDL_Surface*> rendered_{kRenderedBytes, [](SDL_Surface*& s) {
                                                                        SDL_FreeSurface(s);
                                                                      }};
  // Widths measured: the readouts' boxes measure their texts at every frame, and shaping
  // a text costs more than the frame's own drawing of it.
  static constexpr size_t kWidthBytes = 256u << 10;
  BudgetCache<std::tuple<Face, std::string>, int> widths_{kWidthBytes, nullptr};
};

// A font file that fontconfig names for a family; `found` tells whether it is that
// family or the nearest stand-in.
struct FontFile {
  std::string path;
  int index = 0;
  std::string family;
  bool scalable = true;
  bool found = false;
};
FontFile FindFontFile(const std::string& family, bool bold, bool japanese);

}  // namespace kelto1
