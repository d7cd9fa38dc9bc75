// The C library's own reader for each corpus text, the peer that
// TextToNumber is measured against: for the '&' radix forms strtoull on the
// same digits in the same base, for every other text strtold.
#pragma once

#include <cstdlib>
#include <string>

struct CLibraryText {
    const char* start;  // NUL-terminated, inside the corpus text
    int base;           // 2, 8 or 16 for strtoull; 0 for strtold
};

// Where the C library starts reading `text`, and with which reader. The
// text must outlive the result.
CLibraryText CLibraryTextFor(const std::string& text);

// "strtoull", "strtold", or both joined by '+' when the texts need both.
std::string CLibraryReaderNames(const std::string* texts, size_t count);

// Reads one text as the C library does and hands the value and the end to
// `keep`, which stops the compiler from dropping the call.
template <typename Keep>
inline void ReadWithCLibrary(const CLibraryText& text, Keep&& keep)
{
    char* end = nullptr;
    if (text.base == 0) {
        const long double value = std::strtold(text.start, &end);
        keep(value);
    } else {
        const unsigned long long value = std::strtoull(text.start, &end, text.base);
        keep(value);
    }
    keep(end);
}
