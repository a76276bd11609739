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
  if (!files.FolderWritable(program_folder)) {
    // An installed game's folder is read-only: the settings live with the user instead,
    // starting from the folder's own file if it has one.
    bytes = files.Read(program_file);
    why = "settings";
  } else if (files.Exists(program_file) && !(bytes = files.Read(program_file))) {
    // Never write over a record that could not be read: it may be all the player has.
    why = "cannot read " + program_file + ", so it is left as it is; settings";
  }
  if (why.empty()) {
    SettingsPath = program_file;
    if (!bytes && files.CreateEmpty(program_file)) bytes = files.Read(program_file);
  } else {
    const std::string user_folder = platform.UserDataFolder();
    const std::string user_file = user_folder.empty() ? std::string() : user_folder + "/" + kFileName;
    if (!user_file.empty()) files.MakeFolders(user_folder);
    if (!user_file.empty() && files.Exists(user_file) && !files.Read(user_file)) {
      platform.Note("kelto1: " + why + " stay in memory and are not saved: cannot read " + user_file);
      SettingsPath.clear();
    } else if (user_file.empty()) {
      platform.Note("kelto1: " + why + " stay in memory and are not saved: there is no home folder to keep them in");
      SettingsPath.clear();
    } else {
      platform.Note("kelto1: " + why + " are kept in " + user_file);
      SettingsPath = user_file;
      if (std::optional<std::vector<uint8_t>> own = files.Read(user_file)) {
        bytes = std::move(own);
      } else if (files.CreateEmpty(user_file) && !bytes) {
        bytes = files.Read(user_file);
      }
    }
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
  const std::vector<uint8_t> old = files.Read(SettingsPath).value_or(std::vector<uint8_t>{});
  SettingsRecord r{settings.WaitMs, settings.BestRank, settings.Memo};
  if (!files.Replace(SettingsPath, EncodeSettingsOver(r, old)))
    platform.Note("kelto1: could not save the settings to " + SettingsPath);
}

}  // namespace kelto1
