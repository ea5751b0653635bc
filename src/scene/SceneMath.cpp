#include "scene/SceneMath.h"

#include <cmath>

namespace smath {
namespace {

// π ÷ 2 in three parts, the first with few enough bits that k × part is
// exact for the quadrant counts met here.
constexpr double kPio2Hi = 1.57079632673412561417e+00;
constexpr double kPio2Mid = 6.07710050630396597660e-11;
constexpr double kPio2Lo = 2.02226624879595063154e-21;
constexpr double kInvPio2 = 6.36619772367581382433e-01;
// Beyond this the argument is first brought into one turn.
constexpr double kReduceLimit = 1.0e6;

// Polynomials on −π/4 … π/4.
double KernelSin(double x) {
  const double z = x * x;
  const double p = -1.66666666666666324348e-01 +
                   z * (8.33333333332248946124e-03 +
                        z * (-1.98412698298579493134e-04 +
                             z * (2.75573137070700676789e-06 +
                                  z * (-2.50507602534068634195e-08 + z * 1.58969099521155010221e-10))));
  return x + x * z * p;
}

double KernelCos(double x) {
  const double z = x * x;
  const double p = 4.16666666666666019037e-02 +
                   z * (-1.38888888888741095749e-03 +
                        z * (2.48015872894767294178e-05 +
                             z * (-2.75573143513906633035e-07 +
                                  z * (2.08757232129817482790e-09 + z * -1.13596475577881948265e-11))));
  return 1.0 - 0.5 * z + z * z * p;
}

// x reduced to r in −π/4 … π/4 with x = r + quadrant × π/2.
double Reduce(double x, int* quadrant) {
  if (std::fabs(x) > kReduceLimit) x = std::fmod(x, kTwoPi);
  const double k = std::nearbyint(x * kInvPio2);
  *quadrant = static_cast<int>(static_cast<long long>(k) & 3);
  return ((x - k * kPio2Hi) - k * kPio2Mid) - k * kPio2Lo;
}

// atan on 0 … ∞ by the classic reduction to |t| ≤ 7/16.
double AtanPositive(double x) {
  static const double kHi[4] = {4.63647609000806093515e-01, 7.85398163397448278999e-01,
                                9.82793723247329054082e-01, 1.57079632679489655800e+00};
  static const double kLo[4] = {2.26987774529616870924e-17, 3.06161699786838301793e-17,
                                1.39033110312309984516e-17, 6.12323399573676603587e-17};
  static const double kT[11] = {3.33333333333329318027e-01,  -1.99999999998764832476e-01,
                                1.42857142725034663711e-01,  -1.11111104054623557880e-01,
                                9.09088713343650656196e-02,  -7.69187620504482999495e-02,
                                6.66107313738753120669e-02,  -5.83357013379057348645e-02,
                                4.97687799461593236017e-02,  -3.65315727442169155270e-02,
                                1.62858201153657823623e-02};
  if (std::isinf(x)) return kHi[3] + kLo[3];
  int id;
  if (x < 0.4375) {
    id = -1;
  } else if (x < 1.1875) {
    if (x < 0.6875) {
      id = 0;
      x = (2.0 * x - 1.0) / (2.0 + x);
    } else {
      id = 1;
      x = (x - 1.0) / (x + 1.0);
    }
  } else if (x < 2.4375) {
    id = 2;
    x = (x - 1.5) / (1.0 + 1.5 * x);
  } else {
    id = 3;
    x = -1.0 / x;
  }
  const double z = x * x;
  const double w = z * z;
  const double s1 = z * (kT[0] + w * (kT[2] + w * (kT[4] + w * (kT[6] + w * (kT[8] + w * kT[10])))));
  const double s2 = w * (kT[1] + w * (kT[3] + w * (kT[5] + w * (kT[7] + w * kT[9]))));
  if (id < 0) return x - x * (s1 + s2);
  return kHi[id] - ((x * (s1 + s2) - kLo[id]) - x);
}

}  // namespace

double Sin(double x) {
  if (!std::isfinite(x)) return std::nan("");
  int q;
  const double r = Reduce(x, &q);
  switch (q) {
    case 0: return KernelSin(r);
    case 1: return KernelCos(r);
    case 2: return -KernelSin(r);
    default: return -KernelCos(r);
  }
}

double Cos(double x) {
  if (!std::isfinite(x)) return std::nan("");
  int q;
  const double r = Reduce(x, &q);
  switch (q) {
    case 0: return KernelCos(r);
    case 1: return -KernelSin(r);
    case 2: return -KernelCos(r);
    default: return KernelSin(r);
  }
}

double Tan(double x) { return Sin(x) / Cos(x); }

double Atan2(double y, double x) {
  if (std::isnan(x) || std::isnan(y)) return std::nan("");
  if (x == 0.0) {
    if (y == 0.0) return 0.0;
    return y > 0.0 ? kPi / 2.0 : -kPi / 2.0;
  }
  double a;
  if (std::isinf(x) && std::isinf(y)) a = kPi / 4.0;
  else a = AtanPositive(std::fabs(y / x));
  if (x < 0.0) a = kPi - a;
  return y < 0.0 ? -a : a;
}

double WrapTwoPi(double a) {
  if (!std::isfinite(a)) return 0.0;
  if (a >= 0.0 && a <= kTwoPi) return a;
  a = std::fmod(a, kTwoPi);
  return a < 0.0 ? a + kTwoPi : a;
}

}  // namespace smath
