// Helpers shared by the numeric tests: exact expected values built without
// the code under test, printing in hex and decimal, and the bridge to the
// x87's own 80-bit long double where the host has one.
#pragma once

#include <cfloat>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "numtext.h"

namespace numtext_test {

constexpr ExtendedReal Bits(bool sign, uint16_t exp, uint64_t sig) { return PackExtended(sign, exp, sig); }

// mantissa * 2^binaryExponent, normalised by a plain loop (not by the code
// under test). The value must be a normal extended real.
inline ExtendedReal Dyadic(int64_t mantissa, int binaryExponent = 0)
{
    if (mantissa == 0) return Bits(false, 0, 0);
    const bool sign = mantissa < 0;
    uint64_t sig = sign ? 0 - static_cast<uint64_t>(mantissa) : static_cast<uint64_t>(mantissa);
    int exp = 16383 + 63 + binaryExponent;
    while ((sig >> 63) == 0) {
        sig <<= 1;
        --exp;
    }
    return Bits(sign, static_cast<uint16_t>(exp), sig);
}

inline bool SameBits(ExtendedReal a, ExtendedReal b) { return a.sig == b.sig && a.signExp == b.signExp; }

inline std::string Hex(uint64_t v, int digits)
{
    static const char HEX[] = "0123456789ABCDEF";
    std::string s(static_cast<size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, v >>= 4) s[static_cast<size_t>(i)] = HEX[v & 15];
    return s;
}

// "-0x3FFF:8000000000000000 (-1.0)": sign, exponent word, significand, and a
// rough decimal value for the reader.
inline std::string Describe(ExtendedReal x)
{
    std::string s = ExtendedSign(x) ? "-" : "+";
    s += "0x" + Hex(ExtendedExp(x), 4) + ":" + Hex(x.sig, 16);
    const int exp = ExtendedExp(x);
    if (exp == 0x7FFF) return s + ((x.sig << 1) == 0 ? " (inf)" : " (NaN)");
    // sig * 2^(exp - 16383 - 63) as mantissa * 10^e10, in double arithmetic
    // with the exponent kept apart so nothing overflows.
    double mantissa = static_cast<double>(x.sig);
    long e10 = 0;
    long e2 = (exp == 0 ? 1 : exp) - 16383 - 63;
    if (x.sig == 0) return s + " (0)";
    for (; e2 > 0; --e2) {
        mantissa *= 2;
        if (mantissa >= 10) {
            mantissa /= 10;
            ++e10;
        }
    }
    for (; e2 < 0; ++e2) {
        mantissa /= 2;
        if (mantissa < 1) {
            mantissa *= 10;
            --e10;
        }
    }
    while (mantissa >= 10) {
        mantissa /= 10;
        ++e10;
    }
    char buffer[64];
    snprintf(buffer, sizeof buffer, " (%s%.16ge%ld)", ExtendedSign(x) ? "-" : "", mantissa, e10);
    return s + buffer;
}

inline ::testing::AssertionResult BitsEqual(const char* actualExpr, const char* expectedExpr, ExtendedReal actual,
                                            ExtendedReal expected)
{
    if (SameBits(actual, expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actualExpr << " is " << Describe(actual) << "\n"
                                         << expectedExpr << " is " << Describe(expected);
}
#define EXPECT_BITS(actual, expected) EXPECT_PRED_FORMAT2(::numtext_test::BitsEqual, actual, expected)

// "0x80004005 (2147500037)"
inline std::string HexDec(uint32_t v) { return "0x" + Hex(v, 8) + " (" + std::to_string(v) + ")"; }
inline std::string HexDec(int32_t v)
{
    return "0x" + Hex(static_cast<uint32_t>(v), 8) + " (" + std::to_string(v) + ")";
}

inline ExtendedReal Text(const std::string& s) { return TextToNumber(s.data(), s.size()); }

// --- The x87 bridge -------------------------------------------------------

#if defined(__i386__) || defined(__x86_64__)
constexpr bool HOST_HAS_X87_LONG_DOUBLE = LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384;
#else
constexpr bool HOST_HAS_X87_LONG_DOUBLE = false;
#endif

#if defined(__i386__) || defined(__x86_64__)
// The x87 as the program runs it: all exceptions masked, 64-bit precision,
// round to nearest. Windows may start a thread at 53-bit precision, so the
// word is loaded explicitly and restored afterwards.
class X87ControlWord {
public:
    explicit X87ControlWord(uint16_t word = 0x133F)
    {
        __asm__ __volatile__("fnstcw %0" : "=m"(saved_));
        __asm__ __volatile__("fldcw %0" : : "m"(word) : "memory");
    }
    ~X87ControlWord() { __asm__ __volatile__("fldcw %0" : : "m"(saved_) : "memory"); }
    X87ControlWord(const X87ControlWord&) = delete;
    X87ControlWord& operator=(const X87ControlWord&) = delete;

private:
    uint16_t saved_ = 0;
};

inline long double ToLongDouble(ExtendedReal x)
{
    static_assert(sizeof(long double) >= 10, "x87 long double");
    long double v = 0;
    std::memcpy(&v, &x.sig, 8);
    std::memcpy(reinterpret_cast<unsigned char*>(&v) + 8, &x.signExp, 2);
    return v;
}

inline ExtendedReal FromLongDouble(long double v)
{
    ExtendedReal x{};
    std::memcpy(&x.sig, &v, 8);
    std::memcpy(&x.signExp, reinterpret_cast<const unsigned char*>(&v) + 8, 2);
    return x;
}
#endif

}  // namespace numtext_test
