// Course tables: the load routines and the expansion of the course steps.
#include "shell/kelto1.h"

namespace kelto1 {

void Kelto1::BuildCourseTables() {}

void Kelto1::AppendPatternRow(const std::array<uint8_t, 32>&) {}

void Kelto1::AppendSectionRow(const uint8_t*, int) {}

void Kelto1::AppendCourseStep(const uint8_t*, int) {}

void Kelto1::FillPlaceNames(const char* const*, int) {}

void Kelto1::ExpandCourse() {}

}  // namespace kelto1
