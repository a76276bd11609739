// The settings file "car.dat": frame delay, best rank and a text carried through.
// Little-endian, no header: WaitMs (4), BestRank (4), n (2), n bytes of Memo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelto1 {

struct SettingsRecord {
  int32_t WaitMs = 0;
  int32_t BestRank = 0;
  std::string Memo;
};

// Reads the record from the start of the file. Missing bytes read as 0, and a Memo
// cut short by the end of the file keeps what is there.
SettingsRecord DecodeSettings(const std::vector<uint8_t>& file);
// The file after the record is written over its start: bytes past the new record are
// kept, and the file is never shortened.
std::vector<uint8_t> EncodeSettingsOver(const SettingsRecord& record, const std::vector<uint8_t>& old_file);

}  // namespace kelto1
