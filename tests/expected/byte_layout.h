// The one little-endian writer of the tests' expected resources. Each byte
// it writes remembers the field it belongs to, so a test that finds a
// difference can say which field it lies in, not only at which offset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace expected {

using Bytes = std::vector<uint8_t>;

class ByteLayout {
public:
    // Names the bytes written from here on, up to the next name. Each call
    // returns the layout, so a field reads as one line:
    // layout.Field("position").Word(x).Word(y).
    ByteLayout& Field(const std::string& name);

    ByteLayout& Byte(uint8_t value);
    ByteLayout& Word(uint16_t value);
    ByteLayout& Dword(uint32_t value);
    // ASCII text as UTF-16 with its terminating zero ("" is one zero word).
    ByteLayout& Utf16(const std::string& ascii);
    // Text as its own bytes, with no terminator.
    ByteLayout& Text(const std::string& text);
    // Zero bytes up to the next multiple of four, named "padding"; the
    // caller names whatever follows.
    ByteLayout& AlignToDword();

    const Bytes& Data() const { return bytes_; }
    size_t Size() const { return bytes_.size(); }
    std::string FieldAt(size_t offset) const;
    // Where the named field starts; NO_FIELD when no field has that name.
    size_t OffsetOf(const std::string& name) const;

    static constexpr size_t NO_FIELD = static_cast<size_t>(-1);

private:
    Bytes bytes_;
    std::vector<std::pair<size_t, std::string>> fields_;  // start offset, name
};

// "0x1F (31)"
std::string Hex(uint32_t value);

// The first byte that differs, with its offset and field ("offset 0x9C
// (156), in control 'Decode': style: expected 0x01 (1), got 0x00 (0)"), or
// the sizes when one is a prefix of the other; "" when both are equal.
std::string FirstDifference(const ByteLayout& expected, const Bytes& actual);

}  // namespace expected
