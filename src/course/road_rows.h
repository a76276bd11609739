// How the road scroller picks the tile of each column of the row it lays: the pattern's
// tile, or over it a bush on the central reserve, a decoration or a building on the side
// strip. The scroller lays its rows with these; the runner's road preview lays rows with
// them too, so the preview shows what the game lays.
#pragma once

#include "course/course_state.h"

namespace kelto1 {

// A building stands this many tile rows tall.
constexpr int kBuildingRows = 3;

// The tile of the course at column col of the row about to be laid (the lower row of a
// pattern first).
int NextRowTile(const CourseState& c, int col);
// Whether a building may start on the row about to be laid, its odds aside: it needs the
// wide side strip of the middle and narrow roads, and no scenery running.
bool BuildingFits(const CourseState& c);
// Ticks once before every row: counts the running scenery down, ends it after its last
// row and flips a decoration's phase.
void RunSceneryClock(CourseState& c);
// The tile drawn at column col over the pattern's tile f; r is the column's draw of the
// generator, which puts a bush on the central reserve one time in five.
int LaidTile(const CourseState& c, int f, int col, double r);

}  // namespace kelto1
