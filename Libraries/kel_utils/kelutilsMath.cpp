// Numeric helpers: clamping, sentinel-terminated minimum and maximum, rounding, fractions,
// angles, cleaned trigonometry and pseudo-random numbers.
#include "kelutilsMath.h"

#include "kelutilsNativeFiles.h"

#include <cfloat>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <numeric>

namespace kel::utils {

namespace {

const double __sentinelTolerance = 1e-6;
const int __intMinSentinel = 2147483647;
const int __intMaxSentinel = -2147483647;

/// Written so that a NaN in a list is an ordinary value (one that never wins), not an end.
bool __isSentinel(double value, double sentinel)
{
    return std::fabs(value - sentinel) <= __sentinelTolerance;
}

/// Truncates toward zero; NaN gives 0 and values beyond the 64-bit range saturate, because
/// converting them directly would be undefined.
std::int64_t __toInt64(double x)
{
    if (std::isnan(x))
        return 0;
    if (x >= 9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::max();
    if (x < -9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(x);
}

/// NaN becomes 0 and the infinities the largest finite values of their sign.
double __cleanAngle(double x)
{
    if (std::isnan(x))
        return 0.0;
    if (std::isinf(x))
        return x > 0 ? DBL_MAX : -DBL_MAX;
    return x;
}

double __snapToZero(double result, double tolerance)
{
    return equalWithinTol(result, 0.0, tolerance) ? 0.0 : result;
}

double __clampUnit(double x)
{
    return checkRange(x, -1.0, 1.0);
}

/// Seeds the standard generator once per process and discards its first value.
void __seedOnce()
{
    static bool seeded = false;
    if (seeded)
        return;
    seeded = true;
    const auto seed = static_cast<unsigned int>(__currentProcessId())
                      + static_cast<unsigned int>(std::clock())
                      + static_cast<unsigned int>(std::time(nullptr));
    std::srand(seed);
    std::rand();
}

/// In [0, 1]. Divided by RAND_MAX (2147483647 on POSIX systems) rather than by a fixed
/// 2147483647, which would confine every draw near 0 where RAND_MAX is 32767.
double __unitRandom()
{
    __seedOnce();
    return std::rand() / static_cast<double>(RAND_MAX);
}

// The exact form of floor(x + 0.5) (ceil(x - 0.5) below zero): adding 0.5 in floating point
// would itself round, turning 0.49999999999999994 into 1 and 2^52 + 1 into 2^52 + 2. Some C
// libraries' std::round does just that, so the fraction is compared instead.
double __roundHalfAway(double x)
{
    const double whole = std::trunc(x);
    return std::fabs(x - whole) >= 0.5 ? whole + std::copysign(1.0, x) : whole;
}

}  // namespace

double checkMin(double value, double minimum)
{
    return value < minimum ? minimum : value;
}
int checkMin(int value, int minimum)
{
    return value < minimum ? minimum : value;
}
double checkMax(double value, double maximum)
{
    return value > maximum ? maximum : value;
}
int checkMax(int value, int maximum)
{
    return value > maximum ? maximum : value;
}

double checkRange(double value, double boundA, double boundB)
{
    const double low = boundA < boundB ? boundA : boundB;
    const double high = boundA < boundB ? boundB : boundA;
    return checkMax(checkMin(value, low), high);
}

int checkRange(int value, int boundA, int boundB)
{
    const int low = boundA < boundB ? boundA : boundB;
    const int high = boundA < boundB ? boundB : boundA;
    return checkMax(checkMin(value, low), high);
}

bool inRange(double value, double boundA, double boundB)
{
    const double low = boundA < boundB ? boundA : boundB;
    const double high = boundA < boundB ? boundB : boundA;
    return low <= value && value <= high;
}

bool inRange(int value, int boundA, int boundB)
{
    const int low = boundA < boundB ? boundA : boundB;
    const int high = boundA < boundB ? boundB : boundA;
    return low <= value && value <= high;
}

double checkZero(double value, double replacement)
{
    return value == 0 ? replacement : value;
}
int checkZero(int value, int replacement)
{
    return value == 0 ? replacement : value;
}
double checkNaN(double value, double replacement)
{
    return std::isnan(value) ? replacement : value;
}

double checkInf(double value, double replacement)
{
    if (std::isinf(value))
        return value > 0 ? replacement : -replacement;
    return value;
}

bool equalWithinTol(double a, double b, double tolerance)
{
    if (tolerance == 0)
        return a == b;
    return std::fabs(b - a) < std::fabs(tolerance);
}

double getMin(double first, ...)
{
    double smallest = first;
    va_list values;
    va_start(values, first);
    for (double value = va_arg(values, double); !__isSentinel(value, DBL_MAX);
         value = va_arg(values, double))
        smallest = value < smallest ? value : smallest;
    va_end(values);
    return smallest;
}

int getMin(int first, ...)
{
    int smallest = first;
    va_list values;
    va_start(values, first);
    for (int value = va_arg(values, int); value != __intMinSentinel; value = va_arg(values, int))
        smallest = value < smallest ? value : smallest;
    va_end(values);
    return smallest;
}

double getMax(double first, ...)
{
    double largest = first;
    va_list values;
    va_start(values, first);
    for (double value = va_arg(values, double); !__isSentinel(value, -DBL_MAX);
         value = va_arg(values, double))
        largest = value > largest ? value : largest;
    va_end(values);
    return largest;
}

int getMax(int first, ...)
{
    int largest = first;
    va_list values;
    va_start(values, first);
    for (int value = va_arg(values, int); value != __intMaxSentinel; value = va_arg(values, int))
        largest = value > largest ? value : largest;
    va_end(values);
    return largest;
}

std::int64_t round(double x)
{
    return __toInt64(__roundHalfAway(x));
}
std::int64_t floor(double x)
{
    return __toInt64(x >= 0 ? std::floor(x) : std::ceil(x));
}
std::int64_t ceil(double x)
{
    return __toInt64(x >= 0 ? std::ceil(x) : std::floor(x));
}

double roundToDenom(double x, double denominator)
{
    if (denominator == 0)
        return -DBL_MAX;
    const double scale = std::fabs(denominator);
    return static_cast<double>(round(x * scale)) / scale;
}

double roundToDecimals(double x, double decimals)
{
    const double scale = std::pow(10.0, std::fabs(decimals));
    if (scale == 0)
        return -DBL_MAX;
    return static_cast<double>(round(x * scale)) / scale;
}

void fractionWithDenom(double x, std::int64_t& denominator, std::int64_t& numerator, bool reduce)
{
    if (denominator == 0)
        return;
    const bool sameSign = (denominator < 0) == (x < 0);
    if (denominator == std::numeric_limits<std::int64_t>::min())
        denominator = std::numeric_limits<std::int64_t>::max();  // its magnitude does not fit
    denominator = std::llabs(denominator);
    numerator = round(std::fabs(x) * static_cast<double>(denominator));
    // The greatest common divisor is the first common divisor a countdown from the
    // denominator would meet; dividing by it leaves the fraction in lowest terms.
    if (reduce && denominator >= 2) {
        const std::int64_t divisor = std::gcd(numerator, denominator);
        if (divisor >= 2) {
            numerator /= divisor;
            denominator /= divisor;
        }
    }
    if (!sameSign)
        numerator = -numerator;
}

double degreesToRadians(double x)
{
    return x * 0.017453292519943295;
}
double radiansToDegrees(double x)
{
    return x * 57.29577951308232;
}

double sin(double x, double tolerance)
{
    return __snapToZero(std::sin(__cleanAngle(x)), tolerance);
}
double cos(double x, double tolerance)
{
    return __snapToZero(std::cos(__cleanAngle(x)), tolerance);
}
double tan(double x, double tolerance)
{
    return __snapToZero(std::tan(__cleanAngle(x)), tolerance);
}
double atan(double x, double tolerance)
{
    return __snapToZero(std::atan(__cleanAngle(x)), tolerance);
}

double asin(double x, double tolerance)
{
    return __snapToZero(std::asin(__clampUnit(__cleanAngle(x))), tolerance);
}

double acos(double x, double tolerance)
{
    return __snapToZero(std::acos(__clampUnit(__cleanAngle(x))), tolerance);
}

double random()
{
    return __unitRandom();
}

int random(int a, int b)
{
    const std::int64_t low = a < b ? a : b;
    const std::int64_t high = a < b ? b : a;
    const double span = static_cast<double>(high - low + 1);
    // A draw of exactly 1.0 would land one past the upper bound; keep it inside.
    const std::int64_t offset = __toInt64(span * __unitRandom());
    return static_cast<int>(low + offset > high ? high : low + offset);
}

double random(double a, double b)
{
    const double low = a < b ? a : b;
    const double high = a < b ? b : a;
    return low + (high - low + 1e-10) * __unitRandom();
}

}  // namespace kel::utils
