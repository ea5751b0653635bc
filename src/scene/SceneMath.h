// The trigonometry of the scene: sine, cosine, tangent and arc tangent
// computed by this program's own polynomials in plain double arithmetic, so
// that every machine gets the same bits (the C library's versions differ
// between library builds and pick processor-specific variants at run time).
// Accurate to a few units in the last place, which is all the integer
// pixel arithmetic they feed needs.
#pragma once

namespace smath {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

double Sin(double x);
double Cos(double x);
double Tan(double x);
double Atan2(double y, double x);
// Moves an angle into 0 … 2π.
double WrapTwoPi(double a);

}  // namespace smath
