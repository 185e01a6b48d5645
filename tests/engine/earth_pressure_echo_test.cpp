#include "earth_pressure_echo.h"

#include <gtest/gtest.h>

namespace ramvex {
namespace {

TEST(EarthPressureEcho, LongTablesPrintEverySixthOrFourthPointAndTheLast) {
  std::vector<size_t> expected;
  for (size_t i = 0; i <= 114; i += 6) expected.push_back(i);  // points 1, 7, ..., 115
  expected.push_back(119);                                     // and point 120
  EXPECT_EQ(printedEarthPressurePoints(120, 1), expected);

  expected.clear();
  for (size_t i = 0; i < 51; i += 4) expected.push_back(i);  // 1, 5, ..., 49 (0-based 48)
  expected.push_back(50);
  EXPECT_EQ(printedEarthPressurePoints(51, 2), expected);

  EXPECT_EQ(printedEarthPressurePoints(50, 1).size(), 50u);  // 50 points: all of them
  EXPECT_EQ(printedEarthPressurePoints(55, 1).back(), 54u);
  EXPECT_TRUE(printedEarthPressurePoints(0, 1).empty());
}

}  // namespace
}  // namespace ramvex
