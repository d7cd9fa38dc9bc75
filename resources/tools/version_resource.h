// The RT_VERSION resource of Qodex.exe.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace resgen {

// Parses "a.b.c.d" (each part 0..65535). False on anything else.
bool ParseVersion(const std::string& text, std::uint16_t (&parts)[4]);

// The version information for version "a.b.c.d": fixed part, one string
// table "040904E4" and the matching translation, every node on a 32-bit
// boundary. Empty when the text is not a version or a string is not ASCII.
std::vector<std::uint8_t> BuildVersionResource(const std::string& version);

}  // namespace resgen
