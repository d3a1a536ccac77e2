// Numeric helpers of kel::utils.
#include "kelutilsMath.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>

namespace ku = kel::utils;

namespace {

const double pi = 3.141592653589793;
const double infinity = std::numeric_limits<double>::infinity();
const double notANumber = std::numeric_limits<double>::quiet_NaN();
const int intMinSentinel = 2147483647;
const int intMaxSentinel = -2147483647;

}  // namespace

TEST(Ranges, AcceptBoundsInEitherOrder)
{
    EXPECT_TRUE(ku::inRange(5, 10, 1));
    EXPECT_TRUE(ku::inRange(1, 10, 1));
    EXPECT_TRUE(ku::inRange(10, 1, 10));
    EXPECT_FALSE(ku::inRange(0, 1, 10));
    EXPECT_FALSE(ku::inRange(11, 10, 1));
    EXPECT_TRUE(ku::inRange(INT_MIN, INT_MIN, INT_MAX));
    EXPECT_TRUE(ku::inRange(0.5, 1.0, 0.0));
    EXPECT_FALSE(ku::inRange(notANumber, 0.0, 1.0));

    EXPECT_EQ(10, ku::checkRange(15, 10, 1));
    EXPECT_EQ(1, ku::checkRange(-3, 10, 1));
    EXPECT_EQ(7, ku::checkRange(7, 1, 10));
    EXPECT_EQ(-1.0, ku::checkRange(-5.0, 1.0, -1.0));
    EXPECT_EQ(DBL_MAX, ku::checkRange(infinity, -DBL_MAX, DBL_MAX));
}

TEST(Ranges, ReplaceSpecialValues)
{
    EXPECT_EQ(1.5, ku::checkZero(-0.0, 1.5));
    EXPECT_EQ(2.0, ku::checkNaN(std::nan(""), 2.0));
    EXPECT_EQ(-DBL_MAX, ku::checkInf(-infinity, DBL_MAX));
    EXPECT_EQ(DBL_MAX, ku::checkInf(infinity, DBL_MAX));
    EXPECT_EQ(-7.0, ku::checkInf(-7.0, DBL_MAX));
}

TEST(Ranges, EqualityWithinTolerance)
{
    EXPECT_TRUE(ku::equalWithinTol(0.1, 0.1, 0));
    EXPECT_FALSE(ku::equalWithinTol(0.1 + 0.2, 0.3, 0));
    EXPECT_TRUE(ku::equalWithinTol(0.1 + 0.2, 0.3, 1e-12));
    EXPECT_TRUE(ku::equalWithinTol(1.0, 1.05, -0.1));
    EXPECT_FALSE(ku::equalWithinTol(1.0, 1.5, 0.5));  // the bound itself is outside
}

TEST(Extremes, IntListsEndAtTheirSentinels)
{
    EXPECT_EQ(9, ku::getMax(3, 9, intMaxSentinel));
    EXPECT_EQ(7, ku::getMax(-5, INT_MIN, 7, intMaxSentinel));
    EXPECT_EQ(INT_MIN, ku::getMax(INT_MIN, INT_MIN, intMaxSentinel));
    EXPECT_EQ(INT_MIN, ku::getMin(5, INT_MIN, 4, intMinSentinel));
    EXPECT_EQ(-1, ku::getMin(3, 8, -1, intMinSentinel));
    EXPECT_EQ(INT_MAX - 1, ku::getMin(INT_MAX - 1, intMinSentinel));
    // The first value is never taken for the sentinel.
    EXPECT_EQ(intMaxSentinel, ku::getMax(intMaxSentinel, intMaxSentinel));
    EXPECT_EQ(intMinSentinel, ku::getMin(intMinSentinel, intMinSentinel));
    // Nothing after the sentinel is read.
    EXPECT_EQ(2, ku::getMax(1, 2, intMaxSentinel, 100));
}

TEST(Extremes, DoubleListsEndNearTheLargestFiniteValues)
{
    EXPECT_EQ(-1.0, ku::getMin(3.0, -1.0, 2.0, DBL_MAX));
    EXPECT_EQ(2.5, ku::getMax(-3.0, 2.5, 1.0, -DBL_MAX));
    EXPECT_EQ(1e300, ku::getMax(1.0, 1e300, -DBL_MAX, 1e301));
    EXPECT_EQ(-DBL_MAX, ku::getMax(-DBL_MAX, -DBL_MAX));
    // A NaN does not end the list.
    EXPECT_EQ(-4.0, ku::getMin(1.0, notANumber, -4.0, DBL_MAX));
    EXPECT_EQ(4.0, ku::getMax(1.0, notANumber, 4.0, -DBL_MAX));
}

TEST(Rounding, HalvesGoAwayFromZero)
{
    EXPECT_EQ(3, ku::round(2.5));
    EXPECT_EQ(-3, ku::round(-2.5));
    EXPECT_EQ(2, ku::round(2.4999));
    EXPECT_EQ(-2, ku::round(-2.4999));
    EXPECT_EQ(0, ku::round(-0.4));
    // Adding 0.5 in floating point must not round these first.
    EXPECT_EQ(0, ku::round(0.49999999999999994));
    EXPECT_EQ(4503599627370497, ku::round(4503599627370497.0));
    EXPECT_EQ(-4503599627370497, ku::round(-4503599627370497.0));
}

TEST(Rounding, FloorGoesTowardAndCeilAwayFromZero)
{
    EXPECT_EQ(-1, ku::floor(-1.5));
    EXPECT_EQ(1, ku::floor(1.9));
    EXPECT_EQ(-2, ku::ceil(-1.2));
    EXPECT_EQ(2, ku::ceil(1.2));
    EXPECT_EQ(3, ku::ceil(3.0));
}

TEST(Rounding, ValuesOutsideTheIntegerRangeSaturate)
{
    EXPECT_EQ(INT64_MAX, ku::round(1e300));
    EXPECT_EQ(INT64_MIN, ku::round(-infinity));
    EXPECT_EQ(INT64_MAX, ku::ceil(9223372036854775808.0));
    EXPECT_EQ(INT64_MIN, ku::floor(-9223372036854775808.0));
    EXPECT_EQ(0, ku::round(notANumber));
}

TEST(Rounding, ToDenominatorsAndDecimals)
{
    EXPECT_EQ(-1.0, ku::roundToDenom(-1.2, 1));
    EXPECT_EQ(0.25, ku::roundToDenom(0.3, 4));
    EXPECT_EQ(0.25, ku::roundToDenom(0.3, -4));
    EXPECT_EQ(-DBL_MAX, ku::roundToDenom(0.3, 0));
    EXPECT_DOUBLE_EQ(3.14, ku::roundToDecimals(3.14159, 2));
    EXPECT_DOUBLE_EQ(3.14, ku::roundToDecimals(3.14159, -2));
    EXPECT_DOUBLE_EQ(-2.0, ku::roundToDecimals(-1.5, 0));
}

TEST(Fractions, ApproximateWithTheGivenDenominator)
{
    std::int64_t denominator = 8, numerator = 0;
    ku::fractionWithDenom(0.75, denominator, numerator, true);
    EXPECT_EQ(3, numerator);
    EXPECT_EQ(4, denominator);

    denominator = 8;
    ku::fractionWithDenom(-0.75, denominator, numerator, true);
    EXPECT_EQ(-3, numerator);
    EXPECT_EQ(4, denominator);

    denominator = 8;
    ku::fractionWithDenom(0.75, denominator, numerator, false);
    EXPECT_EQ(6, numerator);
    EXPECT_EQ(8, denominator);

    denominator = -8;  // a negative denominator with a positive value gives a negative fraction
    ku::fractionWithDenom(0.75, denominator, numerator, true);
    EXPECT_EQ(-3, numerator);
    EXPECT_EQ(4, denominator);

    denominator = -8;
    ku::fractionWithDenom(-0.75, denominator, numerator, false);
    EXPECT_EQ(6, numerator);
    EXPECT_EQ(8, denominator);
}

TEST(Fractions, EdgeValues)
{
    std::int64_t denominator = 12, numerator = 5;
    ku::fractionWithDenom(0.0, denominator, numerator, true);
    EXPECT_EQ(0, numerator);
    EXPECT_EQ(1, denominator);

    denominator = 0;
    numerator = 5;
    ku::fractionWithDenom(0.5, denominator, numerator, true);
    EXPECT_EQ(0, denominator);
    EXPECT_EQ(5, numerator);

    denominator = 1000;
    ku::fractionWithDenom(0.3331, denominator, numerator, true);
    EXPECT_EQ(333, numerator);
    EXPECT_EQ(1000, denominator);

    denominator = 100;
    ku::fractionWithDenom(2.5, denominator, numerator, true);
    EXPECT_EQ(5, numerator);
    EXPECT_EQ(2, denominator);

    denominator = 1000000000000;  // reducing must not take a countdown's time
    ku::fractionWithDenom(0.5, denominator, numerator, true);
    EXPECT_EQ(1, numerator);
    EXPECT_EQ(2, denominator);
}

TEST(Trigonometry, SnapsTinyResultsToZero)
{
    EXPECT_EQ(0.0, ku::sin(pi, 1e-9));
    EXPECT_NE(0.0, ku::sin(pi, 0));
    EXPECT_EQ(0.0, ku::cos(pi / 2, 1e-9));
    EXPECT_EQ(0.0, ku::tan(pi, 1e-9));
    EXPECT_DOUBLE_EQ(1.0, ku::sin(pi / 2, 1e-9));
    EXPECT_DOUBLE_EQ(pi / 4, ku::atan(1.0, 1e-9));
}

TEST(Trigonometry, CleansAndClampsInput)
{
    EXPECT_EQ(0.0, ku::sin(notANumber, 0));
    EXPECT_EQ(1.0, ku::cos(notANumber, 0));
    EXPECT_DOUBLE_EQ(pi / 2, ku::atan(infinity, 0));
    EXPECT_DOUBLE_EQ(-pi / 2, ku::atan(-infinity, 0));
    EXPECT_DOUBLE_EQ(pi / 2, ku::asin(2, 0));
    EXPECT_DOUBLE_EQ(-pi / 2, ku::asin(-infinity, 0));
    EXPECT_DOUBLE_EQ(pi, ku::acos(-5, 0));
    EXPECT_EQ(0.0, ku::acos(1.5, 0));
    EXPECT_FALSE(std::isnan(ku::sin(infinity, 0)));
}

TEST(Random, StaysWithinItsBounds)
{
    bool sawLow = false, sawHigh = false;
    for (int i = 0; i < 20000; ++i) {
        const int drawn = ku::random(3, -2);
        ASSERT_GE(drawn, -2);
        ASSERT_LE(drawn, 3);
        sawLow = sawLow || drawn == -2;
        sawHigh = sawHigh || drawn == 3;

        const double unit = ku::random();
        ASSERT_GE(unit, 0.0);
        ASSERT_LE(unit, 1.0);

        const double scaled = ku::random(5.0, 2.0);
        ASSERT_GE(scaled, 2.0);
        ASSERT_LE(scaled, 5.0 + 1e-10);
    }
    EXPECT_TRUE(sawLow && sawHigh);
    EXPECT_EQ(7, ku::random(7, 7));
    const int extreme = ku::random(INT_MIN, INT_MAX);
    EXPECT_TRUE(extreme >= INT_MIN && extreme <= INT_MAX);
}
