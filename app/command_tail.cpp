#include "app/command_tail.h"

#include "platform/zero_filled.h"

ZERO_FILLED const char* CommandTail;

namespace {
const unsigned char SPACE = 32;
const unsigned char QUOTE = 34;
}  // namespace

// Only the space separates; tabs and other control characters are text.
const char* FindCommandTail(const char* commandLine)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(commandLine);
    if (*p == QUOTE) {
        ++p;
        while (*p != 0 && *p != QUOTE) {
            ++p;
        }
        if (*p == 0) {
            return reinterpret_cast<const char*>(p);  // no closing quote: the name takes it all
        }
        ++p;
    } else if (*p != SPACE && *p != 0) {
        ++p;  // the first character is the name's, whatever it is
        while (*p > SPACE) {
            ++p;
        }
    }
    // A tab or other control character right after the name begins the tail.
    while (*p == SPACE) {
        ++p;
    }
    return reinterpret_cast<const char*>(p);
}
