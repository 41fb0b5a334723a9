// Vectors, row-vector 4x4 matrices and quaternions in 32-bit floats.
#include "scene/math.h"

#include <cmath>

namespace {

constexpr float kSlerpLinearAbove = 0.99999f;

}  // namespace

void Normalize(Vec3& v) {
  float s = 1.0f / std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  v.x *= s;
  v.y *= s;
  v.z *= s;
}

float Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

bool IsFinite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

bool IsFinite(const Quaternion& q) {
  return std::isfinite(q.w) && std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z);
}

Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

void MultiplyRotation(const float* a, const float* b, float* c) {
  float r[9];
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      r[row * 3 + col] = a[row * 4] * b[col] + a[row * 4 + 1] * b[4 + col] + a[row * 4 + 2] * b[8 + col];
    }
  }
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) c[row * 4 + col] = r[row * 3 + col];
  }
}

void MultiplyAffine(const float* a, const float* b, float* c) {
  float t[3];
  for (int col = 0; col < 3; ++col) t[col] = a[12] * b[col] + a[13] * b[4 + col] + a[14] * b[8 + col] + b[12 + col];
  MultiplyRotation(a, b, c);
  c[12] = t[0];
  c[13] = t[1];
  c[14] = t[2];
}

void EulerToMatrix(float a, float b, float c, float* m) {
  float ca = std::cos(a), sa = std::sin(a);
  float cb = std::cos(b), sb = std::sin(b);
  float cc = std::cos(c), sc = std::sin(c);
  m[0] = cc * cb;
  m[1] = ca * sc + sa * sb * cc;
  m[2] = sa * sc - sb * ca * cc;
  m[4] = -sc * cb;
  m[5] = ca * cc - sa * sb * sc;
  m[6] = sb * ca * sc + sa * cc;
  m[8] = sb;
  m[9] = -sa * cb;
  m[10] = ca * cb;
  m[12] = m[13] = m[14] = 0.0f;
}

void QuaternionToRotation(const Quaternion& q, float* m) {
  float ww = q.w * q.w, xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
  m[0] = ww + xx - yy - zz;
  m[1] = 2.0f * (q.w * q.z + q.x * q.y);
  m[2] = 2.0f * (q.x * q.z - q.w * q.y);
  m[4] = 2.0f * (q.x * q.y - q.w * q.z);
  m[5] = ww - xx + yy - zz;
  m[6] = 2.0f * (q.y * q.z + q.w * q.x);
  m[8] = 2.0f * (q.w * q.y + q.x * q.z);
  m[9] = 2.0f * (q.y * q.z - q.w * q.x);
  m[10] = ww - xx - yy + zz;
}

void QuaternionToMatrix(const Quaternion& q, float* m) {
  QuaternionToRotation(q, m);
  m[12] = m[13] = m[14] = 0.0f;
}

bool HasFiniteRotation(const Quaternion& q) {
  float m[16];
  QuaternionToRotation(q, m);
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      if (!std::isfinite(m[row * 4 + col])) return false;
    }
  }
  return true;
}

Quaternion AxisAngleToQuaternion(const Vec3& axis, float angle) {
  float s = std::sin(angle * 0.5f);
  return {std::cos(angle * 0.5f), s * axis.x, s * axis.y, s * axis.z};
}

void QuaternionToAxisAngle(const Quaternion& q, Vec3& axis, float& angle) {
  angle = 2.0f * std::acos(q.w);
  float s = std::sin(angle * 0.5f);
  if (angle != 0.0f && s != 0.0f) {
    axis = {q.x / s, q.y / s, q.z / s};
  } else {
    axis = {0.0f, 1.0f, 0.0f};
  }
}

Quaternion Slerp(const Quaternion& q0, const Quaternion& q1, float t) {
  float d = q0.w * q1.w + q0.x * q1.x + q0.y * q1.y + q0.z * q1.z;
  float sign = 1.0f;
  if (d < 0.0f) {
    d = -d;
    sign = -1.0f;
  }
  float w0, w1;
  if (d <= kSlerpLinearAbove) {
    float omega = std::acos(d);
    float s = std::sin(omega);
    w0 = std::sin(omega - t * omega) / s;
    w1 = std::sin(t * omega) / s;
  } else {
    w0 = 1.0f - t;
    w1 = t;
  }
  w1 *= sign;
  return {w0 * q0.w + w1 * q1.w, w0 * q0.x + w1 * q1.x, w0 * q0.y + w1 * q1.y, w0 * q0.z + w1 * q1.z};
}

uint32_t HighestBit(uint32_t v) {
  uint32_t bit = 0;
  while (v >>= 1) ++bit;
  return bit;
}
