// The two-limb operations written out (the first attempt of every function) against the
// four-limb ones, which hold their exact results: seeded random operands, counted.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "numeric/multi_precision.h"

namespace {

namespace multi = fexpr::numeric::multi;
using two = multi::number<2>;
using four = multi::number<4>;

two random_two(std::mt19937_64& random, int exponent_span) {
    two value{(random() & 1U) != 0,
              static_cast<int>(random() % static_cast<unsigned>(exponent_span)) - exponent_span / 2,
              {random() | 0x8000000000000000U, random()}};
    // Some operands end in zeros or ones, where carries and borrows run far.
    if (random() % 4 == 0) value.limb[1] = random() % 2 == 0 ? 0 : ~std::uint64_t{0};
    return value;
}

four widen(const two& value) {
    return {value.negative, value.exponent, {value.limb[0], value.limb[1], 0, 0}};
}

// |difference| as a power of two at most: the exponent of the four-limb difference, or a
// value far below every bound when the two agree.
int difference_exponent(const two& ours, const four& exact) {
    const four difference = multi::subtract(widen(ours), exact);
    return multi::is_zero(difference) ? -100000000 : difference.exponent;
}

// A product of two limbs each is the exact one (four limbs) cut to two: equal to the bit.
TEST(MultiPrecision, ProductOfTwoLimbsIsTheTruncatedExactOne) {
    std::mt19937_64 random(20261210);
    constexpr int samples = 200000;
    for (int i = 0; i < samples; ++i) {
        const two a = random_two(random, 400);
        const two b = random_two(random, 400);
        const two ours = multi::multiply(a, b);
        const four exact = multi::multiply(widen(a), widen(b));
        ASSERT_EQ(ours.negative, exact.negative) << i;
        ASSERT_EQ(ours.exponent, exact.exponent) << i;
        ASSERT_EQ(ours.limb[0], exact.limb[0]) << i;
        ASSERT_EQ(ours.limb[1], exact.limb[1]) << i;
    }
}

/* A sum of two limbs each is within 2 units of its last limb of the exact one (four limbs
 * hold it while the exponents lie within 128); a difference within one unit of its last
 * limb and one of the larger operand's third limb, however much cancels. */
TEST(MultiPrecision, SumOfTwoLimbsIsWithinItsBound) {
    std::mt19937_64 random(20261211);
    constexpr int samples = 200000;
    int cancelling = 0;
    for (int i = 0; i < samples; ++i) {
        const two a = random_two(random, 8);
        two b = random_two(random, 8);
        // Near-equal magnitudes, where a difference cancels many bits.
        if (random() % 4 == 0)
            b = {!a.negative, a.exponent, {a.limb[0], a.limb[1] ^ (random() >> (random() % 64))}};
        const two ours = multi::add(a, b);
        const four exact = multi::add(widen(a), widen(b));
        const int larger = a.exponent > b.exponent ? a.exponent : b.exponent;
        if (a.negative == b.negative) {
            ASSERT_LE(difference_exponent(ours, exact), ours.exponent - 128 + 1) << i;
        } else {
            cancelling += multi::is_zero(exact) || exact.exponent < larger - 8 ? 1 : 0;
            const int unit =
                ours.exponent - 128 > larger - 192 ? ours.exponent - 128 : larger - 192;
            ASSERT_LE(difference_exponent(ours, exact), unit + 1) << i;
        }
    }
    std::printf("%d sums, %d of them cancelling more than 8 bits\n", samples, cancelling);
    EXPECT_GT(cancelling, samples / 20);
}

}  // namespace
