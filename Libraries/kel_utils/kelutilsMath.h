// Small numeric helpers: clamping and range tests, sentinel-terminated minimum and maximum,
// rounding, fractions, angles, cleaned trigonometry and pseudo-random numbers.
#ifndef KEL_UTILS_MATH_H
#define KEL_UTILS_MATH_H

#include <cstdint>

namespace kel::utils {

double checkMin(double value, double minimum);
int checkMin(int value, int minimum);
double checkMax(double value, double maximum);
int checkMax(int value, int maximum);
/// value clamped into the range of the two bounds, given in either order.
double checkRange(double value, double boundA, double boundB);
int checkRange(int value, int boundA, int boundB);
/// Inclusive range test; bounds in either order.
bool inRange(double value, double boundA, double boundB);
bool inRange(int value, int boundA, int boundB);
double checkZero(double value, double replacement);
int checkZero(int value, int replacement);
double checkNaN(double value, double replacement);
/// replacement for +infinity, -replacement for -infinity.
double checkInf(double value, double replacement);
bool equalWithinTol(double a, double b, double tolerance);

/// Variadic minimum / maximum. The list ends with a sentinel: a value within 1e-6 of DBL_MAX
/// (double getMin), of -DBL_MAX (double getMax), 2147483647 (int getMin) or -2147483647
/// (int getMax). The first value is never tested against the sentinel.
double getMin(double first, ...);
int getMin(int first, ...);
double getMax(double first, ...);
int getMax(int first, ...);

/// Halves away from zero. As for floor and ceil, results beyond the 64-bit range saturate
/// and NaN gives 0.
std::int64_t round(double x);
/// Toward zero.
std::int64_t floor(double x);
/// Away from zero.
std::int64_t ceil(double x);
/// round(x * |denominator|) / |denominator|; -DBL_MAX when denominator is 0.
double roundToDenom(double x, double denominator);
/// x rounded to |decimals| decimal places; -DBL_MAX when 10^|decimals| is 0.
double roundToDecimals(double x, double decimals);
/// numerator / denominator approximates x with the given denominator (made positive; the
/// numerator carries the sign of x times that of the denominator), in lowest terms when
/// reduce is set. Nothing changes when denominator is 0.
void fractionWithDenom(double x, std::int64_t& denominator, std::int64_t& numerator, bool reduce);

double degreesToRadians(double x);
double radiansToDegrees(double x);
/// The standard functions of x cleaned first (NaN as 0, infinities as +-DBL_MAX; clamped
/// into [-1, 1] for asin and acos); results within tolerance of 0 become exactly 0.0.
double sin(double x, double tolerance);
double cos(double x, double tolerance);
double tan(double x, double tolerance);
double atan(double x, double tolerance);
double asin(double x, double tolerance);
double acos(double x, double tolerance);

/// rand() / RAND_MAX, in [0, 1]. The generator is seeded once per process on first use.
double random();
/// Uniform integer between the bounds (given in either order), both included.
int random(int a, int b);
/// Between the smaller bound and the larger bound plus 1e-10.
double random(double a, double b);

}  // namespace kel::utils

#endif
