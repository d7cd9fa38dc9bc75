// The integer arithmetic against the x87 itself, where long double is the
// 80-bit format (x86-64 Linux, i686 Windows): with the control word at
// 0x133F both must give the same bits for every operation.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "extended_test_support.h"
#include "power_of_ten.h"

using namespace numtext_test;

#if defined(__i386__) || defined(__x86_64__)

namespace {

uint64_t Seed()
{
    // A fixed seed, so a failure repeats; NUMTEXT_SEED picks another one.
    const char* text = std::getenv("NUMTEXT_SEED");
    const uint64_t seed = text != nullptr ? std::strtoull(text, nullptr, 0) : 0x5EED0F0DDBA11ULL;
    std::printf("random seed 0x%" PRIX64 " (set NUMTEXT_SEED to change it)\n", seed);
    return seed;
}

class X87Differential : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HOST_HAS_X87_LONG_DOUBLE) GTEST_SKIP() << "long double is not the x87 80-bit format";
    }

    X87ControlWord controlWord_{0x133F};
    std::mt19937_64 random_{Seed()};

    uint64_t Below(uint64_t bound) { return std::uniform_int_distribution<uint64_t>(0, bound - 1)(random_); }
    int64_t Between(int64_t low, int64_t high) { return std::uniform_int_distribution<int64_t>(low, high)(random_); }
};

// The x87's own result, with every operand passed through memory so the
// compiler cannot fold anything.
ExtendedReal HardwareMul(ExtendedReal a, ExtendedReal b)
{
    volatile long double x = ToLongDouble(a), y = ToLongDouble(b);
    const long double r = x * y;
    return FromLongDouble(r);
}
ExtendedReal HardwareDiv(ExtendedReal a, ExtendedReal b)
{
    volatile long double x = ToLongDouble(a), y = ToLongDouble(b);
    const long double r = x / y;
    return FromLongDouble(r);
}

// ScaleByPowerOfTen's steps done by the x87 from the same table; the exact
// powers below 10^8 as the x87 makes them.
long double HardwareScale(long double x, int32_t exponent)
{
    uint32_t magnitude = exponent < 0 ? 0u - static_cast<uint32_t>(exponent) : static_cast<uint32_t>(exponent);
    const long double p4096 = ToLongDouble(POWER_OF_TEN_4096);
    if (magnitude > 4096) {
        x = exponent > 0 ? x * p4096 : x / p4096;
        magnitude -= 4096;
    }
    if (magnitude == 0) return x;
    long double power = 1;
    for (uint32_t i = 0; i < (magnitude & 7); ++i) power *= 10;
    uint32_t octets = magnitude >> 3;
    for (int j = 0; octets != 0; ++j, octets >>= 1) {
        if ((octets & 1) == 0) continue;
        power *= j < POWER_OF_TEN_BINARY_COUNT ? ToLongDouble(POWER_OF_TEN_BINARY[j]) : p4096;
    }
    return exponent > 0 ? x * power : x / power;
}

std::string Decimal(uint64_t v) { return std::to_string(v); }

// ---------------------------------------------------------------------------

// An operand from every region of the format, weighted towards the ends.
ExtendedReal RandomOperand(std::mt19937_64& random)
{
    const uint64_t pick = random() % 100;
    const bool sign = (random() & 1) != 0;
    uint64_t sig = random() | 0x8000000000000000u;
    // Significands with long runs of zeros or ones make ties and carries.
    const uint64_t shape = random() % 4;
    if (shape == 1) sig &= ~((1ULL << (random() % 63)) - 1);
    if (shape == 2) sig |= (1ULL << (random() % 63)) - 1;
    uint16_t exp;
    if (pick < 40) exp = static_cast<uint16_t>(1 + random() % 0x7FFE);              // anywhere
    else if (pick < 60) exp = static_cast<uint16_t>(0x3FFF - 80 + random() % 160);  // near 1
    else if (pick < 72) exp = static_cast<uint16_t>(1 + random() % 100);            // bottom
    else if (pick < 84) exp = static_cast<uint16_t>(0x7FFE - random() % 100);       // top
    else if (pick < 94) {                                                           // subnormal
        exp = 0;
        const uint64_t shift = 1 + random() % 64;  // 64 empties it: no shift of 64 in C++
        sig = shift < 64 ? sig >> shift : 0;
        if (sig == 0) sig = 1;
    } else if (pick < 96) {
        return Bits(sign, 0, 0);
    } else if (pick < 97) {
        return Bits(sign, 0x7FFF, 0x8000000000000000u);
    } else if (pick < 98) {
        return Bits(sign, 0x7FFF, 0xC000000000000000u | (random() >> 2));  // quiet NaN
    } else if (pick < 99) {
        const uint64_t payload = (random() >> 2) | 1;
        return Bits(sign, 0x7FFF, 0x8000000000000000u | payload);  // signalling NaN
    } else {
        // Encodings that no operation makes: unnormal, pseudo-denormal,
        // pseudo-infinity or pseudo-NaN.
        switch (random() % 3) {
            case 0:
                return Bits(sign, static_cast<uint16_t>(1 + random() % 0x7FFE), random() >> 1);
            case 1:
                return Bits(sign, 0, random() | 0x8000000000000000u);
            default:
                return Bits(sign, 0x7FFF, random() >> 1);
        }
    }
    return Bits(sign, exp, sig);
}

// Random operands of every kind, and results from overflow down to total
// underflow: every bit of a * b and a / b as the x87 gives them.
TEST_F(X87Differential, MultiplyAndDivideMatchTheHardware)
{
    const int pairs = 200000;
    int mismatches = 0;
    for (int i = 0; i < pairs && mismatches < 10; ++i) {
        const ExtendedReal a = RandomOperand(random_), b = RandomOperand(random_);
        const ExtendedReal product = ExtendedMul(a, b), quotient = ExtendedDiv(a, b);
        const ExtendedReal hardwareProduct = HardwareMul(a, b), hardwareQuotient = HardwareDiv(a, b);
        if (!SameBits(product, hardwareProduct)) {
            ++mismatches;
            ADD_FAILURE() << Describe(a) << " * " << Describe(b) << "\n  ours: " << Describe(product)
                          << "\n  x87:  " << Describe(hardwareProduct);
        }
        if (!SameBits(quotient, hardwareQuotient)) {
            ++mismatches;
            ADD_FAILURE() << Describe(a) << " / " << Describe(b) << "\n  ours: " << Describe(quotient)
                          << "\n  x87:  " << Describe(hardwareQuotient);
        }
    }
    std::printf("%d operand pairs, multiplied and divided: %d mismatches\n", pairs, mismatches);
}

// Exponents of ten in -4951..4931, a third of the draws at each end, where
// results overflow or become subnormal, and some near 0, where they are
// exact.
int32_t RandomPowerOfTen(std::mt19937_64& random)
{
    const uint64_t pick = random() % 10;
    if (pick < 4) return static_cast<int32_t>(random() % (4931 + 4951 + 1)) - 4951;
    if (pick < 6) return -4951 + static_cast<int32_t>(random() % 60);
    if (pick < 8) return 4931 - static_cast<int32_t>(random() % 60);
    return static_cast<int32_t>(random() % 81) - 40;
}

// Kept integers of 1 to 18 digits, evenly by digit count.
uint64_t RandomMantissa(std::mt19937_64& random, int* digits)
{
    *digits = 1 + static_cast<int>(random() % 18);
    uint64_t low = 1;
    for (int i = 1; i < *digits; ++i) low *= 10;
    const uint64_t high = low * 10 - 1;
    switch (random() % 8) {
        case 0:
            return low;  // 10^(digits - 1)
        case 1:
            return high;  // 99...9
        default:
            return low + random() % (high - low + 1);
    }
}

// The decimal rule: the kept integer times or divided by 10^|exponent|,
// the power built step by step from the table and the last operation
// rounded once. Each random pair is checked both ways, and as the text
// that the rule reads as kept * 10^exponent.
TEST_F(X87Differential, DecimalScalingMatchesTheHardware)
{
    const int pairs = 150000;
    int mismatches = 0, textsChecked = 0;
    auto report = [&](const std::string& what, ExtendedReal ours, ExtendedReal x87) {
        if (SameBits(ours, x87) || ++mismatches > 10) return;
        ADD_FAILURE() << what << "\n  ours: " << Describe(ours) << "\n  x87:  " << Describe(x87);
    };
    for (int i = 0; i < pairs && mismatches <= 10; ++i) {
        int digits = 0;
        const uint64_t kept = RandomMantissa(random_, &digits);
        const int32_t integerExponent = RandomPowerOfTen(random_);
        const int32_t magnitude = integerExponent < 0 ? -integerExponent : integerExponent;
        const ExtendedReal keptExtended = ExtendedFromUint64(kept);
        const long double keptHardware = static_cast<long double>(kept);
        ASSERT_TRUE(SameBits(keptExtended, FromLongDouble(keptHardware))) << kept;

        const ExtendedReal power = ScaleByPowerOfTen(EXTENDED_ONE, magnitude);
        const long double powerHardware = HardwareScale(1.0L, magnitude);
        const std::string pair = Decimal(kept) + ", 10^" + std::to_string(magnitude);
        report("10^" + std::to_string(magnitude), power, FromLongDouble(powerHardware));
        report(pair + " *", ExtendedMul(keptExtended, power), FromLongDouble(keptHardware * powerHardware));
        report(pair + " /", ExtendedDiv(keptExtended, power), FromLongDouble(keptHardware / powerHardware));

        // The same number as text, with the point and the exponent moved so
        // that the rule's exponent for the kept integer stays the same:
        // "digits e exponent", ".000digits e exponent", or with digits
        // beyond the eighteenth that are dropped.
        std::string text = (random_() & 1) != 0 ? "-" : "";
        const bool negative = !text.empty();
        const std::string mantissaDigits = Decimal(kept);
        int32_t exponent = integerExponent;
        switch (random_() % 4) {
            case 0:
                text += mantissaDigits;
                break;
            case 1: {  // point after q digits
                const int q = 1 + static_cast<int>(random_() % static_cast<uint64_t>(digits));
                text += mantissaDigits.substr(0, static_cast<size_t>(q)) + "." +
                        mantissaDigits.substr(static_cast<size_t>(q));
                exponent = integerExponent + digits - q;
                break;
            }
            case 2: {  // point and z zeros before the first digit
                const int z = static_cast<int>(random_() % 6);
                text += (random_() & 1) != 0 ? "0." : ".";
                text += std::string(static_cast<size_t>(z), '0') + mantissaDigits;
                exponent = integerExponent + digits + z;
                break;
            }
            default: {  // 18 kept digits and e dropped ones
                if (digits != 18) {
                    text += mantissaDigits;
                    break;
                }
                const int e = 1 + static_cast<int>(random_() % 12);
                text += mantissaDigits;
                for (int j = 0; j < e; ++j) text += static_cast<char>('0' + random_() % 10);
                exponent = integerExponent - e;
                break;
            }
        }
        text += "e" + std::to_string(exponent);
        const int32_t fractionExponent = digits + integerExponent;  // the text as 0.d1d2... * 10^fractionExponent
        if (fractionExponent <= -4933 || fractionExponent >= 4933) continue;
        long double expected = keptHardware;
        if (integerExponent > 0) expected = keptHardware * HardwareScale(1.0L, integerExponent);
        if (integerExponent < 0) expected = keptHardware / HardwareScale(1.0L, -integerExponent);
        if (negative) expected = -expected;
        report("'" + text + "'", Text(text), FromLongDouble(expected));
        ++textsChecked;
    }
    std::printf(
        "%d pairs (kept, exponent): kept * 10^|exponent| and kept / 10^|exponent| compared; %d of them as text; %d "
        "mismatches\n",
        pairs, textsChecked, mismatches);
    EXPECT_EQ(mismatches, 0);
}

// Where the reader changes method: up to 10^27 the power is exact, beyond
// it is built from the table. Every exponent around that edge, with
// mantissas of every length, as text against the x87 doing the rule.
TEST_F(X87Differential, ExactPowersAndBeyondAsText)
{
    const uint64_t mantissas[] = {1, 5, 7, 99, 12345, 999999999, 4294967297, 123456789012345678, 999999999999999999};
    int mismatches = 0, checked = 0;
    for (const uint64_t mantissa : mantissas) {
        for (int32_t integerExponent = -40; integerExponent <= 40; ++integerExponent) {
            const std::string text = Decimal(mantissa) + "e" + std::to_string(integerExponent);
            const long double kept = static_cast<long double>(mantissa);
            const int32_t magnitude = integerExponent < 0 ? -integerExponent : integerExponent;
            long double expected = kept;
            if (integerExponent > 0) expected = kept * HardwareScale(1.0L, magnitude);
            if (integerExponent < 0) expected = kept / HardwareScale(1.0L, magnitude);
            const ExtendedReal ours = Text(text);
            ++checked;
            if (!SameBits(ours, FromLongDouble(expected)) && ++mismatches <= 10) {
                ADD_FAILURE() << "'" << text << "'\n  ours: " << Describe(ours)
                              << "\n  x87:  " << Describe(FromLongDouble(expected));
            }
        }
    }
    std::printf("%d texts around the exact powers: %d mismatches\n", checked, mismatches);
}

// fistp with the invalid exception masked: out of range gives the integer
// indefinite, the most negative value of the width.
int32_t HardwareToInt32(ExtendedReal x)
{
    const long double v = ToLongDouble(x);
    int32_t r;
    __asm__ __volatile__("fistpl %0" : "=m"(r) : "t"(v) : "st");
    return r;
}
int64_t HardwareToInt64(ExtendedReal x)
{
    const long double v = ToLongDouble(x);
    int64_t r;
    __asm__ __volatile__("fistpll %0" : "=m"(r) : "t"(v) : "st");
    return r;
}

// Values around 2^31, 2^32, 2^63 and 2^64, small ones with halves, and
// specials: NumberToInt32 is fistp to 32 bits, NumberToDword the low half
// of fistp to 64 bits.
TEST_F(X87Differential, IntegerConversionsMatchTheHardware)
{
    const int values = 200000;
    int mismatches = 0;
    for (int i = 0; i < values && mismatches < 10; ++i) {
        ExtendedReal x;
        const uint64_t pick = random_() % 10;
        if (pick < 8) {
            // A magnitude in [2^e, 2^(e+1)), e in 0..66: random, or with
            // its fraction cut to an integer or to exactly one half.
            const int e = static_cast<int>(random_() % 67);
            const int fractionBits = 63 - e;  // below the point, when positive
            uint64_t sig = 0x8000000000000000u | random_();
            const uint64_t shape = random_() % 4;
            if (shape == 1) sig = 0xFFFFFFFFFFFFFFFFu << (random_() % 64);
            if (shape == 2 && fractionBits > 0) sig &= ~((1ULL << fractionBits) - 1);
            if (shape == 3 && fractionBits > 0) {
                sig = (sig & ~((1ULL << fractionBits) - 1)) | (1ULL << (fractionBits - 1));
            }
            x = Bits((random_() & 1) != 0, static_cast<uint16_t>(16383 + e), sig);
        } else {
            x = RandomOperand(random_);
        }
        const int32_t ours32 = NumberToInt32(x), hardware32 = HardwareToInt32(x);
        const uint32_t oursDword = NumberToDword(x);
        const uint32_t hardwareDword = static_cast<uint32_t>(static_cast<uint64_t>(HardwareToInt64(x)));
        if (ours32 != hardware32) {
            ++mismatches;
            ADD_FAILURE() << "NumberToInt32(" << Describe(x) << ") is " << HexDec(ours32) << ", x87 "
                          << HexDec(hardware32);
        }
        if (oursDword != hardwareDword) {
            ++mismatches;
            ADD_FAILURE() << "NumberToDword(" << Describe(x) << ") is " << HexDec(oursDword) << ", x87 "
                          << HexDec(hardwareDword);
        }
    }
    std::printf("%d values converted both ways: %d mismatches\n", values, mismatches);
}

}  // namespace

#endif
