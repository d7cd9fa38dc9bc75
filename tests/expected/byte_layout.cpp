#include "byte_layout.h"

#include <cstdio>

namespace expected {

ByteLayout& ByteLayout::Field(const std::string& name)
{
    fields_.emplace_back(bytes_.size(), name);
    return *this;
}

ByteLayout& ByteLayout::Byte(uint8_t value)
{
    bytes_.push_back(value);
    return *this;
}

ByteLayout& ByteLayout::Word(uint16_t value)
{
    return Byte(static_cast<uint8_t>(value)).Byte(static_cast<uint8_t>(value >> 8));
}

ByteLayout& ByteLayout::Dword(uint32_t value)
{
    return Word(static_cast<uint16_t>(value)).Word(static_cast<uint16_t>(value >> 16));
}

ByteLayout& ByteLayout::Utf16(const std::string& ascii)
{
    for (unsigned char c : ascii) {
        Word(c);
    }
    return Word(0);
}

ByteLayout& ByteLayout::Text(const std::string& text)
{
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return *this;
}

ByteLayout& ByteLayout::AlignToDword()
{
    if (bytes_.size() % 4 != 0) {
        Field("padding");
        while (bytes_.size() % 4 != 0) {
            Byte(0);
        }
    }
    return *this;
}

std::string ByteLayout::FieldAt(size_t offset) const
{
    if (offset >= bytes_.size()) {
        return "(past the end)";
    }
    std::string name = "(unnamed)";
    for (const auto& field : fields_) {
        if (field.first <= offset) {
            name = field.second;
        }
    }
    return name;
}

size_t ByteLayout::OffsetOf(const std::string& name) const
{
    for (const auto& field : fields_) {
        if (field.second == name) {
            return field.first;
        }
    }
    return NO_FIELD;
}

std::string Hex(uint32_t value)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%X (%u)", static_cast<unsigned>(value), static_cast<unsigned>(value));
    return text;
}

std::string FirstDifference(const ByteLayout& expected, const Bytes& actual)
{
    const Bytes& wanted = expected.Data();
    const size_t common = wanted.size() < actual.size() ? wanted.size() : actual.size();
    for (size_t i = 0; i < common; ++i) {
        if (wanted[i] != actual[i]) {
            return "offset " + Hex(static_cast<uint32_t>(i)) + ", in " + expected.FieldAt(i) + ": expected " +
                   Hex(wanted[i]) + ", got " + Hex(actual[i]);
        }
    }
    if (wanted.size() != actual.size()) {
        return "size: expected " + Hex(static_cast<uint32_t>(wanted.size())) + " bytes, got " +
               Hex(static_cast<uint32_t>(actual.size())) + " (equal up to the shorter)";
    }
    return "";
}

}  // namespace expected
