// The text that llvm-readobj prints, read back as its tree of blocks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace readobj {

// "Head {" ... "}" (also with [ ] and ( )): its own lines and inner blocks,
// both in the order printed. Lines are trimmed.
struct Block {
    std::string head;
    std::vector<std::string> lines;
    std::vector<Block> children;

    // The value of the line "key: value" in this block, or "" if none.
    std::string Value(const std::string& key) const;
    // The inner blocks whose head starts with `prefix`.
    std::vector<const Block*> ChildrenStartingWith(const std::string& prefix) const;
    const Block* Child(const std::string& wanted) const;
};

// Whether the flag list `block` (a "Characteristics [ (0x140)" block, say)
// holds the flag; a flag line is its name, a blank and its value:
// "IMAGE_FILE_32BIT_MACHINE (0x100)". False for no block.
bool HasFlag(const Block* block, const std::string& flag);

// The number of the line "key: value", hexadecimal with 0x or decimal;
// false when there is no such line or its value is no number.
bool NumberValue(const Block& block, const std::string& key, uint64_t& number);

// False when the braces do not pair up.
bool Parse(const std::string& text, Block& root);

// "(ID 1033)" -> 1033; -1 when the text names no id.
long IdOf(const std::string& text);

// The bytes of the lines of a hex dump ("0000: 41424344 ...  |ABCD|").
bool HexDumpBytes(const std::vector<std::string>& dump, std::vector<uint8_t>& bytes);

// The lines of `text`, trimmed, empty ones left out.
std::vector<std::string> TrimmedLines(const std::string& text);

}  // namespace readobj
