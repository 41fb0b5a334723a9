// Rotation conventions: Euler order, quaternion matrices, slerp branches, affine products.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/math.h"

namespace {

Vec3 Transform(const Vec3& p, const float* m) {
  return {p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12], p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
          p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]};
}

void ExpectNear(const Vec3& a, const Vec3& b) {
  EXPECT_NEAR(a.x, b.x, 1e-5f);
  EXPECT_NEAR(a.y, b.y, 1e-5f);
  EXPECT_NEAR(a.z, b.z, 1e-5f);
}

void ExpectNear(const Quaternion& a, const Quaternion& b) {
  EXPECT_NEAR(a.w, b.w, 1e-6f);
  EXPECT_NEAR(a.x, b.x, 1e-6f);
  EXPECT_NEAR(a.y, b.y, 1e-6f);
  EXPECT_NEAR(a.z, b.z, 1e-6f);
}

constexpr int kRotationPart[] = {0, 1, 2, 4, 5, 6, 8, 9, 10};

// Rz, then Ry, then Rx, written out element by element.
TEST(SceneMath, EulerMatchesTheProductOfElementaryRotations) {
  float a = 0.3f, b = -0.7f, c = 1.1f;
  float rx[16] = {1, 0, 0, 0, 0, std::cos(a), std::sin(a), 0, 0, -std::sin(a), std::cos(a), 0, 0, 0, 0, 1};
  float ry[16] = {std::cos(b), 0, -std::sin(b), 0, 0, 1, 0, 0, std::sin(b), 0, std::cos(b), 0, 0, 0, 0, 1};
  float rz[16] = {std::cos(c), std::sin(c), 0, 0, -std::sin(c), std::cos(c), 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  float zy[16] = {}, zyx[16] = {}, m[16] = {};
  MultiplyRotation(rz, ry, zy);
  MultiplyRotation(zy, rx, zyx);
  EulerToMatrix(a, b, c, m);
  for (int i : kRotationPart) EXPECT_NEAR(m[i], zyx[i], 1e-6f) << i;
}

TEST(SceneMath, QuaternionMatricesWriteOnlyTheirParts) {
  float r = 0.8f;
  float m[16];
  for (float& v : m) v = 7.0f;
  QuaternionToMatrix(AxisAngleToQuaternion({0, 1, 0}, r), m);
  float ry[9] = {std::cos(r), 0, -std::sin(r), 0, 1, 0, std::sin(r), 0, std::cos(r)};
  for (int k = 0; k < 9; ++k) EXPECT_NEAR(m[kRotationPart[k]], ry[k], 1e-6f) << kRotationPart[k];
  EXPECT_EQ(m[12], 0.0f);
  EXPECT_EQ(m[3], 7.0f) << "the fourth column is not written";
  // The rotation alone keeps the translation; a quaternion of length 2 also scales by 4.
  m[12] = 4.0f;
  QuaternionToRotation({2, 0, 0, 0}, m);
  EXPECT_EQ(m[12], 4.0f);
  EXPECT_EQ(m[0], 4.0f);
  EXPECT_EQ(m[10], 4.0f);
}

TEST(SceneMath, SlerpTakesTheShorterArcAboveTheThresholdAndTheChordAtIt) {
  Quaternion a = {1, 0, 0, 0};
  Quaternion b = AxisAngleToQuaternion({0, 0, 1}, 1.0f);
  ExpectNear(Slerp(a, b, 0.5f), AxisAngleToQuaternion({0, 0, 1}, 0.5f));
  // The negated quaternion is the same rotation: the blend flips it back.
  Quaternion flipped = {-b.w, -b.x, -b.y, -b.z};
  ExpectNear(Slerp(a, flipped, 0.5f), AxisAngleToQuaternion({0, 0, 1}, 0.5f));
  ExpectNear(Slerp(b, flipped, 0.5f), b);
  // Identical quaternions blend linearly and come back unchanged.
  for (float t : {0.0f, 0.3f, 0.9f}) {
    Quaternion same = Slerp(b, b, t);
    EXPECT_FLOAT_EQ(same.w, b.w);
    EXPECT_FLOAT_EQ(same.z, b.z);
  }
  // Above the threshold the result is the unnormalised chord; at it, still the arc.
  Quaternion above = {0.999995f, 0.0f, 0.0f, 0.0031623f};
  EXPECT_FLOAT_EQ(Slerp(a, above, 0.5f).w, 0.5f * 1.0f + 0.5f * 0.999995f);
  Quaternion at = {0.99999f, 0.0f, 0.0f, 0.0044721f};
  EXPECT_GT(Slerp(a, at, 0.5f).w, 0.5f * 1.0f + 0.5f * 0.99999f + 1e-6f);
}

TEST(SceneMath, AffineProductIgnoresTheFourthColumnAndMayWriteOverAnOperand) {
  float a[16] = {0, 1, 0, 99, -1, 0, 0, 99, 0, 0, 1, 99, 1, 2, 3, 99};  // quarter turn about z, moved
  float b[16] = {2, 0, 0, -5, 0, 2, 0, -5, 0, 0, 2, -5, 10, 0, 0, -5};  // scale 2, moved along x
  float c[16];
  for (float& v : c) v = 42.0f;
  MultiplyAffine(a, b, c);
  ExpectNear(Transform({1, 0, 0}, c), Transform(Transform({1, 0, 0}, a), b));
  EXPECT_EQ(c[12], 12.0f);
  EXPECT_EQ(c[14], 6.0f);
  EXPECT_EQ(c[3], 42.0f);
  EXPECT_EQ(c[15], 42.0f);
  MultiplyAffine(a, b, a);
  ExpectNear(Transform({1, 0, 0}, a), Transform({1, 0, 0}, c));
}

}  // namespace
