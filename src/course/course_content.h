// The course as literal data: road patterns, sections, course steps and place names,
// in the order the course tables load them.
#pragma once

#include <array>
#include <cstdint>

namespace kelto1::content {

// Pattern p: its upper tile row (bytes 0..15) followed by its lower tile row (16..31).
extern const std::array<std::array<uint8_t, 32>, 91> kPatterns;

// Section s (1..26) is kSections[s]: its pattern numbers, closed by 255. Entry 0 is unused.
extern const std::array<std::array<uint8_t, 18>, 27> kSections;
// The number of values of a section's list, its closing 255 included.
int SectionLength(const std::array<uint8_t, 18>& section);

// The course steps as (section, repeat count) pairs, closed by (255, 255).
constexpr int kCourseStepCount = 278;
extern const std::array<uint8_t, 2 * kCourseStepCount> kCourseSteps;

// The places along the route, from the start to the end of a lap (UTF-8).
extern const std::array<const char*, 38> kPlaceNames;

}  // namespace kelto1::content
