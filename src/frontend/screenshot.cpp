// Screenshots as PNG files.
#include "frontend/screenshot.h"

#include <cctype>
#include <ctime>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace kelto1 {

namespace {

void Append(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  const auto* bytes = static_cast<const uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

std::string WithoutTrailingSlashes(std::string folder) {
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\') && folder != "\\\\") folder.pop_back();
  return folder;
}

// A folder's full name: from the root, or on Windows from a drive ("C:\") or a share.
bool FullName(const std::string& f) {
  const bool drive = f.size() > 2 && std::isalpha(static_cast<unsigned char>(f[0])) && f[1] == ':' &&
                     (f[2] == '\\' || f[2] == '/');
  return !f.empty() && (f[0] == '/' || drive || f.rfind("\\\\", 0) == 0);
}

// A name in a folder, joined as the folder's own name is written.
std::string Inside(const std::string& folder, const std::string& name) {
  const bool windows = folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos;
  return folder + (windows ? '\\' : '/') + name;
}

}  // namespace

std::vector<uint8_t> EncodePng(const Picture& picture) {
  const int w = picture.width(), h = picture.height();
  if (w <= 0 || h <= 0) return {};
  std::vector<uint8_t> rgb;
  rgb.reserve(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t c = picture.At(x, y);
      rgb.push_back(static_cast<uint8_t>(c >> 16));
      rgb.push_back(static_cast<uint8_t>(c >> 8));
      rgb.push_back(static_cast<uint8_t>(c));
    }
  std::vector<uint8_t> png;
  if (!stbi_write_png_to_func(Append, &png, w, h, 3, rgb.data(), w * 3)) return {};
  return png;
}

std::string ScreenshotFolder(const std::string& pictures_folder, const std::string& home_folder,
                             const std::string& data_folder) {
  const std::string pictures = WithoutTrailingSlashes(pictures_folder);
  if (FullName(pictures) && pictures != WithoutTrailingSlashes(home_folder)) return Inside(pictures, "kelto1");
  return WithoutTrailingSlashes(data_folder);
}

std::string FreeScreenshotPath(FileStore& files, const std::string& folder, const std::string& stem) {
  for (int n = 1; n <= 100; ++n) {
    const std::string path = Inside(folder, stem + (n == 1 ? "" : "-" + std::to_string(n)) + ".png");
    if (!files.Exists(path)) return path;
  }
  return "";
}

std::string ScreenshotStem() {
  char stem[64];
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  std::strftime(stem, sizeof stem, "kelto1-%Y%m%d-%H%M%S", &local);
  return stem;
}

std::string SaveScreenshot(FileStore& files, const Picture& picture, const std::string& folder,
                           const std::string& stem) {
  if (folder.empty()) return "kelto1: no folder to save the screenshot in";
  if (!files.MakeFolders(folder)) return "kelto1: could not make " + folder + " for the screenshot";
  const std::string path = FreeScreenshotPath(files, folder, stem);
  if (path.empty()) return "kelto1: too many screenshots named " + stem + " in " + folder;
  const std::vector<uint8_t> png = EncodePng(picture);
  if (png.empty() || !files.Replace(path, png)) return "kelto1: could not save the screenshot to " + path;
  return "kelto1: screenshot saved to " + path;
}

}  // namespace kelto1
