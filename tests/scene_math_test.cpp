// Rotation conventions: Euler order, quaternion matrices, axis-angle, slerp branches, affine products.
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

constexpr float kHalfPi = 1.5707964f;

TEST(SceneMath, EulerRotatesAboutZThenYThenX) {
  float m[16] = {};
  // A quarter turn about z takes x to y; then a quarter turn about x takes y to z.
  EulerToMatrix(kHalfPi, 0.0f, kHalfPi, m);
  ExpectNear(Transform({1, 0, 0}, m), {0, 0, 1});
  // The other order would have left x on y.
  EulerToMatrix(0.0f, kHalfPi, 0.0f, m);
  ExpectNear(Transform({1, 0, 0}, m), {0, 0, -1});
  EXPECT_EQ(m[12], 0.0f);
}

TEST(SceneMath, EulerMatchesTheProductOfElementaryRotations) {
  float a = 0.3f, b = -0.7f, c = 1.1f;
  float rx[16] = {1, 0, 0, 0, 0, std::cos(a), std::sin(a), 0, 0, -std::sin(a), std::cos(a), 0, 0, 0, 0, 1};
  float ry[16] = {std::cos(b), 0, -std::sin(b), 0, 0, 1, 0, 0, std::sin(b), 0, std::cos(b), 0, 0, 0, 0, 1};
  float rz[16] = {std::cos(c), std::sin(c), 0, 0, -std::sin(c), std::cos(c), 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  float zy[16] = {}, zyx[16] = {}, m[16] = {};
  MultiplyRotation(rz, ry, zy);
  MultiplyRotation(zy, rx, zyx);
  EulerToMatrix(a, b, c, m);
  for (int i : {0, 1, 2, 4, 5, 6, 8, 9, 10}) EXPECT_NEAR(m[i], zyx[i], 1e-6f) << i;
}

TEST(SceneMath, QuaternionOfAYTurnIsRy) {
  float r = 0.8f;
  float m[16];
  for (float& v : m) v = 7.0f;
  QuaternionToMatrix(AxisAngleToQuaternion({0, 1, 0}, r), m);
  float expected[9] = {std::cos(r), 0, -std::sin(r), 0, 1, 0, std::sin(r), 0, std::cos(r)};
  int k = 0;
  for (int i : {0, 1, 2, 4, 5, 6, 8, 9, 10}) EXPECT_NEAR(m[i], expected[k++], 1e-6f) << i;
  EXPECT_EQ(m[12], 0.0f);
  EXPECT_EQ(m[13], 0.0f);
  EXPECT_EQ(m[14], 0.0f);
  EXPECT_EQ(m[3], 7.0f) << "the fourth column is not written";
}

TEST(SceneMath, QuaternionToRotationLeavesTheTranslation) {
  float m[16] = {};
  m[12] = 4.0f;
  m[14] = -2.0f;
  QuaternionToRotation({1, 0, 0, 0}, m);
  EXPECT_EQ(m[12], 4.0f);
  EXPECT_EQ(m[14], -2.0f);
  EXPECT_EQ(m[0], 1.0f);
}

TEST(SceneMath, NonUnitQuaternionAlsoScales) {
  float m[16] = {};
  QuaternionToMatrix({2, 0, 0, 0}, m);
  EXPECT_EQ(m[0], 4.0f);
  EXPECT_EQ(m[5], 4.0f);
  EXPECT_EQ(m[10], 4.0f);
}

TEST(SceneMath, AxisAngleRoundTrip) {
  Vec3 axis = {0.6f, 0.0f, 0.8f};
  Vec3 back;
  float angle;
  QuaternionToAxisAngle(AxisAngleToQuaternion(axis, 1.2f), back, angle);
  EXPECT_NEAR(angle, 1.2f, 1e-5f);
  ExpectNear(back, axis);
  QuaternionToAxisAngle({1, 0, 0, 0}, back, angle);
  EXPECT_EQ(angle, 0.0f);
  ExpectNear(back, {0, 1, 0});
}

TEST(SceneMath, SlerpTakesTheArcAboveTheThresholdAndTheLineAtIt) {
  Quaternion a = {1, 0, 0, 0};
  Quaternion b = AxisAngleToQuaternion({0, 0, 1}, 1.0f);
  Quaternion half = Slerp(a, b, 0.5f);
  Quaternion expected = AxisAngleToQuaternion({0, 0, 1}, 0.5f);
  EXPECT_NEAR(half.w, expected.w, 1e-6f);
  EXPECT_NEAR(half.z, expected.z, 1e-6f);
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
  Quaternion arc = Slerp(a, at, 0.5f);
  EXPECT_GT(arc.w, 0.5f * 1.0f + 0.5f * 0.99999f + 1e-6f);
}

TEST(SceneMath, SlerpOfQAndMinusQIsQ) {
  Quaternion q = AxisAngleToQuaternion({1, 0, 0}, 0.7f);
  Quaternion minus = {-q.w, -q.x, -q.y, -q.z};
  for (float t : {0.0f, 0.5f, 1.0f}) {
    Quaternion r = Slerp(q, minus, t);
    EXPECT_NEAR(r.w, q.w, 1e-6f);
    EXPECT_NEAR(r.x, q.x, 1e-6f);
  }
}

TEST(SceneMath, SlerpFlipsTheSignToTakeTheShorterArc) {
  Quaternion a = {1, 0, 0, 0};
  Quaternion b = AxisAngleToQuaternion({0, 0, 1}, 0.4f);
  Quaternion flipped = {-b.w, -b.x, -b.y, -b.z};
  Quaternion r = Slerp(a, flipped, 0.5f);
  Quaternion expected = AxisAngleToQuaternion({0, 0, 1}, 0.2f);
  EXPECT_NEAR(r.w, expected.w, 1e-6f);
  EXPECT_NEAR(r.z, expected.z, 1e-6f);
}

TEST(SceneMath, AffineProductIgnoresTheFourthColumn) {
  float a[16] = {0, 1, 0, 99, -1, 0, 0, 99, 0, 0, 1, 99, 1, 2, 3, 99};  // quarter turn about z, moved
  float b[16] = {2, 0, 0, -5, 0, 2, 0, -5, 0, 0, 2, -5, 10, 0, 0, -5};  // scale 2, moved along x
  float c[16];
  for (float& v : c) v = 42.0f;
  MultiplyAffine(a, b, c);
  Vec3 p = Transform(Transform({1, 0, 0}, a), b);
  ExpectNear(Transform({1, 0, 0}, c), p);
  EXPECT_EQ(c[12], 12.0f);
  EXPECT_EQ(c[13], 4.0f);
  EXPECT_EQ(c[14], 6.0f);
  EXPECT_EQ(c[3], 42.0f);
  EXPECT_EQ(c[15], 42.0f);
}

TEST(SceneMath, ProductsMayWriteOverAnOperand) {
  float a[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1};
  float b[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  MultiplyAffine(a, b, a);
  ExpectNear(Transform({1, 0, 0}, a), {-1, 1, 0});
}

TEST(SceneMath, NormalizeAndHighestBit) {
  Vec3 v = {3, 0, 4};
  Normalize(v);
  EXPECT_FLOAT_EQ(v.x, 0.6f);
  EXPECT_FLOAT_EQ(v.z, 0.8f);
  Vec3 zero = {0, 0, 0};
  Normalize(zero);
  EXPECT_FALSE(std::isfinite(zero.x));
  EXPECT_EQ(HighestBit(1), 0u);
  EXPECT_EQ(HighestBit(256), 8u);
  EXPECT_EQ(HighestBit(300), 8u);
  EXPECT_EQ(HighestBit(0xF800), 15u);
  EXPECT_EQ(HighestBit(0x80000000u), 31u);
}

}  // namespace
