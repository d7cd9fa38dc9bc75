// Little-endian byte assembly for the resource generator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace resgen {

class ByteBuffer {
public:
    void Byte(std::uint8_t value) { bytes_.push_back(value); }
    void Word(std::uint16_t value)
    {
        Byte(static_cast<std::uint8_t>(value));
        Byte(static_cast<std::uint8_t>(value >> 8));
    }
    void Dword(std::uint32_t value)
    {
        Word(static_cast<std::uint16_t>(value));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    // UTF-16LE with its terminating NUL. Callers pass ASCII only (checked
    // where the texts are defined), so widening each byte is exact.
    void Utf16z(const std::string& text)
    {
        for (unsigned char c : text) {
            Word(c);
        }
        Word(0);
    }
    void Append(const std::vector<std::uint8_t>& more) { bytes_.insert(bytes_.end(), more.begin(), more.end()); }
    // Zero bytes up to the next multiple of four.
    void AlignTo4()
    {
        while (bytes_.size() % 4 != 0) {
            Byte(0);
        }
    }
    void PatchWord(std::size_t offset, std::uint16_t value)
    {
        bytes_[offset] = static_cast<std::uint8_t>(value);
        bytes_[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    std::size_t Size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace resgen
