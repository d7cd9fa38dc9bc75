// The description of a message id from the system message table.
#pragma once

#include <stddef.h>
#include <stdint.h>

constexpr size_t DESCRIPTION_BUFFER_SIZE = 512;

// Shown when the system has no description (44 characters, no line end).
constexpr char NOT_FOUND_TEXT[] = "Sorry, couldn't find an error's description!";

// Fills `buffer` (DESCRIPTION_BUFFER_SIZE bytes) with a NUL-terminated
// description: the system's, or NOT_FOUND_TEXT.
void LookupDescription(uint32_t messageId, char* buffer);
