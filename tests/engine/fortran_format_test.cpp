#include "fortran_format.h"

#include <gtest/gtest.h>

namespace ramvex::fmt {
namespace {

TEST(FortranFormat, Basic) {
  EXPECT_EQ(E(123.0, 10, 3), " 0.123E+03");
  EXPECT_EQ(PE(0.001, 9, 3), "1.000E-03");
  EXPECT_EQ(F(0.5, 9, 3), "    0.500");
  EXPECT_EQ(I(7, 2), " 7");
}

}  // namespace
}  // namespace ramvex::fmt
