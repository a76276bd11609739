// The records table: the player's twenty best races, each with its replay, kept beside the
// settings as records.txt and records/*.k1r. The table is a file like any other we read:
// every line is checked, and a damaged one is left out, never trusted.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace kelto1 {

struct RaceRecord {
  std::string when;     // local date and time the race ended, "YYYY-MM-DD HH:MM:SS"
  std::string vehicle;  // the selector's text the race was driven with
  int rank = 30;        // final rank, 1 = first
  int places = 1;       // places reached, counting the one the race starts in
  std::string place;    // the name of the last place reached
  int64_t distance = 0; // course entries driven
  uint32_t frames = 0;  // race frames, as the replay holds them
  std::string replay;   // the replay's file name in the records folder
};

inline constexpr size_t kRecordsKept = 20;
inline constexpr size_t kMaxRecordsFileSize = 64 * 1024;
inline constexpr const char kRecordsFileName[] = "records.txt";
inline constexpr const char kRecordsFolderName[] = "records";

// Whether race a ranks before race b: the better rank, then more places reached, then the
// longer distance. Equal races are not better than each other, so an older one stays ahead.
bool BetterRace(const RaceRecord& a, const RaceRecord& b);

// Where a new race goes in a table ordered best first (after every race at least as good),
// or nothing when it does not make the twenty.
std::optional<size_t> PlaceInTable(const std::vector<RaceRecord>& table, const RaceRecord& race);

// A replay name the table may refer to: letters, digits, '-' and '_' ending in ".k1r", so
// that no line of the table can reach outside the records folder.
bool SafeReplayName(const std::string& name);

std::string EncodeRecords(const std::vector<RaceRecord>& table);

struct DecodedRecords {
  std::vector<RaceRecord> table;  // the lines that passed, best first
  std::vector<std::string> problems;  // one line for each thing left out
};
DecodedRecords DecodeRecords(const std::string& text);

// A field as the table stores it: tabs, line ends, backslashes and other control
// characters escaped, so that a vehicle name typed by the player cannot break a line.
std::string EscapeField(const std::string& text);
std::optional<std::string> UnescapeField(const std::string& text);

// The table on disk.
class RecordsKeeper {
 public:
  // folder: where car.dat lives. now: the local date and time as "YYYY-MM-DD HH:MM:SS".
  RecordsKeeper(FileStore& files, std::string folder, std::function<std::string()> now);

  // Reads the table; a missing file is an empty table. Problems come back as lines.
  DecodedRecords Load();

  // Enters a finished race with its replay file's bytes. Returns its place in the table
  // (0 = best), or nothing when it did not make the table or could not be kept; note gets
  // one line for anything that went wrong.
  std::optional<size_t> Enter(RaceRecord race, const std::vector<uint8_t>& replay_file,
                              const std::function<void(const std::string&)>& note);

  std::string table_path() const { return folder_ + "/" + kRecordsFileName; }
  std::string replay_path(const std::string& name) const {
    return folder_ + "/" + kRecordsFolderName + "/" + name;
  }

 private:
  std::string NewReplayName(const std::string& when);

  FileStore& files_;
  std::string folder_;
  std::function<std::string()> now_;
};

// The table as the window shows it over the view: a heading, then a line a race, its
// cells separated by tabs, and a line of help that names taps rather than keys where the
// table is used by touch.
std::vector<std::string> RecordsPanelLines(const std::vector<RaceRecord>& table, bool by_touch = false);

// The table as the terminal shows it, with where it is kept.
std::string RecordsListing(const std::vector<RaceRecord>& table, const std::string& where);

}  // namespace kelto1
