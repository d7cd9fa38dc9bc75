#include "dialog/lookup_description.h"

#include "platform/win32_api.h"

static_assert(sizeof NOT_FOUND_TEXT - 1 == 44, "the fallback sentence is 44 characters");

// Only the system table, no inserts filled and no line width imposed, so
// the stored text arrives with its own line breaks.
void LookupDescription(uint32_t messageId, char* buffer)
{
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, messageId, 0, buffer,
                                  static_cast<DWORD>(DESCRIPTION_BUFFER_SIZE), nullptr);
    if (length != 0) {
        return;
    }
    // A failed call may leave anything in the buffer; the zero byte written
    // here is all that counts.
    size_t i = 0;
    while (i < DESCRIPTION_BUFFER_SIZE - 1 && NOT_FOUND_TEXT[i] != '\0') {
        buffer[i] = NOT_FOUND_TEXT[i];
        ++i;
    }
    buffer[i] = '\0';
}
