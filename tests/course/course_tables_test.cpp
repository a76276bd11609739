// The course tables as loaded at start-up, and the expansion of course steps.
#include <algorithm>
#include <array>
#include <utility>

#include "course_fixture.h"

namespace kelto1::testing {
namespace {

using CourseTablesTest = CourseTest;

TEST_F(CourseTablesTest, TheCourseExpandsTo7347EntriesFromPatterns0To90) {
  const CourseState& c = game.course;
  ASSERT_EQ(c.CourseLength, 7347);
  int largest = 0;
  for (int n = 0; n < c.CourseLength; ++n) largest = std::max<int>(largest, c.CourseSeq[n]);
  EXPECT_EQ(largest, 90);
  // Everything past the course stays 0: the look-ahead near the end reads those.
  for (int n = c.CourseLength; n <= 10000; ++n) ASSERT_EQ(c.CourseSeq[n], 0) << "entry " << n;
}

TEST_F(CourseTablesTest, TheCourseOpensWithSection1TwentyTimesThenSection5) {
  const CourseState& c = game.course;
  for (int n = 0; n < 60; ++n) ASSERT_EQ(c.CourseSeq[n], n % 3 == 0 ? 0 : 1) << "entry " << n;
  EXPECT_EQ(c.CourseSeq[60], 10);
  EXPECT_EQ(c.CourseSeq[61], 1);
  EXPECT_EQ(c.CourseSeq[62], 1);
  EXPECT_EQ(c.CourseSeq[63], 0);
}

TEST_F(CourseTablesTest, Section4GivesOnlyItsFirst15Patterns) {
  // Steps 0..3 fill entries 0..129 (60 + 3 + 60 + 7); step 4 is section 4 once.
  const std::array<int, 15> first15 = {8, 11, 9, 20, 19, 20, 19, 20, 18, 17, 17, 17, 17, 14, 8};
  const CourseState& c = game.course;
  for (int i = 0; i < 15; ++i) EXPECT_EQ(c.CourseSeq[130 + i], first15[i]) << "entry " << 130 + i;
  EXPECT_EQ(c.SectionRows[15][4], 8) << "the 16th pattern is in the table, only not laid";
  EXPECT_EQ(c.CourseSeq[145], 0) << "the next step (section 1) follows at once";
}

TEST_F(CourseTablesTest, ExpansionCutsLongSectionsSkipsEmptyStepsAndStopsAtTheEndMark) {
  CourseState& c = game.course;
  for (auto& step : c.CourseSteps) step = {0, 0};
  c.SectionRows[0][30] = 255;  // a section with no patterns
  const std::array<std::pair<int, int>, 6> steps = {{{4, 2}, {1, 0}, {30, 3}, {5, 1}, {255, 7}, {1, 5}}};
  for (size_t k = 0; k < steps.size(); ++k) c.CourseSteps[k] = {steps[k].first, steps[k].second};

  game.ExpandCourse();

  ASSERT_EQ(c.CourseLength, 15 + 15 + 3);
  for (int rep = 0; rep < 2; ++rep) {
    for (int i = 0; i < 15; ++i) EXPECT_EQ(c.CourseSeq[rep * 15 + i], c.SectionRows[i][4]);
  }
  EXPECT_EQ(c.CourseSeq[30], 10);
  EXPECT_EQ(c.CourseSeq[31], 1);
  EXPECT_EQ(c.CourseSeq[32], 1);
}

TEST_F(CourseTablesTest, PatternsHoldTheUpperRowFirstAndTheLowerRowAfter) {
  const CourseState& c = game.course;
  // Pattern 14 ends the wide road: pavement interior above, the kerbed block ends below.
  const std::array<int, 16> upper = {14, 15, 1, 1, 1, 1, 1, 1, 1, 1, 1, 53, 54, 55, 1, 1};
  const std::array<int, 16> lower = {22, 23, 1, 1, 1, 1, 1, 1, 1, 1, 1, 61, 62, 63, 40, 40};
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(c.PatternRows[i][14], upper[i]) << "byte " << i;
    EXPECT_EQ(c.PatternRows[16 + i][14], lower[i]) << "byte " << 16 + i;
  }
  for (int p = 91; p <= 255; ++p) {
    for (int i = 0; i < 32; ++i) ASSERT_EQ(c.PatternRows[i][p], 0) << "pattern " << p;
  }
}

TEST_F(CourseTablesTest, SectionsAndStepsEndWithTheirMarks) {
  const CourseState& c = game.course;
  EXPECT_EQ(c.SectionRows[16][4], 255);
  EXPECT_EQ(c.SectionRows[3][1], 255);
  for (int s : {0, 27, 100}) {
    for (int i = 0; i < 18; ++i) EXPECT_EQ(c.SectionRows[i][s], 0) << "section " << s;
  }
  EXPECT_EQ(c.StepCount, 278);
  EXPECT_EQ(c.CourseSteps[277][0], 255);
  EXPECT_EQ(c.CourseSteps[277][1], 255);
  EXPECT_EQ(c.CourseSteps[276][0], 1);
  EXPECT_EQ(c.CourseSteps[276][1], 3);
}

TEST_F(CourseTablesTest, PlaceNamesRunFromShinjukuToOkutama) {
  EXPECT_EQ(game.PlaceNames[1], "新宿");
  EXPECT_EQ(game.PlaceNames[2], "中野坂上");
  EXPECT_EQ(game.PlaceNames[21], "瑞穂殿ヶ谷");
  EXPECT_EQ(game.PlaceNames[38], "奥多摩");
  EXPECT_EQ(game.PlaceNames[0], "");
  EXPECT_EQ(game.PlaceNames[39], "");
  EXPECT_EQ(game.PlaceNames[40], "");
  for (int i = 1; i <= 38; ++i) EXPECT_FALSE(game.PlaceNames[i].empty()) << "place " << i;
}

TEST_F(CourseTablesTest, OnlyKerbTilesHaveAnAttribute) {
  const std::array<std::pair<int, int>, 22> codes = {{
      {5, 1}, {45, 1}, {6, 2}, {46, 2}, {7, 1}, {47, 1}, {13, 5}, {53, 5}, {14, 10}, {54, 10}, {15, 1},
      {55, 1}, {21, 6}, {61, 6}, {22, 2}, {62, 2}, {23, 7}, {63, 7}, {48, 3}, {56, 10}, {50, 1}, {58, 1},
  }};
  std::array<int, 128> expected{};
  for (auto [tile, code] : codes) expected[tile] = code;
  for (int t = 0; t < 128; ++t) EXPECT_EQ(game.course.TileAttr[t], expected[t]) << "tile " << t;
}

TEST_F(CourseTablesTest, SceneryModesNameTheTopLeftOfTheirDecoration) {
  const std::array<int, 13> expected = {0, 0, 0, 99, 115, 64, 68, 66, 101, 117, 83, 70, 85};
  for (int m = 0; m <= 12; ++m) EXPECT_EQ(game.course.SceneryTiles[m], expected[m]) << "mode " << m;
}

}  // namespace
}  // namespace kelto1::testing
