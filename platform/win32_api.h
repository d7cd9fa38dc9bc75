// The one way program code reaches Windows. The Windows build takes the
// system's headers; the host build takes our stand-in, which declares only
// what the program uses and lets the tests drive it.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#else
#include "standin/win32_standin.h"
#endif
