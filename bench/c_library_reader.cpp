#include "c_library_reader.h"

CLibraryText CLibraryTextFor(const std::string& text)
{
    // Blanks before the '&' would be skipped by TextToNumber; the corpus has
    // none, so the radix form is recognised at the first character only.
    if (text.empty() || text[0] != '&') return CLibraryText{text.c_str(), 0};
    const char* digits = text.c_str() + 1;
    switch (*digits) {
        case 'H':
        case 'h':
            return CLibraryText{digits + 1, 16};
        case 'B':
        case 'b':
            return CLibraryText{digits + 1, 2};
        case 'O':
        case 'o':
        case 'Q':
        case 'q':
            return CLibraryText{digits + 1, 8};
        default:
            return CLibraryText{digits, 8};  // '&17' is octal without a letter
    }
}

std::string CLibraryReaderNames(const std::string* texts, size_t count)
{
    bool radix = false, decimal = false;
    for (size_t i = 0; i < count; ++i) {
        if (CLibraryTextFor(texts[i]).base != 0) radix = true;
        else decimal = true;
    }
    if (radix && decimal) return "strtold+strtoull";
    return radix ? "strtoull" : "strtold";
}
