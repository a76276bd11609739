// The records table: its order, its file and the replays that belong to it.
#include "replay/records.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace kelto1 {

namespace {

constexpr const char kHeader[] = "kelto1 records 1";
constexpr size_t kFields = 8;
constexpr size_t kMaxVehicleBytes = 1024;
constexpr size_t kMaxPlaceBytes = 256;
constexpr uint32_t kMaxFrames = 1u << 24;
constexpr int64_t kMaxDistance = int64_t{1} << 40;

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

// A whole number in [low, high], written plainly: digits only, no sign, no spaces.
std::optional<int64_t> ParseNumber(const std::string& text, int64_t low, int64_t high) {
  if (text.empty() || text.size() > 15) return std::nullopt;
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text[0] == '-' || text[0] == '+') return std::nullopt;
  if (value < low || value > high) return std::nullopt;
  return value;
}

bool WellFormedWhen(const std::string& when) {
  static const char kShape[] = "dddd-dd-dd dd:dd:dd";
  if (when.size() != sizeof(kShape) - 1) return false;
  for (size_t i = 0; i < when.size(); ++i) {
    const bool digit = when[i] >= '0' && when[i] <= '9';
    if (kShape[i] == 'd' ? !digit : when[i] != kShape[i]) return false;
  }
  return true;
}

// One line of the table, or why it was left out.
std::optional<RaceRecord> ParseLine(const std::string& line, std::string& why) {
  const std::vector<std::string> f = SplitTabs(line);
  if (f.size() != kFields) {
    why = "has " + std::to_string(f.size()) + " fields, not " + std::to_string(kFields);
    return std::nullopt;
  }
  RaceRecord r;
  const std::optional<std::string> vehicle = UnescapeField(f[1]);
  const std::optional<std::string> place = UnescapeField(f[4]);
  const std::optional<int64_t> rank = ParseNumber(f[2], 1, 30);
  const std::optional<int64_t> places = ParseNumber(f[3], 1, 1000000);
  const std::optional<int64_t> distance = ParseNumber(f[5], 0, kMaxDistance);
  const std::optional<int64_t> frames = ParseNumber(f[6], 1, kMaxFrames);
  if (!WellFormedWhen(f[0])) why = "has no date and time";
  else if (!vehicle || vehicle->size() > kMaxVehicleBytes) why = "has a bad vehicle";
  else if (!rank) why = "has a rank outside 1..30";
  else if (!places) why = "has a bad count of places";
  else if (!place || place->size() > kMaxPlaceBytes) why = "has a bad place name";
  else if (!distance) why = "has a bad distance";
  else if (!frames) why = "has a bad race length";
  else if (!SafeReplayName(f[7])) why = "names a replay outside the records folder";
  if (!why.empty()) return std::nullopt;
  r.when = f[0];
  r.vehicle = *vehicle;
  r.rank = static_cast<int>(*rank);
  r.places = static_cast<int>(*places);
  r.place = *place;
  r.distance = *distance;
  r.frames = static_cast<uint32_t>(*frames);
  r.replay = f[7];
  return r;
}

}  // namespace

bool BetterRace(const RaceRecord& a, const RaceRecord& b) {
  if (a.rank != b.rank) return a.rank < b.rank;
  if (a.places != b.places) return a.places > b.places;
  return a.distance > b.distance;
}

std::optional<size_t> PlaceInTable(const std::vector<RaceRecord>& table, const RaceRecord& race) {
  const auto at = std::upper_bound(table.begin(), table.end(), race,
                                   [](const RaceRecord& r, const RaceRecord& entry) { return BetterRace(r, entry); });
  const size_t index = static_cast<size_t>(at - table.begin());
  if (index >= kRecordsKept) return std::nullopt;
  return index;
}

bool SafeReplayName(const std::string& name) {
  constexpr std::string_view kEnd = ".k1r";
  if (name.size() <= kEnd.size() || name.size() > 64 || !name.ends_with(kEnd)) return false;
  return std::all_of(name.begin(), name.end() - kEnd.size(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '_';
  });
}

std::string EscapeField(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\n') {
      out += "\\n";
    } else if (u < 0x20 || u == 0x7F) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", u);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::string> UnescapeField(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto u = static_cast<unsigned char>(text[i]);
    if (u < 0x20 || u == 0x7F) return std::nullopt;  // a raw control character: not ours
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'x': {
        if (i + 2 >= text.size()) return std::nullopt;
        unsigned value = 0;
        const auto [end, error] = std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
        if (error != std::errc() || end != text.data() + i + 3) return std::nullopt;
        out += static_cast<char>(value);
        i += 2;
        break;
      }
      default: return std::nullopt;
    }
  }
  return out;
}

std::string EncodeRecords(const std::vector<RaceRecord>& table) {
  std::string text = std::string(kHeader) + "\n";
  for (const RaceRecord& r : table) {
    text += r.when + '\t' + EscapeField(r.vehicle) + '\t' + std::to_string(r.rank) + '\t' + std::to_string(r.places) +
            '\t' + EscapeField(r.place) + '\t' + std::to_string(r.distance) + '\t' + std::to_string(r.frames) + '\t' +
            r.replay + '\n';
  }
  return text;
}

DecodedRecords DecodeRecords(const std::string& text) {
  DecodedRecords out;
  const size_t first_end = text.find('\n');
  const std::string header = text.substr(0, first_end);
  if (header != kHeader) {
    out.problems.push_back(header.rfind("kelto1 records ", 0) == 0 ? "is of a newer or unknown kind"
                                                                   : "is not a records table");
    return out;
  }
  size_t number = 1;
  for (size_t start = first_end; start != std::string::npos && start + 1 < text.size();) {
    ++number;
    const size_t end = text.find('\n', start + 1);
    const std::string line = text.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
    start = end;
    if (end == std::string::npos) {
      out.problems.push_back("ends inside line " + std::to_string(number));
      break;
    }
    std::string why;
    std::optional<RaceRecord> r = ParseLine(line, why);
    if (r && std::any_of(out.table.begin(), out.table.end(), [&](const RaceRecord& e) { return e.replay == r->replay; }))
      why = "names a replay that an earlier line names";
    if (!why.empty()) {
      out.problems.push_back("line " + std::to_string(number) + " " + why);
      continue;
    }
    out.table.push_back(std::move(*r));
  }
  // The file's order is the age order among equals: a stable sort keeps the older ahead.
  std::stable_sort(out.table.begin(), out.table.end(), BetterRace);
  if (out.table.size() > kRecordsKept) {
    out.problems.push_back("holds more than " + std::to_string(kRecordsKept) + " races");
    out.table.resize(kRecordsKept);
  }
  return out;
}

RecordsKeeper::RecordsKeeper(FileStore& files, std::string folder, std::function<std::string()> now)
    : files_(files), folder_(std::move(folder)), now_(std::move(now)) {}

DecodedRecords RecordsKeeper::Load() {
  const std::string path = table_path();
  if (!files_.Exists(path)) return {};
  bool too_big = false;
  const std::optional<std::vector<uint8_t>> bytes = files_.ReadAtMost(path, kMaxRecordsFileSize, too_big);
  DecodedRecords out;
  if (!bytes) {
    out.problems.push_back(too_big ? "is too large to be a records table" : "cannot be read");
    return out;
  }
  return DecodeRecords(std::string(bytes->begin(), bytes->end()));
}

std::string RecordsKeeper::NewReplayName(const std::string& when) {
  std::string stem;
  for (const char c : when) {
    if (c >= '0' && c <= '9') stem += c;
    if (stem.size() == 8 && c == ' ') stem += '-';
  }
  if (stem.empty()) stem = "race";
  for (int n = 1;; ++n) {
    const std::string name = stem + (n == 1 ? "" : "_" + std::to_string(n)) + ".k1r";
    if (!files_.Exists(replay_path(name))) return name;
  }
}

std::optional<size_t> RecordsKeeper::Enter(RaceRecord race, const std::vector<uint8_t>& replay_file,
                                           const std::function<void(const std::string&)>& note) {
  const std::string path = table_path();
  DecodedRecords loaded = Load();
  if (!loaded.problems.empty()) {
    std::string line = "kelto1: " + path + " " + loaded.problems.front();
    if (loaded.problems.size() > 1) line += " (and " + std::to_string(loaded.problems.size() - 1) + " more)";
    // A table we cannot read whole is never written over without a copy of it.
    bool too_big = false;
    const std::optional<std::vector<uint8_t>> old = files_.ReadAtMost(path, kMaxRecordsFileSize, too_big);
    if (!old || !files_.Replace(path + ".bak", *old)) {
      note(line + "; it is left as it is and this race is not entered");
      return std::nullopt;
    }
    note(line + "; a copy is kept as " + path + ".bak");
  }
  std::vector<RaceRecord>& table = loaded.table;
  race.when = now_();
  const std::optional<size_t> at = PlaceInTable(table, race);
  if (!at) return std::nullopt;

  race.replay = NewReplayName(race.when);
  const std::string replay = replay_path(race.replay);
  if (!files_.MakeFolders(folder_ + "/" + kRecordsFolderName) || !files_.Replace(replay, replay_file)) {
    note("kelto1: could not keep the race's replay as " + replay);
    return std::nullopt;
  }
  table.insert(table.begin() + static_cast<std::ptrdiff_t>(*at), race);
  std::vector<RaceRecord> dropped(table.begin() + static_cast<std::ptrdiff_t>(std::min(table.size(), kRecordsKept)),
                                  table.end());
  table.resize(std::min(table.size(), kRecordsKept));
  const std::string text = EncodeRecords(table);
  if (!files_.Replace(path, std::vector<uint8_t>(text.begin(), text.end()))) {
    note("kelto1: could not save the records to " + path);
    files_.Remove(replay);
    return std::nullopt;
  }
  // A race that falls out of the table takes its replay with it.
  for (const RaceRecord& gone : dropped) files_.Remove(replay_path(gone.replay));
  return at;
}

std::vector<std::string> RecordsPanelLines(const std::vector<RaceRecord>& table, bool by_touch) {
  std::vector<std::string> lines = {"\tRECORDS\tRANK\tPLACES\tDISTANCE\tCAR / PLACE"};
  if (table.empty()) lines.push_back("\tNo race yet: finish one and it is kept here.");
  for (size_t i = 0; i < table.size(); ++i) {
    const RaceRecord& r = table[i];
    lines.push_back(std::to_string(i + 1) + "\t" + r.when.substr(0, 16) + "\t" + std::to_string(r.rank) + "\t" +
                    std::to_string(r.places) + "\t" + std::to_string(r.distance) + "\t" + EscapeField(r.vehicle) +
                    " / " + EscapeField(r.place));
  }
  lines.push_back("");
  lines.push_back(by_touch ? "\tTap a race: pick   Tap it again: watch   Title: back"
                           : "\tUp, Down: pick   Enter: watch   Esc, F3: back");
  return lines;
}

std::string RecordsListing(const std::vector<RaceRecord>& table, const std::string& where) {
  std::string out = "Kelto1 records, kept in " + where + "\n";
  if (table.empty()) return out + "No race has been entered yet: finish a race and it is kept here.\n";
  char line[256];
  std::snprintf(line, sizeof line, "%2s  %-19s  %4s  %6s  %8s  %7s  %s\n", "", "date", "rank", "places", "distance",
                "frames", "vehicle / place reached / replay");
  out += line;
  for (size_t i = 0; i < table.size(); ++i) {
    const RaceRecord& r = table[i];
    std::snprintf(line, sizeof line, "%2zu  %-19s  %4d  %6d  %8lld  %7u  ", i + 1, r.when.c_str(), r.rank, r.places,
                  static_cast<long long>(r.distance), r.frames);
    out += line + EscapeField(r.vehicle) + " / " + EscapeField(r.place) + " / " + kRecordsFolderName + "/" + r.replay +
           "\n";
  }
  return out;
}

}  // namespace kelto1
