// The scene's own trigonometry against the C library, the matrices as laid
// out (row vectors, translation in the fourth row), and the natural spline
// against a solution worked out independently in double precision.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "scene/Geometry.h"
#include "scene/SceneMath.h"
#include "scene/Spline.h"

namespace {

TEST(SceneMath, TrigonometryFollowsTheLibraryClosely) {
  for (double x = -40.0; x <= 40.0; x += 0.0137) {
    ASSERT_NEAR(smath::Sin(x), std::sin(x), 2e-15) << x;
    ASSERT_NEAR(smath::Cos(x), std::cos(x), 2e-15) << x;
  }
  for (double x : {1e5, -123456.789, 999999.5, 3e7})
    EXPECT_NEAR(smath::Sin(x), std::sin(x), 1e-8) << x;
  EXPECT_NEAR(smath::Sin(-1e9), std::sin(-1e9), 1e-6);  // a turn of 2π in double drifts this far
  EXPECT_NEAR(smath::Tan(0.7853982), std::tan(0.7853982), 1e-15);
  for (double y = -3.0; y <= 3.0; y += 0.25)
    for (double x = -3.0; x <= 3.0; x += 0.125) ASSERT_NEAR(smath::Atan2(y, x), std::atan2(y, x), 1e-15) << y << " " << x;
  EXPECT_EQ(smath::Atan2(0.0, 0.0), 0.0);
  EXPECT_NEAR(smath::Atan2(1e300, 1e-300), std::atan2(1e300, 1e-300), 1e-15);
  EXPECT_TRUE(std::isnan(smath::Sin(INFINITY)));
  EXPECT_NEAR(smath::WrapTwoPi(-0.5), smath::kTwoPi - 0.5, 1e-15);
  EXPECT_NEAR(smath::WrapTwoPi(7.0), 7.0 - smath::kTwoPi, 1e-15);
  EXPECT_EQ(smath::WrapTwoPi(NAN), 0.0);
}

TEST(Matrix, ProjectionViewAndRotationsSitWhereTheRowVectorConventionPutsThem) {
  CMatrix p;
  p.CreateProjectionMat(1.5707964f, 1000.0f, 0.1f, 2.0f);
  EXPECT_NEAR(p.m[0][0], 1.0f, 1e-6f);
  EXPECT_NEAR(p.m[1][1], 2.0f, 2e-6f);
  EXPECT_FLOAT_EQ(p.m[2][2], 1000.0f / 999.9f);
  EXPECT_EQ(p.m[2][3], 1.0f);
  EXPECT_FLOAT_EQ(p.m[3][2], -0.1f * 1000.0f / 999.9f);
  EXPECT_EQ(p.m[3][3], 0.0f);

  // Looking from +x at the origin: the view's z axis points along −x and a
  // point at the origin lies 1000 ahead.
  CMatrix v;
  v.CreateViewMat(CVector(1000, 0, 0), CVector(0, 0, 0), CVector(0, 1, 0));
  CVector o = v.MulVector(CVector(0, 0, 0, 1));
  EXPECT_FLOAT_EQ(o.z, 1000.0f);
  EXPECT_NEAR(o.x, 0.0f, 1e-4f);
  CVector side = v.MulVector(CVector(0, 0, 100, 1));  // to the viewer's right
  EXPECT_NEAR(side.x, 100.0f, 1e-4f);
  EXPECT_NEAR(side.z, 1000.0f, 1e-4f);

  CMatrix rz, rx, ry;
  rz.CreateRotZ(0.5f);
  rx.CreateRotX(0.5f);
  ry.CreateRotY(0.5f);
  const float c = std::cos(0.5f), s = std::sin(0.5f);
  EXPECT_NEAR(rz.m[0][1], -s, 1e-7f);
  EXPECT_NEAR(rz.m[1][0], s, 1e-7f);
  EXPECT_NEAR(rx.m[1][2], -s, 1e-7f);
  EXPECT_NEAR(rx.m[2][1], s, 1e-7f);
  EXPECT_NEAR(ry.m[0][2], s, 1e-7f);
  EXPECT_NEAR(ry.m[2][0], -s, 1e-7f);
  for (const CMatrix* r : {&rz, &rx, &ry}) {
    EXPECT_EQ(r->m[3][3], 1.0f);
    float trace = r->m[0][0] + r->m[1][1] + r->m[2][2];
    EXPECT_NEAR(trace, 1.0f + 2.0f * c, 1e-6f);
  }
  // A × B applies A first.
  CMatrix both;
  both.MulMatrix(rz, rx);
  CVector once = rx.MulVector(rz.MulVector(CVector(1, 2, 3, 1)));
  CVector twice = both.MulVector(CVector(1, 2, 3, 1));
  EXPECT_NEAR(once.x, twice.x, 1e-5f);
  EXPECT_NEAR(once.y, twice.y, 1e-5f);
  EXPECT_NEAR(once.z, twice.z, 1e-5f);

  CVector zero;
  zero.Normalize3();  // no direction: stays zero instead of NaN
  EXPECT_EQ(zero.x, 0.0f);
  EXPECT_EQ(zero.z, 0.0f);
}

// The natural cubic spline at unit spacing, by plain Gaussian elimination
// of the full system for the second-derivative halves c.
std::vector<double> NaturalC(const std::vector<double>& y) {
  const size_t n = y.size();
  std::vector<std::vector<double>> a(n, std::vector<double>(n + 1, 0.0));
  a[0][0] = 1.0;
  a[n - 1][n - 1] = 1.0;
  for (size_t i = 1; i + 1 < n; ++i) {
    a[i][i - 1] = 1.0;
    a[i][i] = 4.0;
    a[i][i + 1] = 1.0;
    a[i][n] = 3.0 * (y[i - 1] - 2.0 * y[i] + y[i + 1]);
  }
  for (size_t k = 0; k < n; ++k)
    for (size_t i = k + 1; i < n; ++i) {
      double f = a[i][k] / a[k][k];
      for (size_t j = k; j <= n; ++j) a[i][j] -= f * a[k][j];
    }
  std::vector<double> c(n);
  for (size_t i = n; i-- > 0;) {
    double s = a[i][n];
    for (size_t j = i + 1; j < n; ++j) s -= a[i][j] * c[j];
    c[i] = s / a[i][i];
  }
  return c;
}

TEST(Spline, PassesThroughItsPointsAndMatchesTheNaturalCurve) {
  const std::vector<double> ys = {-400.0, 120.0, 35.5, 610.0, 0.0, -75.25};
  CSpline spline;
  for (double y : ys) ASSERT_TRUE(spline.Add(static_cast<float>(y), static_cast<float>(-y), 7.0f));
  spline.Setup();
  EXPECT_EQ(spline.GetValue(0, 0.0f), -400.0f);
  EXPECT_EQ(spline.GetValue(0, 1.0f), -75.25f);
  EXPECT_EQ(spline.GetValue(1, 1.0f), 75.25f);
  EXPECT_EQ(spline.GetValue(0, 3.5f), -75.25f);  // beyond the end: the last point

  const std::vector<double> c = NaturalC(ys);
  const int n = static_cast<int>(ys.size());
  for (int k = 0; k <= 50; ++k) {
    const double t = k / 50.0;
    const double x = t * (n - 1);
    int s = std::min(static_cast<int>(x), n - 2);
    const double u = x - s;
    const double d = (c[s + 1] - c[s]) / 3.0;
    const double b = (ys[s + 1] - ys[s]) - c[s] - d;
    const double want = t >= 1.0 ? ys[n - 1] : ys[s] + u * (b + u * (c[s] + u * d));
    EXPECT_NEAR(spline.GetValue(0, static_cast<float>(t)), want, 2e-3) << t;
    EXPECT_NEAR(spline.GetValue(1, static_cast<float>(t)), -want, 2e-3) << t;
    EXPECT_NEAR(spline.GetValue(2, static_cast<float>(t)), 7.0, 1e-5) << t;
  }
  // Every point lies on the curve.
  for (int i = 0; i < n; ++i)
    EXPECT_NEAR(spline.GetValue(0, static_cast<float>(i) / (n - 1)), ys[i], 1e-3) << i;
}

TEST(Spline, HoldsAtMostAHundredPointsAndAnswersWithoutAny) {
  CSpline spline;
  EXPECT_EQ(spline.GetValue(0, 0.5f), 0.0f);
  for (int i = 0; i < CSpline::kMaxPoints; ++i) ASSERT_TRUE(spline.Add(static_cast<float>(i)));
  EXPECT_FALSE(spline.Add(1.0f));
  spline.Setup();
  EXPECT_EQ(spline.GetValue(0, 1.0f), 99.0f);
  EXPECT_NEAR(spline.GetValue(0, 0.5f), 49.5f, 1e-3f);  // a straight line stays straight
  EXPECT_EQ(spline.GetValue(3, 0.5f), 0.0f);            // no such channel
  CSpline one;
  one.Add(5.0f);
  one.Setup();
  EXPECT_EQ(one.GetValue(0, 0.25f), 5.0f);
}

}  // namespace
