// The checker run again, as a program of its own, on a changed copy of
// Qodex.exe: how the checks show that a wrong file fails them, and fails
// only the checks that it should.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "byte_layout.h"
#include "files.h"

// Suites whose names start with this run the checker themselves; a run on a
// copy leaves them out.
constexpr char SELF_RUNNING_SUITES[] = "Changed";

struct CheckerRun {
    int exitCode;
    std::set<std::string> passed;  // "Suite.Name"
    std::set<std::string> failed;
    std::string problem;  // why the checker did not run at all, or ""
};

// A scratch copy of Qodex.exe that the checker runs on.
class CheckedCopy {
public:
    CheckedCopy() : file_("Qodex.exe") {}

    // Writes `bytes` as the copy and runs every check but the self-running
    // ones on it.
    CheckerRun Check(const expected::Bytes& bytes) const;

private:
    ScratchFile file_;
};

// The unchanged copy: every check passes and some check of `suite` ran, so
// that what fails on a changed copy fails for the change.
::testing::AssertionResult PassesEverythingWith(const CheckerRun& unchanged, const std::string& suite);

// The changed copy: some check fails, all of them in `suite`, and every
// other check that passed on the unchanged copy still passes.
::testing::AssertionResult FailsOnlyIn(const CheckerRun& changed, const std::string& suite,
                                       const CheckerRun& unchanged);
