// Readable names for the cases of a table: each case type has a PrintTo that tells its
// fields, and the case is named from that text, so a failure names the case it breaks.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace kelto1 {

// Letters and digits are kept; a minus sign reads "Minus", a decimal point "p", and any
// run of other characters becomes one '_'.
inline std::string CaseNameFromText(const std::string& text) {
  std::string name;
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (std::isalnum(c)) {
      name += ch;
    } else if (ch == '-') {
      name += "Minus";
    } else if (ch == '.') {
      name += 'p';
    } else if (!name.empty() && name.back() != '_') {
      name += '_';
    }
  }
  while (!name.empty() && name.back() == '_') name.pop_back();
  return name;
}

struct CaseName {
  template <class T>
  std::string operator()(const ::testing::TestParamInfo<T>& info) const {
    return CaseNameFromText(::testing::PrintToString(info.param));
  }
};

}  // namespace kelto1
