// ExtendedDiv next to its rounding boundaries. The division works in 32-bit
// digits that it estimates from the divisor's top half and then corrects,
// so the cases gather where that can go wrong: divisors at both ends of
// the top half's range, divisors whose low half is zero (the powers of
// ten) or not, and remainders as close to half the divisor as it allows.
// Each case is built backwards from the quotient and remainder wanted, with
// plain schoolbook arithmetic of the test's own.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "extended_test_support.h"
#include "significand_division.h"

using namespace numtext_test;

namespace {

constexpr uint64_t TOP_BIT = 0x8000000000000000u;

// a * b + addend as four 32-bit limbs, least significant first.
struct Limbs {
    uint32_t limb[4];
};
Limbs MultiplyAdd(uint64_t a, uint64_t b, uint64_t addend)
{
    const uint32_t x[2] = {static_cast<uint32_t>(a), static_cast<uint32_t>(a >> 32)};
    const uint32_t y[2] = {static_cast<uint32_t>(b), static_cast<uint32_t>(b >> 32)};
    uint64_t sum[4] = {static_cast<uint32_t>(addend), addend >> 32, 0, 0};
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            uint64_t carry = static_cast<uint64_t>(x[i]) * y[j];
            for (int limb = i + j; limb < 4 && carry != 0; ++limb) {
                carry += sum[limb];
                sum[limb] = carry & 0xFFFFFFFFu;
                carry >>= 32;
            }
        }
    }
    return Limbs{{static_cast<uint32_t>(sum[0]), static_cast<uint32_t>(sum[1]), static_cast<uint32_t>(sum[2]),
                  static_cast<uint32_t>(sum[3])}};
}

// 1 / odd modulo 2^64, by Newton's iteration on the 2-adic numbers: each
// step doubles the correct low bits, from 3 (odd * odd = 1 modulo 8).
uint64_t InverseModulo2To64(uint64_t odd)
{
    uint64_t inverse = odd;
    for (int step = 0; step < 5; ++step) inverse *= 2 - odd * inverse;
    return inverse;
}

int TrailingZeros(uint64_t v)
{
    int count = 0;
    for (; (v & 1) == 0; v >>= 1) ++count;
    return count;
}

// 10^exponent's significand: 5^exponent shifted up until its top bit is set.
uint64_t PowerOfTenSignificand(int exponent)
{
    uint64_t power = 1;
    for (int i = 0; i < exponent; ++i) power *= 5;
    while ((power & TOP_BIT) == 0) power <<= 1;
    return power;
}

struct Division {
    uint64_t dividend, divisor;
    bool quotientAtLeastOne;  // dividend >= divisor: the quotient lies in [1, 2)
    uint64_t quotient, remainder;
};

// The dividend whose division by `divisor` leaves `remainder` (a multiple
// of the divisor's power of two, below it): dividend * 2^shift = quotient *
// divisor + remainder, with shift 64 for a quotient in [1/2, 1) and 63 for
// one in [1, 2), and the quotient's 64 bits in [2^63, 2^64). False when no
// dividend of 64 significant bits does it.
bool BuildDivision(uint64_t divisor, uint64_t remainder, bool atLeastOne, Division* division)
{
    if (remainder >= divisor) return false;
    const int shift = atLeastOne ? 63 : 64;
    const int zeros = TrailingZeros(divisor);
    const uint64_t oddDivisor = divisor >> zeros, oddRemainder = remainder >> zeros;
    // quotient * oddDivisor + oddRemainder = 0 modulo 2^(shift - zeros); the
    // bits above are free, and the top one must be set.
    const int freeFrom = shift - zeros;
    uint64_t quotient = (0 - oddRemainder) * InverseModulo2To64(oddDivisor);
    if (freeFrom < 64) quotient &= (uint64_t{1} << freeFrom) - 1;
    if (freeFrom <= 63) quotient |= TOP_BIT;
    if ((quotient & TOP_BIT) == 0) return false;

    const Limbs product = MultiplyAdd(quotient, divisor, remainder);
    // The product is a multiple of 2^shift; the dividend is what lies above.
    const uint64_t high = (static_cast<uint64_t>(product.limb[3]) << 32) | product.limb[2];
    const uint64_t low = (static_cast<uint64_t>(product.limb[1]) << 32) | product.limb[0];
    const uint64_t belowShift = shift == 64 ? low : low & ~TOP_BIT;
    if (belowShift != 0) {
        ADD_FAILURE() << "the built product is no multiple of 2^" << shift;
        return false;
    }
    if (shift == 63 && (high >> 63) != 0) return false;  // 2^64 or more
    const uint64_t dividend = shift == 64 ? high : (high << 1) | (low >> 63);
    if ((dividend & TOP_BIT) == 0 || (dividend >= divisor) != atLeastOne) return false;
    *division = Division{dividend, divisor, atLeastOne, quotient, remainder};
    return true;
}

// The quotient rounded to nearest even, as ExtendedDiv must give it for
// operands with the exponent of 1.
ExtendedReal Expected(const Division& d)
{
    uint16_t exp = d.quotientAtLeastOne ? 0x3FFF : 0x3FFE;
    uint64_t sig = d.quotient;
    const uint64_t rest = d.divisor - d.remainder;
    if (d.remainder > rest || (d.remainder == rest && (sig & 1) != 0)) {
        if (++sig == 0) {
            sig = TOP_BIT;
            ++exp;
        }
    }
    return Bits(false, exp, sig);
}

TEST(ExtendedDiv, QuotientsBuiltFromTheirRemainder)
{
    struct Divisor {
        std::string name;
        uint64_t sig;
    };
    std::vector<Divisor> divisors = {
        {"2^63", TOP_BIT},
        {"2^63 + 1", TOP_BIT + 1},
        {"top half 2^31, low half all ones", 0x80000000FFFFFFFFu},
        {"top half 2^31 + 1, low half 0", 0x8000000100000000u},
        {"top half all ones, low half 1", 0xFFFFFFFF00000001u},
        {"top half all ones, low half 0", 0xFFFFFFFF00000000u},
        {"2^64 - 1", 0xFFFFFFFFFFFFFFFFu},
        {"3 * 2^62 + 1", 0xC000000000000001u},
        {"alternating bits", 0xAAAAAAAAAAAAAAABu},
        {"10^32, rounded", 0x9DC5ADA82B70B59Eu},
        {"10^4096, rounded", 0xC46052028A20979Bu},
    };
    for (int exponent = 1; exponent <= 27; ++exponent) {
        divisors.push_back({"10^" + std::to_string(exponent), PowerOfTenSignificand(exponent)});
    }

    int checked = 0;
    for (const Divisor& divisor : divisors) {
        // Remainders are multiples of the divisor's power of two: the
        // nearest ones to half of it, the extremes, and none.
        const uint64_t step = uint64_t{1} << TrailingZeros(divisor.sig);
        const uint64_t halfBelow = (divisor.sig / 2 - step / 2) & ~(step - 1);
        const std::pair<const char*, uint64_t> remainders[] = {
            {"0", 0},
            {"one step", step},
            {"just below half", halfBelow},
            {"half or just above", halfBelow + step},
            {"largest", divisor.sig - step},
        };
        for (const auto& remainder : remainders) {
            for (const bool atLeastOne : {false, true}) {
                Division division{};
                if (!BuildDivision(divisor.sig, remainder.second, atLeastOne, &division)) continue;
                SCOPED_TRACE(divisor.name + ", remainder " + remainder.first + ", dividend 0x" +
                             Hex(division.dividend, 16) + ", quotient 0x" + Hex(division.quotient, 16));
                EXPECT_BITS(ExtendedDiv(Bits(false, 0x3FFF, division.dividend), Bits(false, 0x3FFF, division.divisor)),
                            Expected(division));
                ++checked;
            }
        }
    }
    // About half of the wanted quotients have a dividend of 64 bits.
    EXPECT_GE(checked, static_cast<int>(divisors.size()) * 3);
    std::printf("%d divisions checked against their built quotient and remainder\n", checked);
}

// The division relies on the reciprocal never being too large: a digit
// estimated too large would leave a negative difference that its
// correction loop does not expect. All 2^31 + 1 top values take seconds
// in an optimised build but far longer under the sanitizers or Wine; this
// takes the ends of the range, both sides of every point where the 16-bit
// seed changes, and a prime stride through the rest.
TEST(ReciprocalFromBelow, NeverAboveAndAtMostTwoBelow)
{
    std::vector<uint64_t> tops;
    for (uint64_t top = 0x80000000u; top <= 0x80001000u; ++top) tops.push_back(top);
    for (uint64_t top = 0xFFFFF000u; top <= 0x100000000u; ++top) tops.push_back(top);
    for (uint64_t seedStep = 0x80000000u; seedStep < 0x100000000u; seedStep += 0x10000) {
        tops.push_back(seedStep);
        tops.push_back(seedStep + 1);
    }
    for (uint64_t top = 0x80000000u; top <= 0x100000000u; top += 65521) tops.push_back(top);

    int failures = 0;
    for (const uint64_t top : tops) {
        uint64_t exact = UINT64_MAX / top;  // floor(2^64 / top), one less when top divides 2^64
        if ((exact + 1) * top == 0) ++exact;
        const uint64_t reciprocal = ReciprocalFromBelow(top);
        if ((reciprocal > exact || exact - reciprocal > 2) && ++failures <= 10) {
            ADD_FAILURE() << "top 0x" << Hex(top, 9) << ": 0x" << Hex(reciprocal, 9) << " against 2^64 / top = 0x"
                          << Hex(exact, 9);
        }
    }
    std::printf("%zu top values: %d outside [2^64 / top - 2, 2^64 / top]\n", tops.size(), failures);
}

}  // namespace
