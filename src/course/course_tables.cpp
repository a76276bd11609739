// Course tables: the load routines, the expansion of the course steps into the course
// sequence, and the small tile vocabularies (scenery blocks, tile attributes).
#include "course/course_content.h"
#include "shell/kelto1.h"

namespace kelto1 {

namespace {

// The scroller looks 31 entries past the one it lays, so the course may fill only
// this much of the sequence.
constexpr int kCourseCapacity = 10001 - 31;
// A section gives at most this many patterns per repetition, however long its list.
constexpr int kSectionCut = 15;

struct TileCode {
  uint8_t tile;
  uint8_t code;
};

// Kerbed blocks (road side strip 5..23, central reserve 45..63) and the diagonal kerbs.
constexpr TileCode kTileCodes[] = {
    {5, 1},   {45, 1},   // block, top-left corner
    {6, 2},   {46, 2},   // block, top edge
    {7, 1},   {47, 1},   // block, top-right corner
    {13, 5},  {53, 5},   // block, left edge
    {14, 10}, {54, 10},  // block, interior
    {15, 1},  {55, 1},   // block, right edge
    {21, 6},  {61, 6},   // block, bottom-left corner
    {22, 2},  {62, 2},   // block, bottom edge
    {23, 7},  {63, 7},   // block, bottom-right corner
    {48, 3},             // diagonal kerb, upper half, road narrowing
    {56, 10},            // diagonal kerb, lower half, road narrowing
    {50, 1},             // diagonal kerb, upper half, road widening
    {58, 1},             // diagonal kerb, lower half, road widening
};

// Top-left tile of the 2 x 2 decoration block of scenery modes 3..12.
constexpr int16_t kSceneryTiles[13] = {
    0, 0, 0,  // modes 0..2 are no decoration
    99,       // 3 grey boards
    115,      // 4 dark stony ground
    64,       // 5 water
    68,       // 6 green shrubs
    66,       // 7 red flower bed
    101,      // 8 pink flower bed
    117,      // 9 yellow flower field
    83,       // 10 rocks
    70,       // 11 scrub
    85,       // 12 trees
};

}  // namespace

void Kelto1::BuildCourseTables() {
  course.LoadRow = 0;
  for (const auto& pattern : content::kPatterns) AppendPatternRow(pattern);

  for (int s = 1; s <= 26; ++s) {
    course.LoadRow = s;
    const auto& section = content::kSections[s];
    AppendSectionRow(section.data(), content::SectionLength(section));
  }

  course.StepCount = 0;
  AppendCourseStep(content::kCourseSteps.data(), static_cast<int>(content::kCourseSteps.size()));

  FillPlaceNames(content::kPlaceNames.data(), static_cast<int>(content::kPlaceNames.size()));

  ExpandCourse();

  for (int m = 3; m <= 12; ++m) course.SceneryTiles[m] = kSceneryTiles[m];

  for (auto& a : course.TileAttr) a = 0;
  for (const TileCode& t : kTileCodes) course.TileAttr[t.tile] = t.code;
}

void Kelto1::AppendPatternRow(const std::array<uint8_t, 32>& values) {
  for (int i = 0; i < 32; ++i) course.PatternRows[i][course.LoadRow] = values[i];
  course.LoadRow += 1;
}

void Kelto1::AppendSectionRow(const uint8_t* values, int count) {
  for (int i = 0; i < count; ++i) course.SectionRows[i][course.LoadRow] = values[i];
}

void Kelto1::AppendCourseStep(const uint8_t* values, int count) {
  for (int i = 0; i < count; ++i) {
    course.CourseSteps[course.StepCount][i % 2] = values[i];
    if (i % 2 == 1) course.StepCount += 1;
  }
}

void Kelto1::FillPlaceNames(const char* const* names, int count) {
  for (int i = 0; i < count; ++i) PlaceNames[1 + i] = names[i];
}

void Kelto1::ExpandCourse() {
  int n = 0;
  for (const auto& step : course.CourseSteps) {
    const int s = step[0];
    if (s == 255) break;
    for (int rep = 0; rep < step[1]; ++rep) {
      for (int c = 0; c < kSectionCut; ++c) {
        const int pattern = course.SectionRows[c][s];
        if (pattern == 255) break;
        // A course too long for the sequence is cut where it would overrun the
        // scroller's look-ahead; the game's own course ends far before this.
        if (n == kCourseCapacity) break;
        course.CourseSeq[n] = pattern;
        ++n;
      }
    }
  }
  course.CourseLength = n;
}

}  // namespace kelto1
