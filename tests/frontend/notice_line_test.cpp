// The notice line stays one line that fits its box, and shows what a path holds.
#include <gtest/gtest.h>

#include "frontend/notice_line.h"

namespace kelto1 {
namespace {

// Half-width columns as the notice line counts them.
size_t Columns(const std::string& s) {
  size_t n = 0;
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    const size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    n += len >= 3 ? 2 : 1;
    i += len;
  }
  return n;
}

TEST(NoticeLine, ControlCharactersAndBrokenUtf8AreShownEscaped) {
  const struct {
    const char* text;
    const char* shown;
  } cases[] = {
      {"/home/a\nb/last.k1r: damaged", "/home/a\\nb/last.k1r: damaged"},
      {"tab\there\r", "tab\\there\\r"},
      {"bell\x07 del\x7F", "bell\\x07 del\\x7F"},
      {"latin-1 caf\xE9.k1r", "latin-1 caf\\xE9.k1r"},
      {"cut \xE6\x96", "cut \\xE6\\x96"},
      {"overlong \xC0\xAF", "overlong \\xC0\\xAF"},
      {"\xE6\x96\xB0\xE5\xAE\xBF and caf\xC3\xA9", "\xE6\x96\xB0\xE5\xAE\xBF and caf\xC3\xA9"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EscapedForOneLine(c.text), c.shown);
    EXPECT_EQ(FitNoticeLine(c.text), c.shown);
  }
}

TEST(NoticeLine, ALongLineIsShortenedInTheMiddleToItsWidth) {
  const std::string path = "/home/player/" + std::string(200, 'x') + "/last.k1r: the file is damaged";
  const std::string fitted = FitNoticeLine(path);
  EXPECT_LE(Columns(fitted), kNoticeWidth);
  EXPECT_GE(Columns(fitted), kNoticeWidth - 1);
  EXPECT_EQ(fitted.rfind("/home/player/", 0), 0u) << fitted;
  EXPECT_NE(fitted.find("\xE2\x80\xA6"), std::string::npos) << fitted;
  const std::string end = "/last.k1r: the file is damaged";
  EXPECT_EQ(fitted.substr(fitted.size() - end.size()), end) << fitted;

  // Wide characters and escapes are never cut in two.
  std::string wide;
  for (int i = 0; i < 60; ++i) wide += "\xE6\x96\xB0";
  wide += "\n";
  for (int i = 0; i < 60; ++i) wide += "\xFF";
  const std::string fitted_wide = FitNoticeLine(wide);
  EXPECT_LE(Columns(fitted_wide), kNoticeWidth);
  EXPECT_EQ(EscapedForOneLine(fitted_wide), fitted_wide) << "the result is all whole characters";
  EXPECT_EQ(fitted_wide.find('\n'), std::string::npos);

  EXPECT_EQ(FitNoticeLine(std::string(kNoticeWidth, 'a')), std::string(kNoticeWidth, 'a'));
}

}  // namespace
}  // namespace kelto1
