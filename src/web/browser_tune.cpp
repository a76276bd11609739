#include "web/browser_tune.h"

#include <filesystem>

#include "web/page_calls.h"

namespace kelto1 {

std::string RenderedTuneUrl(const std::string& path) {
  return std::filesystem::path(path).filename().replace_extension(".ogg").string();
}

bool BrowserTune::Load(const std::string& path, std::string& why) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    why = path + " is missing";
    return false;
  }
  k1_tune_load(RenderedTuneUrl(path).c_str());
  loaded_ = true;
  return true;
}

bool BrowserTune::PlayFromStart(std::string& why) {
  if (!loaded_) {
    why = "no tune loaded";
    return false;
  }
  k1_tune_play();
  return true;
}

bool BrowserTune::Playing() { return loaded_ && k1_tune_playing() != 0; }

void BrowserTune::Stop() { k1_tune_stop(); }

void BrowserTune::Unload() {
  k1_tune_stop();
  loaded_ = false;
}

}  // namespace kelto1
