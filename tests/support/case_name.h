// Names for the cases of a parameterised test, made from each case's readable `name`.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace testing_support {

// Letters and digits are kept, anything else becomes '_': "Alt+F4" is Alt_F4.
struct CaseName {
  template <typename Case>
  std::string operator()(const testing::TestParamInfo<Case>& info) const {
    std::string name;
    for (const char* p = info.param.name; *p != '\0'; ++p) {
      name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    }
    return name;
  }
};

}  // namespace testing_support
