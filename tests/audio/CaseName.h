#pragma once

#include <gtest/gtest.h>

#include <string>

namespace audio_test {

/// Names a parameterised test after the `Name` field of its case.
template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& test_case) {
  return test_case.param.Name;
}

}  // namespace audio_test
