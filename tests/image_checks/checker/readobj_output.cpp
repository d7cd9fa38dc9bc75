#include "readobj_output.h"

#include <cerrno>
#include <cstdlib>
#include <utility>

namespace readobj {
namespace {

std::string Trim(const std::string& s)
{
    const size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return "";
    }
    const size_t last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

}  // namespace

std::string Block::Value(const std::string& key) const
{
    const std::string prefix = key + ": ";
    for (const std::string& line : lines) {
        if (line.compare(0, prefix.size(), prefix) == 0) {
            return line.substr(prefix.size());
        }
    }
    return "";
}

std::vector<const Block*> Block::ChildrenStartingWith(const std::string& prefix) const
{
    std::vector<const Block*> found;
    for (const Block& child : children) {
        if (child.head.compare(0, prefix.size(), prefix) == 0) {
            found.push_back(&child);
        }
    }
    return found;
}

const Block* Block::Child(const std::string& wanted) const
{
    for (const Block& child : children) {
        if (child.head == wanted) {
            return &child;
        }
    }
    return nullptr;
}

bool HasFlag(const Block* block, const std::string& flag)
{
    if (block == nullptr) {
        return false;
    }
    for (const std::string& line : block->lines) {
        if (line.compare(0, flag.size() + 1, flag + " ") == 0) {
            return true;
        }
    }
    return false;
}

bool NumberValue(const Block& block, const std::string& key, uint64_t& number)
{
    const std::string text = block.Value(key);
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    number = std::strtoull(text.c_str(), &end, 0);
    return errno == 0 && *end == '\0' && text[0] != '-';
}

std::vector<std::string> TrimmedLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (!line.empty()) {
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

bool Parse(const std::string& text, Block& root)
{
    root = Block{};
    std::vector<Block*> open{&root};
    for (const std::string& line : TrimmedLines(text)) {
        if (line == "}" || line == "]" || line == ")") {
            if (open.size() == 1) {
                return false;
            }
            open.pop_back();
            continue;
        }
        // Openers end in "{", "[" or "(", or carry a value after the
        // bracket: "Characteristics [ (0x140)".
        std::string head;
        if (EndsWith(line, " {") || EndsWith(line, " [") || EndsWith(line, " (")) {
            head = line.substr(0, line.size() - 2);
        } else if (line == "{" || line == "[" || line == "(") {
            head = "";
        } else if (line.find(" [ (") != std::string::npos && line.back() == ')') {
            head = line.substr(0, line.find(" [ ("));
        } else {
            open.back()->lines.push_back(line);
            continue;
        }
        open.back()->children.push_back(Block{head, {}, {}});
        open.push_back(&open.back()->children.back());
    }
    return open.size() == 1;
}

long IdOf(const std::string& text)
{
    const size_t at = text.find("(ID ");
    if (at == std::string::npos) {
        return -1;
    }
    return std::strtol(text.c_str() + at + 4, nullptr, 10);
}

bool HexDumpBytes(const std::vector<std::string>& dump, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    for (const std::string& line : dump) {
        const size_t colon = line.find(": ");
        const size_t bar = line.find('|');
        if (colon == std::string::npos || bar == std::string::npos || bar < colon) {
            return false;
        }
        int high = -1;
        for (size_t i = colon + 2; i < bar; ++i) {
            if (line[i] == ' ') {
                continue;
            }
            const int digit = HexDigit(line[i]);
            if (digit < 0) {
                return false;
            }
            if (high < 0) {
                high = digit;
            } else {
                bytes.push_back(static_cast<uint8_t>(high * 16 + digit));
                high = -1;
            }
        }
        if (high >= 0) {
            return false;
        }
    }
    return true;
}

}  // namespace readobj
