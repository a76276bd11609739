// Conversions between readout texts and numbers.
#include "shell/readout_text.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "shell/numbers.h"

namespace kelto1 {

std::optional<double> ParseNumber(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
  if (b == e) return std::nullopt;
  // Only decimal digits, a sign, a point and an exponent: no hex, no "inf", no "nan".
  bool digit = false;
  for (size_t i = b; i < e; ++i) {
    char c = text[i];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      digit = true;
    } else if (c != '+' && c != '-' && c != '.' && c != 'e' && c != 'E') {
      return std::nullopt;
    }
  }
  if (!digit) return std::nullopt;
  std::string s = text.substr(b, e - b);
  char* end = nullptr;
  double v = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<int32_t> ParseWholeNumber(const std::string& text) {
  auto v = ParseNumber(text);
  if (!v || std::fabs(*v) > 3e9) return std::nullopt;
  long long n = RoundHalfEven(*v);
  if (n < INT32_MIN || n > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(n);
}

std::string FormatNumber(double value) {
  char buf[64];
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(value));
  } else {
    std::snprintf(buf, sizeof buf, "%.15g", value);
  }
  return buf;
}

}  // namespace kelto1
