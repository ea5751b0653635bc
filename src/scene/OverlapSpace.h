// The little 3D arithmetic of the transitions that turn pictures in space
// (Glass, RotDoor): 4 × 4 float matrices used with row vectors (a point is
// multiplied from the left, translation in the fourth row), the three
// rotations, a look-at view and a perspective projection. The conventions
// are those of the camera, so a turned picture and a camera move agree.
#pragma once
#include <cmath>

namespace ovl {

struct Vec {
  float x = 0, y = 0, z = 0, w = 0;
};

struct Mat {
  float m[4][4] = {};
};

inline Mat Identity() {
  Mat r;
  for (int i = 0; i < 4; ++i) r.m[i][i] = 1;
  return r;
}

inline Mat RotX(float angle) {
  Mat r = Identity();
  const float c = std::cos(angle), s = std::sin(angle);
  r.m[1][1] = c;
  r.m[2][2] = c;
  r.m[1][2] = -s;
  r.m[2][1] = s;
  return r;
}

inline Mat RotY(float angle) {
  Mat r = Identity();
  const float c = std::cos(angle), s = std::sin(angle);
  r.m[0][0] = c;
  r.m[2][2] = c;
  r.m[0][2] = s;
  r.m[2][0] = -s;
  return r;
}

inline Mat RotZ(float angle) {
  Mat r = Identity();
  const float c = std::cos(angle), s = std::sin(angle);
  r.m[0][0] = c;
  r.m[1][1] = c;
  r.m[0][1] = -s;
  r.m[1][0] = s;
  return r;
}

// a × b.
inline Mat Mul(const Mat& a, const Mat& b) {
  Mat r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
      r.m[i][j] = sum;
    }
  return r;
}

inline Vec Cross(const Vec& a, const Vec& b) {
  return Vec{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x, 0};
}

inline float Dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// x, y, z divided by the length, w 0; a vector of length 0 stays 0.
inline Vec Normalize3(const Vec& v) {
  const float length = std::sqrt(Dot(v, v));
  if (length == 0) return Vec{};
  return Vec{v.x / length, v.y / length, v.z / length, 0};
}

// The view from `eye` towards `at` with `up` upwards.
inline Mat View(const Vec& eye, const Vec& at, const Vec& up) {
  const Vec z = Normalize3(Vec{at.x - eye.x, at.y - eye.y, at.z - eye.z, 0});
  const Vec x = Normalize3(Cross(up, z));
  const Vec y = Cross(z, x);
  Mat r;
  r.m[0][0] = x.x, r.m[0][1] = y.x, r.m[0][2] = z.x;
  r.m[1][0] = x.y, r.m[1][1] = y.y, r.m[1][2] = z.y;
  r.m[2][0] = x.z, r.m[2][1] = y.z, r.m[2][2] = z.z;
  r.m[3][0] = -Dot(x, eye), r.m[3][1] = -Dot(y, eye), r.m[3][2] = -Dot(z, eye);
  r.m[3][3] = 1;
  return r;
}

inline Mat Projection(float fov, float farZ, float nearZ, float aspect) {
  Mat r;
  r.m[0][0] = 1 / std::tan(fov / 2);
  r.m[1][1] = r.m[0][0] * aspect;
  r.m[2][2] = farZ / (farZ - nearZ);
  r.m[2][3] = 1;
  r.m[3][2] = -nearZ * farZ / (farZ - nearZ);
  return r;
}

// (v.x, v.y, v.z, 1) × m.
inline Vec Apply(const Vec& v, const Mat& m) {
  Vec r;
  r.x = v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0] + m.m[3][0];
  r.y = v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1] + m.m[3][1];
  r.z = v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2] + m.m[3][2];
  r.w = v.x * m.m[0][3] + v.y * m.m[1][3] + v.z * m.m[2][3] + m.m[3][3];
  return r;
}

}  // namespace ovl
