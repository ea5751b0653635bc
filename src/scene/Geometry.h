// The small 3D math of the camera and the 3D transitions: a four-float
// vector and a 4 × 4 float matrix used with row vectors (a point is
// multiplied from the left, v × M) and the translation in the fourth row.
// Everything stays in float, as the stored camera does. Plain values: no
// virtual operations, so a CVector is exactly its four floats.
#pragma once

class CVector {
 public:
  CVector() = default;
  CVector(float vx, float vy, float vz, float vw = 0.0f) : x(vx), y(vy), z(vz), w(vw) {}

  // Length of x, y, z.
  float Length() const;
  // x, y, z divided by the length and w set to 0; a zero vector stays zero.
  void Normalize3();

  float x = 0.0f, y = 0.0f, z = 0.0f, w = 0.0f;
};

static_assert(sizeof(CVector) == 16, "a vector is four floats");

// a × b of the x, y, z parts (w 0), and their dot product.
CVector Cross3(const CVector& a, const CVector& b);
float Dot3(const CVector& a, const CVector& b);

class CMatrix {
 public:
  CMatrix() = default;

  // All zero.
void Clear();
void Identity();
  // Field of view f, far F, near N, aspect k: m00 = 1 ÷ tan(f ÷ 2),
  // m11 = m00 × k, m22 = F ÷ (F − N), m23 = 1, m32 = −N × F ÷ (F − N).
void CreateProjectionMat(float fov, float farZ, float nearZ, float aspect);
  // The axes of the view from `eye` towards `at` as columns, and
  // (−x·E, −y·E, −z·E, 1) as the fourth row.
void CreateViewMat(const CVector& eye, const CVector& at, const CVector& up);
void CreateRotX(float angle);
void CreateRotY(float angle);
void CreateRotZ(float angle);
  // This = a × b (either may be this matrix).
void MulMatrix(const CMatrix& a, const CMatrix& b);
  // (v.x, v.y, v.z, v.w) × this.
CVector MulVector(const CVector& v) const;
  // The transpose of the upper 3 × 3 part; the rest as the identity.
CMatrix Transpose3() const;

  float m[4][4] = {};
};
