#include "scene/Geometry.h"

#include <cmath>

#include "app/core/Trace.h"
#include "scene/SceneMath.h"

float CVector::Length() const {
  Trace("CVector::Length");
  return std::sqrt(x * x + y * y + z * z);
}

void CVector::Normalize3() {
  Trace("CVector::Normalize3");
  const float len = Length();
  w = 0.0f;
  // A zero (or overflowing) vector has no direction: it stays zero, and
  // whatever is built from it degenerates instead of turning into NaN.
  if (!(len > 0.0f) || !std::isfinite(len)) {
    x = y = z = 0.0f;
    return;
  }
  x = x / len;
  y = y / len;
  z = z / len;
}

CVector Cross3(const CVector& a, const CVector& b) {
  return CVector(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x, 0.0f);
}

float Dot3(const CVector& a, const CVector& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

void CMatrix::Clear() {
  Trace("CMatrix::Clear");
  for (auto& row : m)
    for (float& v : row) v = 0.0f;
}

void CMatrix::Identity() {
  Trace("CMatrix::Identity");
  Clear();
  for (int i = 0; i < 4; ++i) m[i][i] = 1.0f;
}

void CMatrix::CreateProjectionMat(float fov, float farZ, float nearZ, float aspect) {
  Trace("CMatrix::CreateProjectionMat");
  Clear();
  const float half = fov / 2.0f;
  m[0][0] = 1.0f / static_cast<float>(smath::Tan(half));
  m[1][1] = m[0][0] * aspect;
  m[2][2] = farZ / (farZ - nearZ);
  m[2][3] = 1.0f;
  m[3][2] = -nearZ * farZ / (farZ - nearZ);
}

void CMatrix::CreateViewMat(const CVector& eye, const CVector& at, const CVector& up) {
  Trace("CMatrix::CreateViewMat");
  CVector zAxis(at.x - eye.x, at.y - eye.y, at.z - eye.z);
  zAxis.Normalize3();
  CVector xAxis = Cross3(up, zAxis);
  xAxis.Normalize3();
  const CVector yAxis = Cross3(zAxis, xAxis);
  m[0][0] = xAxis.x, m[0][1] = yAxis.x, m[0][2] = zAxis.x, m[0][3] = 0.0f;
  m[1][0] = xAxis.y, m[1][1] = yAxis.y, m[1][2] = zAxis.y, m[1][3] = 0.0f;
  m[2][0] = xAxis.z, m[2][1] = yAxis.z, m[2][2] = zAxis.z, m[2][3] = 0.0f;
  m[3][0] = -Dot3(xAxis, eye);
  m[3][1] = -Dot3(yAxis, eye);
  m[3][2] = -Dot3(zAxis, eye);
  m[3][3] = 1.0f;
}

void CMatrix::CreateRotX(float angle) {
  Trace("CMatrix::CreateRotX");
  Identity();
  const float c = static_cast<float>(smath::Cos(angle)), s = static_cast<float>(smath::Sin(angle));
  m[1][1] = c, m[1][2] = -s;
  m[2][1] = s, m[2][2] = c;
}

void CMatrix::CreateRotY(float angle) {
  Trace("CMatrix::CreateRotY");
  Identity();
  const float c = static_cast<float>(smath::Cos(angle)), s = static_cast<float>(smath::Sin(angle));
  m[0][0] = c, m[0][2] = s;
  m[2][0] = -s, m[2][2] = c;
}

void CMatrix::CreateRotZ(float angle) {
  Trace("CMatrix::CreateRotZ");
  Identity();
  const float c = static_cast<float>(smath::Cos(angle)), s = static_cast<float>(smath::Sin(angle));
  m[0][0] = c, m[0][1] = -s;
  m[1][0] = s, m[1][1] = c;
}

void CMatrix::MulMatrix(const CMatrix& a, const CMatrix& b) {
  Trace("CMatrix::MulMatrix");
  float out[4][4];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      out[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) m[i][j] = out[i][j];
}

CVector CMatrix::MulVector(const CVector& v) const {
  Trace("CMatrix::MulVector");
  CVector r;
  r.x = v.x * m[0][0] + v.y * m[1][0] + v.z * m[2][0] + v.w * m[3][0];
  r.y = v.x * m[0][1] + v.y * m[1][1] + v.z * m[2][1] + v.w * m[3][1];
  r.z = v.x * m[0][2] + v.y * m[1][2] + v.z * m[2][2] + v.w * m[3][2];
  r.w = v.x * m[0][3] + v.y * m[1][3] + v.z * m[2][3] + v.w * m[3][3];
  return r;
}

CMatrix CMatrix::Transpose3() const {
  Trace("CMatrix::Transpose3");
  CMatrix t;
  t.Identity();
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) t.m[i][j] = m[j][i];
  return t;
}
