// The road scroller: each call moves the road one tile row down, lays the next row at
// the top, and runs what hangs on the course position (scenery, places, signals, lanes).
#include <algorithm>

#include "course/road_rows.h"
#include "shell/free_record.h"
#include "shell/kelto1.h"
#include "shell/readout_text.h"

namespace kelto1 {

namespace {

// Lane markers stop 49 tile rows down, well below the view.
constexpr int kMarkerFloor = 1568;
// Where a marker starts: 62 tile rows above the view, as far as the watch looks ahead.
constexpr int kMarkerStart = -1984;
constexpr int kLookAhead = 31;
constexpr int kLookBehind = 15;
constexpr int kEntriesPerPlace = 200;
constexpr int kTimeBonus = 80;

void RetirePassedSignals(Kelto1& g) {
  for (Signal& s : g.traffic.Signals) {
    if (s.Active == 1 && s.Y > 600) s.Active = 0;
  }
}

void MoveMarker(Int16& marker, int moving) {
  if (moving != 1) return;
  marker = std::min(marker + 32, kMarkerFloor);
}

void MoveLaneMarkers(Kelto1& g) {
  for (int l = 1; l <= 2; ++l) {
    Lane& lane = g.course.Lanes[l];
    MoveMarker(lane.Top, lane.TopMoving);
    MoveMarker(lane.Bottom, lane.BottomMoving);
  }
}

// Both starters draw their chance on every row, running event or not.
void MaybeStartDecoration(Kelto1& g) {
  CourseState& c = g.course;
  const double r = g.Rnd();
  if (!(Int(r * 30) == 0 && c.SceneryMode == 0)) return;
  // Later places may show richer scenery: mode 12 (trees) needs place 28 or beyond.
  const long long mode = Int(c.PlaceIndex / 3.0 * g.Rnd()) + 3;
  c.SceneryMode = std::min(mode, 12LL);
  c.SceneryTimer = Int(g.Rnd() * 150 + 3);
}

void MaybeStartBuilding(Kelto1& g) {
  CourseState& c = g.course;
  const double r = g.Rnd();
  if (!(Int(r * 10) == 0 && BuildingFits(c))) return;
  c.SceneryMode = Int(g.Rnd() * 2) + 1;
  c.SceneryTimer = kBuildingRows;
}

void ShiftTileGrid(CourseState& c) {
  for (int k = 36; k >= 1; --k) {
    for (int col = 0; col <= 16; ++col) c.TileGrid[col][k] = c.TileGrid[col][k - 1];
  }
}

}  // namespace

int NextRowTile(const CourseState& c, int col) {
  return c.PatternRows[(c.RowHalf ^ 1) * 16 + col][c.CourseSeq[c.CoursePos]];
}

bool BuildingFits(const CourseState& c) { return NextRowTile(c, 2) == 14 && c.SceneryMode == 0; }

void RunSceneryClock(CourseState& c) {
  if (c.SceneryMode <= 0) return;
  c.SceneryTimer -= 1;
  if (c.SceneryTimer < 0) c.SceneryMode = 0;
  c.SceneryPhase += 1;
  if (c.SceneryPhase == 2) c.SceneryPhase = 0;
}

int LaidTile(const CourseState& c, int f, int col, double r) {
  if (Int(r * 5) == 1 && f == 54) f = 44;  // a bush on the central reserve
  int g = f;
  if (f == 14 && c.SceneryMode >= 3) g = c.SceneryTiles[c.SceneryMode] + (col % 2) + 8 * c.SceneryPhase;
  // A building stands on columns 0..2 whatever the pattern has there; its rows are
  // laid front first so that it reads upright as the road moves down.
  if (c.SceneryMode == 1 && col < 3) g = 80 + 8 * c.SceneryTimer + col;
  if (c.SceneryMode == 2 && col < 3) g = 104 + 8 * c.SceneryTimer + col;
  return g;
}

namespace {

void LayNewRow(Kelto1& g) {
  CourseState& c = g.course;
  for (int col = 0; col <= 15; ++col) {
    const int f = NextRowTile(c, col);
    // Collisions follow the road as designed, never the decoration painted over it.
    c.TileGrid[col][0] = c.TileAttr[f];
    const int tile = LaidTile(c, f, col, g.Rnd());
    g.DrawTile(static_cast<uint8_t>(tile), static_cast<int16_t>(col * 32), 0, g.Master);
  }
}

void AddTimeBonus(Kelto1& g) {
  // The remaining time lives only as the readout's text; a text that is not a number
  // counts as 0, as it does for the clock. The clock's next tick repaints the box.
  AddToReadout(g.window[Element::Mtime].text, kTimeBonus);
}

// Each place has its own traffic: drawn from the new place number, busier further out.
void DrawSectionParameters(Kelto1& g) {
  CourseState& c = g.course;
  const int p = c.PlaceIndex;
  c.Kind1Limit = std::min(Int((p + 10) * g.Rnd()) + 5, 28LL);
  c.Kind1Odds = std::max(150 - 5 * Int((p + 20) * g.Rnd()), 20LL);
  c.Kind2Odds = std::max(150 - 5 * Int((p + 20) * g.Rnd()), 20LL);
  c.Kind3Odds = std::max(150 - 5 * Int((p + 10) * g.Rnd()), 20LL);
  if (c.RoadWidth == 1) c.Kind3Odds += 100;
  c.SignalOdds = std::max(100 - 5 * Int((p + 10) * g.Rnd()), 20LL);
  c.PickupOdds = Int(g.Rnd() * 20) + 1;
}

void ChangePlace(Kelto1& g) {
  CourseState& c = g.course;
  c.PlaceSteps = 0;
  c.PlaceIndex += 1;
  if (c.PlaceIndex == 39) c.PlaceIndex = 1;
  AddTimeBonus(g);
  DrawSectionParameters(g);
  g.window[Element::CityDisp].text = g.PlaceNames[c.PlaceIndex];
  g.Repaint(Element::CityDisp);
}

bool IsCrossing(int pattern) {
  switch (pattern) {
    case 59: case 18: case 86: case 21: case 60: case 89: return true;
    default: return false;
  }
}

// A crossing gets its signal while still 31 entries ahead, far above the view.
void CreateSignalAhead(Kelto1& g) {
  const int q = g.course.CourseSeq[g.course.CoursePos + kLookAhead];
  if (!IsCrossing(q)) return;
  auto& signals = g.traffic.Signals;
  const int k = FirstFreeRecord(signals, 0, static_cast<int>(signals.size()) - 1);
  if (k < 0) return;
  Signal& s = signals[k];
  s.CrossLanes = (q == 59 || q == 18 || q == 86) ? 3 : 2;
  s.Active = 1;
  s.Y = -2048;
  s.Phase = Int(g.Rnd() * 3) + 1;
  s.Count = Int(g.Rnd() * 1000);
  if (s.Phase == 3) s.Count = Int(g.Rnd() * 100);
}

void WrapAtCourseEnd(Kelto1& g) {
  CourseState& c = g.course;
  if (c.CoursePos != c.CourseLength) return;
  // The rivals count their progress in course entries; keep them level with the lap.
  for (int a = 1; a <= 29; ++a) g.traffic.Rivals[a - 1].Pos -= c.CourseLength;
  c.CoursePos = 0;
}

void CompleteCourseEntry(Kelto1& g) {
  CourseState& c = g.course;
  c.RowHalf = 0;
  c.CoursePos += 1;
  c.PlaceSteps += 1;
  if (c.PlaceSteps == kEntriesPerPlace) ChangePlace(g);
  CreateSignalAhead(g);
  WrapAtCourseEnd(g);
}

void WatchAhead(CourseState& c) {
  Lane& lane1 = c.Lanes[1];
  Lane& lane2 = c.Lanes[2];
  switch (c.CourseSeq[c.CoursePos + kLookAhead]) {
    case 35:  // lane 1 closes: it exists only below the falling marker
      lane1.TopMoving = 1;
      c.RoadWidth = 2;
      break;
    case 37:  // lane 1 reopens: it exists only above the falling marker
      lane1.TopMoving = 0;
      c.RoadWidth = 3;
      lane1.BottomMoving = 1;
      lane1.Top = kMarkerStart;
      lane1.Bottom = kMarkerStart;
      c.Lanes[4].X = 490;
      break;
    case 79:  // lane 2 closes
      lane2.TopMoving = 1;
      break;
    case 74:  // lane 2 reopens
      lane2.TopMoving = 0;
      lane2.BottomMoving = 1;
      lane2.Top = kMarkerStart;
      lane2.Bottom = kMarkerStart;
      c.Lanes[4].X = 419;
      break;
    default:
      break;
  }
}

void WatchBehind(CourseState& c) {
  if (c.CoursePos <= kLookBehind) {
    c.Lanes[4].X = 490;
    return;
  }
  switch (c.CourseSeq[c.CoursePos - kLookBehind]) {
    case 35:
      c.Lanes[4].X = 420;
      break;
    case 74:
      c.Lanes[4].X = 420;
      c.RoadWidth = 2;
      break;
    case 79:
      c.Lanes[4].X = 419;
      c.RoadWidth = 1;
      break;
    case 37:
      c.Lanes[4].X = 490;
      c.RoadWidth = 3;
      break;
    default:
      break;
  }
}

}  // namespace

void Kelto1::ScrollCourse() {
  RetirePassedSignals(*this);
  MoveLaneMarkers(*this);
  MaybeStartDecoration(*this);
  MaybeStartBuilding(*this);
  RunSceneryClock(course);
  ShiftTileGrid(course);
  Master.ScrollDown(32);  // the road one tile row down: the same pixels as copying it onto itself
  LayNewRow(*this);
  course.RowHalf += 1;
  if (course.RowHalf == 2) CompleteCourseEntry(*this);
  WatchAhead(course);
  WatchBehind(course);
}

}  // namespace kelto1
