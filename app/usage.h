// The usage message box that a help switch on the command line asks for.
#pragma once

#include "resources/publisher.h"

// Ten lines, CR LF between them, none after the last.
constexpr char USAGE_TEXT[] = QODEX_CREDIT_LINE
    "\r\n"
    "\r\n"
    "Display the error description (if any) from the system message table.\r\n"
    "\r\n"
    "USAGE:\r\n"
    "Qodex.exe nError [/? | /h]]\r\n"
    "\r\n"
    "WHERE:\r\n"
    "nError    Error number that you want to find a description.\r\n"
    "/? | /h   Display this help.";

constexpr char USAGE_CAPTION[] = "Qodex version " QODEX_VERSION_TEXT;

// Returns when the user has closed the box.
void ShowUsage();
