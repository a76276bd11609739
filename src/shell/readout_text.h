// Numbers held as readout texts: how a box's text is read as a number and written back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelto1 {

// The text read as a number: optional blanks, a sign, digits with an optional decimal
// point and exponent. Anything else is not a number.
std::optional<double> ParseNumber(const std::string& text);
// The text read as a whole number, rounded with halves to even; nothing when it is not
// a number or does not fit 32 bits.
std::optional<int32_t> ParseWholeNumber(const std::string& text);
// Plain decimal text: a minus sign for negatives, no blanks, no needless decimals.
std::string FormatNumber(double value);
// A readout's number: its text read as a number, 0 for a text that is not one.
inline double ReadoutValue(const std::string& text) { return ParseNumber(text).value_or(0.0); }
// The readouts that live only as text (the clock, the rank) move by adding to the number
// they show and writing the sum back.
inline void AddToReadout(std::string& text, double amount) { text = FormatNumber(ReadoutValue(text) + amount); }

}  // namespace kelto1
