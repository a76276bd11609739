// Screenshots: the PNG holds the picture's own pixels, and where the files go.
#include "frontend/screenshot.h"

#include <gtest/gtest.h>

// The reader is the one the game's artwork is read with.
#include <stb/stb_image.h>

#include "headless/headless_platform.h"

namespace kelto1 {
namespace {

TEST(Screenshot, ThePngHoldsThePicturesPixels) {
  Picture picture(7, 3, 0x102030);
  picture.Set(0, 0, 0xFF0000);
  picture.Set(6, 2, 0x00FF7F);
  const std::vector<uint8_t> png = EncodePng(picture);
  int w = 0, h = 0, channels = 0;
  stbi_uc* rgb = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &w, &h, &channels, 3);
  ASSERT_NE(rgb, nullptr);
  EXPECT_EQ(w, 7);
  EXPECT_EQ(h, 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const stbi_uc* p = rgb + (y * w + x) * 3;
      EXPECT_EQ((uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2], picture.At(x, y)) << x << "," << y;
    }
  stbi_image_free(rgb);
}

TEST(Screenshot, TheyGoToThePicturesFolderOrTheDataFolder) {
  struct Case {
    const char *pictures, *home, *data, *folder;
  } cases[] = {
      {"/home/p/Pictures", "/home/p", "/home/p/.local/share/kelto1", "/home/p/Pictures/kelto1"},
      {"/home/p/Pictures/", "/home/p", "/d", "/home/p/Pictures/kelto1"},
      {"/home/p", "/home/p", "/home/p/.local/share/kelto1", "/home/p/.local/share/kelto1"},  // none set up
      {"/home/p/", "/home/p", "/d", "/d"},
      {"", "/home/p", "/d", "/d"},                 // no answer at all
      {"Pictures", "/home/p", "/d", "/d"},         // not a folder's full name
      {"", "", "", ""},
      // Windows' own folder names, joined as Windows writes them.
      {"C:\\Users\\p\\Pictures", "", "C:\\d", "C:\\Users\\p\\Pictures\\kelto1"},
      {"D:/Pictures\\", "", "C:\\d", "D:/Pictures/kelto1"},
      {"\\\\server\\p\\Pictures", "", "C:\\d", "\\\\server\\p\\Pictures\\kelto1"},
      {"Pictures\\p", "", "C:\\d\\", "C:\\d"},  // not a folder's full name
      {"C:", "", "C:\\d", "C:\\d"},
  };
  for (const Case& c : cases) EXPECT_EQ(ScreenshotFolder(c.pictures, c.home, c.data), c.folder) << c.pictures;
}

TEST(Screenshot, ANewFileEachTimeNeverOneWrittenOver) {
  MemoryFileStore files;
  const Picture picture(4, 4, 0xFFFFFF);
  EXPECT_EQ(SaveScreenshot(files, picture, "/s", "kelto1-1"), "kelto1: screenshot saved to /s/kelto1-1.png");
  files.files["/s/kelto1-1-2.png"] = {1, 2, 3};
  EXPECT_EQ(SaveScreenshot(files, picture, "/s", "kelto1-1"), "kelto1: screenshot saved to /s/kelto1-1-3.png");
  EXPECT_EQ(files.files["/s/kelto1-1-2.png"], (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(files.files["/s/kelto1-1.png"], EncodePng(picture));
  files.read_only_folders.insert("/ro");
  EXPECT_NE(SaveScreenshot(files, picture, "/ro", "x").find("could not"), std::string::npos);
  EXPECT_NE(SaveScreenshot(files, picture, "", "x").find("no folder"), std::string::npos);
  EXPECT_EQ(SaveScreenshot(files, picture, "C:\\p\\kelto1", "kelto1-1"), "kelto1: screenshot saved to C:\\p\\kelto1\\kelto1-1.png");
}

}  // namespace
}  // namespace kelto1
