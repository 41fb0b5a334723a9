// Vectors, row-vector 4x4 matrices and quaternions in 32-bit floats, shared by the scene model and the renderers.
//
// A matrix is 16 floats, row-major: element (r, c) at 4r + c. A point is a row vector, p' = p x M,
// so rows 0-2 are the images of the axes and row 3 (12, 13, 14) is the translation. These
// routines maintain only the 3x3 part and the translation row: the fourth column (3, 7, 11, 15)
// is never read or written here. Quaternions are w, x, y, z; angles are radians.
#pragma once

#include <cstdint>

struct Vec3 {
  float x, y, z;
};
static_assert(sizeof(Vec3) == 12);

struct Quaternion {
  float w, x, y, z;
};
static_assert(sizeof(Quaternion) == 16);

constexpr int kMatrixSize = 16;

// In place; the zero vector yields non-finite components.
void Normalize(Vec3& v);
float Dot(const Vec3& a, const Vec3& b);
// True when no component is NaN or infinite.
bool IsFinite(const Vec3& v);
bool IsFinite(const Quaternion& q);
Vec3 Cross(const Vec3& a, const Vec3& b);

// c = a x b over the 3x3 parts; c's translation = a's translation x b's 3x3 + b's translation.
// c may be a or b.
void MultiplyAffine(const float* a, const float* b, float* c);
// c's 3x3 = a's 3x3 x b's 3x3; nothing else of c is written. c may be a or b.
void MultiplyRotation(const float* a, const float* b, float* c);
// m's 3x3 = Rz(c) x Ry(b) x Rx(a); translation row 0.
void EulerToMatrix(float a, float b, float c, float* m);
// The 3x3 of q (not normalised: a non-unit quaternion also scales); translation row 0.
void QuaternionToMatrix(const Quaternion& q, float* m);
// The same 3x3; the translation row is left as it is.
void QuaternionToRotation(const Quaternion& q, float* m);
// Whether that 3x3 is finite: false for a quaternion that is not, or so long that its squares overflow.
bool HasFiniteRotation(const Quaternion& q);
Quaternion AxisAngleToQuaternion(const Vec3& axis, float angle);
// A zero angle (or a zero sine) gives the axis (0, 1, 0).
void QuaternionToAxisAngle(const Quaternion& q, Vec3& axis, float& angle);
// Shortest-arc blend; linear above the 0.99999f dot product; not renormalised.
Quaternion Slerp(const Quaternion& q0, const Quaternion& q1, float t);
// Index of the highest set bit; 0 for 0.
uint32_t HighestBit(uint32_t v);
