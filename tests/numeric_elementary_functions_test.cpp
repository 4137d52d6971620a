// The elementary functions at hand-picked arguments: near multiples of pi/2 and near ±1.
#include <gtest/gtest.h>

#include "numeric/elementary_functions.h"

namespace {

using fexpr::numeric::extended;
using fexpr::numeric::store;

struct trig_row {
    double x;
    double sin;
    double cos;
    double tan;
};

// Near multiples of pi/2, across the reduction's edges, and far out: the values glibc gives,
// which a reduction by a 66-bit pi misses (sin(pi) came out 1.2246063538223773e-16).
const trig_row trig_rows[] = {
    {3.1415926535897931, 1.2246467991473532e-16, -1, -1.2246467991473532e-16},
    {1.5707963267948966, 1, 6.123233995736766e-17, 16331239353195370},
    {4.7123889803846897, -1, -1.8369701987210297e-16, 5443746451065123},
    {355, -3.0144353359488451e-05, -0.99999999954565899, 3.0144353373184265e-05},
    {1000000000000000, 0.85827279317023586, -0.51319373778697031, -1.672414782127583},
    {9007199254740991, -0.013949324588032911, -0.99990270343845844, 0.013950681941416972},
    {15707963267.948965, -1.1196813809786636e-06, 0.99999999999937317, -1.1196813809793654e-06},
    {0.78539816339744828, 0.70710678118654746, 0.70710678118654757, 0.99999999999999989},
    {0.78539816339744839, 0.70710678118654757, 0.70710678118654746, 1.0000000000000002},
    {-6.2831853071795862, 2.4492935982947064e-16, 1, 2.4492935982947064e-16},
    {1e-300, 1e-300, 1, 1e-300},
};

TEST(ElementaryFunctions, TrigonometryNearMultiplesOfHalfPi) {
    for (const trig_row& row : trig_rows) {
        EXPECT_EQ(store(fexpr::numeric::elementary_sin(row.x)), row.sin) << row.x;
        EXPECT_EQ(store(fexpr::numeric::elementary_cos(row.x)), row.cos) << row.x;
        EXPECT_EQ(store(fexpr::numeric::elementary_tan(row.x)), row.tan) << row.x;
        EXPECT_EQ(store(fexpr::numeric::elementary_sin(-row.x)), -row.sin) << -row.x;
        EXPECT_EQ(store(fexpr::numeric::elementary_cos(-row.x)), row.cos) << -row.x;
        EXPECT_EQ(store(fexpr::numeric::elementary_tan(-row.x)), -row.tan) << -row.x;
    }
}

// Near ±1 the arc sine keeps its digits: 1 - x and 1 + x are exact.
TEST(ElementaryFunctions, ArcSineNearOne) {
    EXPECT_EQ(store(fexpr::numeric::elementary_asin(1 - 0x1p-40)), 1.5707949780957442);
    EXPECT_EQ(store(fexpr::numeric::elementary_asin(-1 + 0x1p-40)), -1.5707949780957442);
    EXPECT_EQ(store(fexpr::numeric::elementary_acos(-1 + 0x1p-40)), 3.1415913048906408);
}

}  // namespace
