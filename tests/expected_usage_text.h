// The usage box's text as the tests expect it, written out once for the
// host tests and the end-to-end tests: ten lines, CR LF between them, none
// after the last.
#pragma once

inline constexpr char EXPECTED_USAGE_TEXT[] =
    "Qodex 1.0.0.0 - Varnholt - https://varnholt.example\r\n"
    "\r\n"
    "Display the error description (if any) from the system message table.\r\n"
    "\r\n"
    "USAGE:\r\n"
    "Qodex.exe nError [/? | /h]]\r\n"
    "\r\n"
    "WHERE:\r\n"
    "nError    Error number that you want to find a description.\r\n"
    "/? | /h   Display this help.";
