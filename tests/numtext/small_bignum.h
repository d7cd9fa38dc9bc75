// A minimal unsigned big integer for exact reference values in the tests:
// powers of ten and their nearest 64-bit significands. Slow and simple on
// purpose; it shares no code with the library.
#pragma once

#include <cstdint>
#include <vector>

namespace numtext_test {

class SmallBignum {
public:
    explicit SmallBignum(uint32_t value) : limbs_{value} { Trim(); }

    static SmallBignum PowerOfTen(int n)
    {
        SmallBignum result(1);
        for (int i = 0; i < n; ++i) result.MultiplySmall(10);
        return result;
    }

    void MultiplySmall(uint32_t factor)
    {
        uint64_t carry = 0;
        for (uint32_t& limb : limbs_) {
            const uint64_t t = static_cast<uint64_t>(limb) * factor + carry;
            limb = static_cast<uint32_t>(t);
            carry = t >> 32;
        }
        if (carry != 0) limbs_.push_back(static_cast<uint32_t>(carry));
        Trim();
    }

    // Number of bits up to and including the leading 1 (0 for zero).
    int BitLength() const
    {
        if (limbs_.empty()) return 0;
        int bits = static_cast<int>(limbs_.size() - 1) * 32;
        for (uint32_t top = limbs_.back(); top != 0; top >>= 1) ++bits;
        return bits;
    }

    bool Bit(int index) const
    {
        if (index < 0) return false;
        const size_t limb = static_cast<size_t>(index) / 32;
        return limb < limbs_.size() && ((limbs_[limb] >> (index % 32)) & 1) != 0;
    }

    // The value rounded to 64 significant bits, ties to even: the
    // significand and the binary exponent of its leading bit (for an
    // extended real, sig * 2^(exponent - 63)).
    struct Rounded {
        uint64_t sig;
        int exponent;
    };
    Rounded RoundTo64Bits() const
    {
        const int length = BitLength();
        const int low = length - 64;  // index of the significand's last bit
        uint64_t sig = 0;
        for (int i = length - 1; i >= low && i >= 0; --i) sig = (sig << 1) | (Bit(i) ? 1 : 0);
        if (low < 0) sig <<= -low;
        int exponent = length - 1;
        if (low > 0) {
            const bool roundBit = Bit(low - 1);
            bool sticky = false;
            for (int i = low - 2; i >= 0 && !sticky; --i) sticky = Bit(i);
            if (roundBit && (sticky || (sig & 1) != 0)) {
                ++sig;
                if (sig == 0) {
                    sig = 0x8000000000000000u;
                    ++exponent;
                }
            }
        }
        return {sig, exponent};
    }

    // True when the value is exactly representable in 64 significant bits.
    bool FitsIn64Bits() const
    {
        for (int i = 0; i < BitLength() - 64; ++i)
            if (Bit(i)) return false;
        return true;
    }

private:
    void Trim()
    {
        while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
    }
    std::vector<uint32_t> limbs_;
};

}  // namespace numtext_test
