// Fuzzing the records table: any bytes in records.txt load into at most twenty races whose
// replays stay inside the records folder, write back to the same table, and a race can
// still be entered over them without the damaged file being lost.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "headless/headless_platform.h"
#include "replay/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelto1;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const DecodedRecords loaded = DecodeRecords(text);
  if (loaded.table.size() > kRecordsKept) std::abort();
  for (const RaceRecord& r : loaded.table)
    if (!SafeReplayName(r.replay) || r.rank < 1 || r.rank > 30) std::abort();
  // What was kept is written and read back the same, with nothing left out.
  const DecodedRecords again = DecodeRecords(EncodeRecords(loaded.table));
  if (!again.problems.empty() || again.table.size() != loaded.table.size()) std::abort();
  for (size_t i = 0; i < loaded.table.size(); ++i)
    if (again.table[i].replay != loaded.table[i].replay || again.table[i].vehicle != loaded.table[i].vehicle ||
        again.table[i].place != loaded.table[i].place || again.table[i].distance != loaded.table[i].distance)
      std::abort();

  // The same bytes as the file a finished race is entered into.
  MemoryFileStore files;
  files.files["/data/records.txt"] = std::vector<uint8_t>(data, data + size);
  RecordsKeeper keeper(files, "/data", [] { return std::string("2026-12-11 06:30:00"); });
  RaceRecord race;
  race.vehicle = "MotorBike";
  race.rank = 1;
  race.frames = 100;
  keeper.Enter(race, {1, 2, 3}, [](const std::string&) {});
  // A table that was not read whole is kept as it was, beside the new one.
  if (!loaded.problems.empty() && size <= kMaxRecordsFileSize &&
      files.files["/data/records.txt.bak"] != std::vector<uint8_t>(data, data + size))
    std::abort();
  for (const auto& [path, bytes] : files.files)
    if (path.rfind("/data/", 0) != 0) std::abort();  // nothing written outside the folder
  return 0;
}
