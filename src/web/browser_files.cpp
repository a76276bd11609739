#include "web/browser_files.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "web/page_calls.h"

namespace kelto1 {

namespace {

std::string Taken(char* text) {
  std::string s = text ? text : "";
  std::free(text);
  return s;
}

}  // namespace

std::string ToStoredText(const std::vector<uint8_t>& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

std::optional<std::vector<uint8_t>> FromStoredText(const std::string& text) {
  if (text.size() % 2 != 0) return std::nullopt;
  const auto digit = [](char c) {
    return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
  };
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() / 2);
  for (size_t i = 0; i < text.size(); i += 2) {
    const int hi = digit(text[i]), lo = digit(text[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
  }
  return bytes;
}

std::vector<std::pair<std::string, std::string>> StoredValues(const std::string& prefix) {
  std::vector<std::pair<std::string, std::string>> values;
  std::istringstream names(Taken(k1_store_names()));
  for (std::string name; std::getline(names, name);)
    if (name.rfind(prefix, 0) == 0) values.emplace_back(name.substr(prefix.size()), Taken(k1_store_get(name.c_str())));
  return values;
}

bool StoreValue(const std::string& name, const std::string& value) {
  return k1_store_set(name.c_str(), value.c_str()) != 0;
}

void BrowserFiles::RestoreStored() {
  std::istringstream names(Taken(k1_store_names()));
  for (std::string path; std::getline(names, path);) {
    if (path.empty() || path[0] != '/') continue;
    const std::string text = Taken(k1_store_get(path.c_str()));
    std::optional<std::vector<uint8_t>> bytes = FromStoredText(text);
    if (!bytes) bytes = std::vector<uint8_t>(text.begin(), text.end());
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    DiskFileStore::Replace(path, *bytes);
  }
}

bool BrowserFiles::CreateEmpty(const std::string& path) {
  const bool made = DiskFileStore::CreateEmpty(path);
  if (made) Store(path);
  return made;
}

bool BrowserFiles::Replace(const std::string& path, const std::vector<uint8_t>& bytes) {
  const bool replaced = DiskFileStore::Replace(path, bytes);
  if (replaced) Store(path);
  return replaced;
}

bool BrowserFiles::Remove(const std::string& path) {
  const bool removed = DiskFileStore::Remove(path);
  // Gone from the storage even when the copy in memory was already gone.
  k1_store_remove(path.c_str());
  return removed;
}

void BrowserFiles::Store(const std::string& path) {
  if (const auto bytes = DiskFileStore::Read(path)) k1_store_set(path.c_str(), ToStoredText(*bytes).c_str());
}

}  // namespace kelto1
