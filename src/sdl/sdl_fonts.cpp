// The layout's fonts through fontconfig and SDL2_ttf, and text drawn into pictures.
#include "sdl/sdl_fonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

namespace kelto1 {

namespace {

// The fonts of this system that stand in for those the layout names.
struct Substitute {
  const char* named;
  const char* family;
  bool bold_face;  // always its bold face: "FixedSys" is a heavy font of itself
  bool japanese;
};
constexpr Substitute kSubstitutes[] = {
    {"ＭＳ Ｐゴシック", "IPAPGothic", false, true},
    {"ＭＳ ゴシック", "IPAGothic", false, true},
    {"ＭＳ Ｐ明朝", "IPAPMincho", false, true},
    {"FixedSys", "Terminus", true, false},
};

const Substitute& SubstituteFor(const char* named) {
  for (const Substitute& s : kSubstitutes)
    if (std::string(named) == s.named) return s;
  return kSubstitutes[0];
}

// Bitmap fonts come in a few pixel sizes, chosen by number: the one whose height is
// nearest to the size wanted.
void PickStrike(TTF_Font* font, int pixels) {
  int best = 0, best_gap = 1 << 20;
  for (int strike = 0; strike < 32; ++strike) {
    if (TTF_SetFontSize(font, strike) != 0) break;
    const int gap = std::abs(TTF_FontHeight(font) - pixels);
    if (gap < best_gap) {
      best = strike;
      best_gap = gap;
    }
  }
  TTF_SetFontSize(font, best);
}

}  // namespace

FontFile FindFontFile(const std::string& family, bool bold, bool japanese) {
  FontFile file;
  FcPattern* want = FcPatternCreate();
  FcPatternAddString(want, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  if (bold) FcPatternAddInteger(want, FC_WEIGHT, FC_WEIGHT_BOLD);
  if (japanese) FcPatternAddString(want, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcConfigSubstitute(nullptr, want, FcMatchPattern);
  FcDefaultSubstitute(want);
  FcResult result = FcResultNoMatch;
  FcPattern* got = FcFontMatch(nullptr, want, &result);
  FcPatternDestroy(want);
  if (!got) return file;
  FcChar8* path = nullptr;
  if (FcPatternGetString(got, FC_FILE, 0, &path) == FcResultMatch) file.path = reinterpret_cast<char*>(path);
  FcPatternGetInteger(got, FC_INDEX, 0, &file.index);
  FcBool scalable = FcTrue;
  if (FcPatternGetBool(got, FC_SCALABLE, 0, &scalable) == FcResultMatch) file.scalable = scalable;
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(got, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (i == 0) file.family = reinterpret_cast<char*>(name);
    if (strcasecmp(reinterpret_cast<char*>(name), family.c_str()) == 0) file.found = true;
  }
  FcPatternDestroy(got);
  return file;
}

TtfTextPainter::~TtfTextPainter() {
  rendered_.Clear();
  for (TTF_Font* f : fonts_)
    if (f) TTF_CloseFont(f);
}

bool TtfTextPainter::Open(std::string& error) {
  std::map<std::string, bool> told;
  for (int i = 1; i < static_cast<int>(Face::Count); ++i) {
    const FontSpec& spec = FontOf(static_cast<Face>(i));
    const Substitute& sub = SubstituteFor(spec.name);
    const FontFile file = FindFontFile(sub.family, sub.bold_face, sub.japanese);
    if (file.path.empty()) {
      error = std::string("no font found for ") + spec.name;
      return false;
    }
    if (!file.found && !told[sub.family]) {
      told[sub.family] = true;
      std::fprintf(stderr, "kelto1: font %s (for %s) is missing, using %s instead\n", sub.family, spec.name,
                   file.family.c_str());
    }
    const int pixels = PixelSize(spec.points);
    TTF_Font* font = TTF_OpenFontIndex(file.path.c_str(), pixels, file.index);
    if (!font) {
      error = std::string("cannot open ") + file.path + ": " + TTF_GetError();
      return false;
    }
    if (!file.scalable) PickStrike(font, pixels);
    // Text on the screens of the game's day had no smoothed edges: whole pixels of the
    // ink's own colour, hinted for that.
    TTF_SetFontHinting(font, TTF_HINTING_MONO);
    // These fonts have no bold face of their own: bold is drawn heavier.
    if (spec.bold) TTF_SetFontStyle(font, TTF_STYLE_BOLD);
    fonts_[i] = font;
  }
  return true;
}

int TtfTextPainter::Width(Face face, const std::string& text) {
  TTF_Font* font = FontFor(face);
  if (!font || text.empty()) return 0;
  auto key = std::make_tuple(face, text);
  if (const int* kept = widths_.Find(key)) return *kept;
  int w = 0, h = 0;
  if (TTF_SizeUTF8(font, text.c_str(), &w, &h) != 0) w = 0;
  return widths_.Put(key, w, text.size() + 64);
}

int TtfTextPainter::LineHeight(Face face) {
  TTF_Font* font = FontFor(face);
  return font ? TTF_FontHeight(font) : 0;
}

SDL_Surface* TtfTextPainter::Rendered(Face face, const std::string& text) {
  const auto key = std::make_tuple(face, text);
  if (SDL_Surface** kept = rendered_.Find(key)) return *kept;
  TTF_Font* font = FontFor(face);
  if (!font) return nullptr;
  SDL_Surface* drawn = TTF_RenderUTF8_Solid(font, text.c_str(), SDL_Color{255, 255, 255, 255});
  SDL_Surface* argb = drawn ? SDL_ConvertSurfaceFormat(drawn, SDL_PIXELFORMAT_ARGB8888, 0) : nullptr;
  SDL_FreeSurface(drawn);
  const size_t bytes = text.size() + 64 + (argb ? static_cast<size_t>(argb->pitch) * static_cast<size_t>(argb->h) : 0);
  return rendered_.Put(key, argb, bytes);
}

void TtfTextPainter::Draw(Picture& canvas, const Rect& clip, Face face, const std::string& text, uint32_t color,
                          int x, int y) {
  if (text.empty()) return;
  SDL_Surface* s = Rendered(face, text);
  if (!s) return;
  const int x0 = std::max({x, clip.x, 0}), y0 = std::max({y, clip.y, 0});
  const int x1 = std::min({x + s->w, clip.Right(), canvas.width()});
  const int y1 = std::min({y + s->h, clip.Bottom(), canvas.height()});
  const uint32_t ink[3] = {(color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF};
  for (int py = y0; py < y1; ++py) {
    const auto* src = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) + (py - y) * s->pitch);
    uint32_t* dst = canvas.Row(py);
    for (int px = x0; px < x1; ++px) {
      const uint32_t a = src[px - x] >> 24;
      if (a == 0) continue;
      const uint32_t bg = dst[px];
      uint32_t out = 0;
      for (int c = 0; c < 3; ++c) {
        const uint32_t b = (bg >> (16 - 8 * c)) & 0xFF;
        out |= ((ink[c] * a + b * (255 - a) + 127) / 255) << (16 - 8 * c);
      }
      dst[px] = out;
    }
  }
}

}  // namespace kelto1
