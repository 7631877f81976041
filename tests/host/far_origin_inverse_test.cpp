// A frame's inverse does not depend on how far its origin is: unit axes with
// the origin at 1e13 (or 1e30) are as invertible as at 1. The local inverse
// (773) the host answers is what the vertex compensation maps through.
#include <gtest/gtest.h>

#include "mqhost/matrix_values.hpp"

namespace {

TEST(FarOriginInverse, UnitAxesWithAFarOriginAreInvertible) {
  for (const float origin : {1e13f, -4e20f, 1e30f}) {
    mqhost::Matrix16 frame = mqhost::IdentityMatrix();
    frame[12] = origin;
    mqhost::Matrix16 inverse{};
    ASSERT_TRUE(mqhost::InvertMatrix(frame, &inverse)) << origin;
    EXPECT_FLOAT_EQ(inverse[12], -origin);
    EXPECT_FLOAT_EQ(inverse[0], 1);
  }
}

}  // namespace
