// Shared pieces of the end-to-end tests: where Qodex.exe is, and a run of it
// that has reached its decoder dialog.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "driver.h"

namespace qodex_e2e {

using namespace qodex_driver;

// The Windows path of the Qodex.exe under test (--qodex=PATH).
const std::string& QodexExe();

// A run of Qodex.exe whose decoder dialog is open and has handled every
// message so far.
struct DecoderRun {
    QodexProcess process;
    HWND dialog = nullptr;
    HWND numberBox = nullptr;
    HWND descriptionBox = nullptr;
};

// Starts exe with the exact command line and waits for the decoder dialog.
::testing::AssertionResult OpenDecoder(const std::string& exe, const std::string& commandLine, DecoderRun* run);
::testing::AssertionResult OpenDecoder(const std::string& tail, DecoderRun* run);

// The control's text; a control that does not answer fails the test.
std::string TextOf(HWND control);

// Ends the run with Escape and expects exit code 0: every test leaves the
// program the way a user would.
void CloseWithEscape(DecoderRun* run);

::testing::AssertionResult ExitsWithZero(QodexProcess* process);

}  // namespace qodex_e2e
