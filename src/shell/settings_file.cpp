// Reading and writing "car.dat".
#include "shell/settings_file.h"

#include <algorithm>

#include "shell/kelto1.h"
#include "shell/readout_text.h"

namespace kelto1 {

namespace {

uint32_t ReadLE(const std::vector<uint8_t>& f, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i)
    if (at + i < f.size()) v |= uint32_t{f[at + i]} << (8 * i);
  return v;
}

void WriteLE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

constexpr const char* kFileName = "car.dat";
// The record takes at most 10 + 65535 bytes; what lies past it is carried through as it
// is, up to this size. A larger file is not read at all, and never written over.
constexpr size_t kLargestSettingsFile = 1u << 20;

}  // namespace

SettingsRecord DecodeSettings(const std::vector<uint8_t>& file) {
  SettingsRecord r;
  r.WaitMs = static_cast<int32_t>(ReadLE(file, 0, 4));
  r.BestRank = static_cast<int32_t>(ReadLE(file, 4, 4));
  const size_t n = ReadLE(file, 8, 2);
  if (file.size() > 10) {
    const size_t have = std::min(n, file.size() - 10);
    r.Memo.assign(reinterpret_cast<const char*>(file.data()) + 10, have);
  }
  return r;
}

std::vector<uint8_t> EncodeSettingsOver(const SettingsRecord& record, const std::vector<uint8_t>& old_file) {
  std::vector<uint8_t> out;
  const size_t memo_len = std::min<size_t>(record.Memo.size(), 0xFFFF);
  out.reserve(std::max(old_file.size(), 10 + memo_len));
  WriteLE(out, static_cast<uint32_t>(record.WaitMs), 4);
  WriteLE(out, static_cast<uint32_t>(record.BestRank), 4);
  WriteLE(out, static_cast<uint32_t>(memo_len), 2);
  out.insert(out.end(), record.Memo.begin(), record.Memo.begin() + static_cast<std::ptrdiff_t>(memo_len));
  if (old_file.size() > out.size()) out.insert(out.end(), old_file.begin() + static_cast<std::ptrdiff_t>(out.size()), old_file.end());
  return out;
}

void Kelto1::LoadSettings() {
  FileStore& files = platform.Files();
  const std::string program_folder = platform.ProgramFolder();
  const std::string program_file = program_folder + "/" + kFileName;
  std::optional<std::vector<uint8_t>> bytes;
  // Why the settings cannot stay beside the program, if they cannot.
  std::string why;
  std::string oversized;  // the last file found too large to be a settings file
  const auto read = [&](const std::string& path) {
    bool too_big = false;
    std::optional<std::vector<uint8_t>> got = files.ReadAtMost(path, kLargestSettingsFile, too_big);
    if (too_big) oversized = path;
    return got;
  };
  const auto cannot_read = [&](const std::string& path) {
    return oversized == path ? path + " is larger than a settings file can be (1 MB)" : "cannot read " + path;
  };
  if (!files.FolderWritable(program_folder)) {
    // An installed game's folder is read-only: the settings live with the user instead,
    // starting from the folder's own file if it has one.
    bytes = read(program_file);
    why = "settings";
  } else if (files.Exists(program_file) && !(bytes = read(program_file))) {
    // Never write over a record that could not be read: it may be all the player has.
    why = cannot_read(program_file) + ", so it is left as it is; settings";
  }
  if (why.empty()) {
    SettingsPath = program_file;
    if (!bytes && files.CreateEmpty(program_file)) bytes = read(program_file);
  } else {
    const std::string user_folder = platform.UserDataFolder();
    const std::string user_file = user_folder.empty() ? std::string() : user_folder + "/" + kFileName;
    const bool folder_made = !user_file.empty() && files.MakeFolders(user_folder);
    if (!user_file.empty() && files.Exists(user_file) && !read(user_file)) {
      platform.Note("kelto1: " + why + " stay in memory and are not saved: " + cannot_read(user_file));
      SettingsPath.clear();
    } else if (user_file.empty()) {
      platform.Note("kelto1: " + why + " stay in memory and are not saved: there is no home folder to keep them in");
      SettingsPath.clear();
    } else if (!folder_made) {
      // A read-only home: nothing could be kept there, so nothing is said to be.
      platform.Note("kelto1: " + why + " stay in memory and are not saved: cannot make the folder " + user_folder);
      SettingsPath.clear();
    } else {
      platform.Note("kelto1: " + why + " are kept in " + user_file);
      SettingsPath = user_file;
      if (std::optional<std::vector<uint8_t>> own = read(user_file)) {
        bytes = std::move(own);
      } else if (files.CreateEmpty(user_file) && !bytes) {
        bytes = read(user_file);
      }
    }
  }
  if (!SettingsPath.empty()) {
    const std::string folder = SettingsPath.substr(0, SettingsPath.rfind('/') + 1);
    for (const char* name : {kFileName, "last.k1r", "best.k1r"}) files.RemoveUnfinishedSaves(folder + name);
  }
  const SettingsRecord r = DecodeSettings(bytes.value_or(std::vector<uint8_t>{}));
  settings.WaitMs = r.WaitMs;
  settings.BestRank = r.BestRank;
  settings.Memo = r.Memo;
  shell.LastWaitMs = r.WaitMs;
  window[Element::Gamewait].text = std::to_string(r.WaitMs);
  window[Element::HighSc].text = std::to_string(r.BestRank);
}

void Kelto1::SaveSettings() {
  // A box holding something that is not a number saves the last valid value.
  settings.WaitMs = ParseWholeNumber(window[Element::Gamewait].text).value_or(shell.LastWaitMs);
  settings.BestRank = ParseWholeNumber(window[Element::HighSc].text).value_or(settings.BestRank);
  if (SettingsPath.empty()) return;  // kept in memory only, as start-up said
  FileStore& files = platform.Files();
  bool too_big = false;
  const std::vector<uint8_t> old =
      files.ReadAtMost(SettingsPath, kLargestSettingsFile, too_big).value_or(std::vector<uint8_t>{});
  if (too_big) {
    platform.Note("kelto1: could not save the settings: " + SettingsPath +
                  " has grown larger than a settings file can be (1 MB), so it is left as it is");
    return;
  }
  SettingsRecord r{settings.WaitMs, settings.BestRank, settings.Memo};
  if (!files.Replace(SettingsPath, EncodeSettingsOver(r, old)))
    platform.Note("kelto1: could not save the settings to " + SettingsPath);
}

}  // namespace kelto1
