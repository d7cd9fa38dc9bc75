// One byte of the version information changed in a copy of Qodex.exe must
// make the checker fail, in the version checks and in nothing else. The
// checker runs itself, as a program of its own, on such copies.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "checker_options.h"
#include "expected_resources.h"
#include "files.h"
#include "run_command.h"

namespace {

const char VERSION_SUITE[] = "VersionInformation.";

struct CheckerRun {
    int exitCode;
    std::set<std::string> passed;
    std::set<std::string> failed;
};

std::string OwnPath()
{
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<size_t>(length)) : std::string();
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Every check but this one, on `qodex`; the outcome of each as GoogleTest
// reports it ("[       OK ] Suite.Name (3 ms)", "[  FAILED  ] Suite.Name").
CheckerRun RunChecksOn(const std::string& qodex)
{
    std::vector<std::string> command{OwnPath()};
    const std::vector<std::string> options = OptionArguments(qodex);
    command.insert(command.end(), options.begin(), options.end());
    command.push_back("--gtest_filter=-ChangedVersionByte.*");
    command.push_back("--gtest_color=no");
    const CommandResult result = RunCommand(command);

    CheckerRun run{result.exitCode, {}, {}};
    const std::string ok = "[       OK ] ";
    const std::string failed = "[  FAILED  ] ";
    size_t pos = 0;
    while (pos < result.output.size()) {
        size_t end = result.output.find('\n', pos);
        if (end == std::string::npos) {
            end = result.output.size();
        }
        const std::string line = result.output.substr(pos, end - pos);
        pos = end + 1;
        const bool passedLine = StartsWith(line, ok);
        if (!passedLine && !StartsWith(line, failed)) {
            continue;
        }
        const std::string rest = line.substr(passedLine ? ok.size() : failed.size());
        const std::string name = rest.substr(0, rest.find(' '));
        // The summary's "[  FAILED  ] 2 tests, listed below:" names no test.
        if (name.find('.') != std::string::npos) {
            (passedLine ? run.passed : run.failed).insert(name);
        }
    }
    return run;
}

struct ByteChange {
    const char* what;
    const char* field;  // of expected::VersionInfo(); its first byte changes
};

// clang-format off
const ByteChange BYTE_CHANGES[] = {
    // what                                  field
    {"the file version's minor number",      "VS_FIXEDFILEINFO: dwFileVersionMS"},
    {"a letter of FileDescription",          "FileDescription: value"},
    {"the length of StringFileInfo",         "StringFileInfo: length"},
    {"the translation's language",           "Translation: value"},
};
// clang-format on

TEST(ChangedVersionByte, FailsTheVersionChecksAndNothingElse)
{
    expected::Bytes original;
    ASSERT_TRUE(ReadFileBytes(Options().qodex, original)) << Options().qodex;
    const expected::ByteLayout version = expected::VersionInfo();
    const auto found = std::search(original.begin(), original.end(), version.Data().begin(), version.Data().end());
    ASSERT_NE(found, original.end()) << "the expected version information is not in " << Options().qodex;
    ASSERT_EQ(std::search(found + 1, original.end(), version.Data().begin(), version.Data().end()), original.end())
        << "the version information is in the file twice";
    const size_t start = static_cast<size_t>(found - original.begin());

    ScratchFile copy("Qodex.exe");
    ASSERT_FALSE(copy.Path().empty()) << "no scratch directory";

    // The unchanged copy passes every check, so what fails below fails for
    // the changed byte, and this is the list of checks that must still pass.
    ASSERT_TRUE(WriteFileBytes(copy.Path(), original));
    const CheckerRun unchanged = RunChecksOn(copy.Path());
    ASSERT_EQ(0, unchanged.exitCode);
    ASSERT_TRUE(unchanged.failed.empty());
    ASSERT_TRUE(std::any_of(unchanged.passed.begin(), unchanged.passed.end(), [](const std::string& name) {
        return StartsWith(name, VERSION_SUITE);
    })) << "no version check ran";

    for (const ByteChange& change : BYTE_CHANGES) {
        SCOPED_TRACE(change.what);
        const size_t offset = version.OffsetOf(change.field);
        ASSERT_NE(expected::ByteLayout::NO_FIELD, offset) << change.field;
        expected::Bytes changed = original;
        changed[start + offset] ^= 0x01;
        ASSERT_TRUE(WriteFileBytes(copy.Path(), changed));

        const CheckerRun run = RunChecksOn(copy.Path());
        EXPECT_NE(0, run.exitCode);
        EXPECT_FALSE(run.failed.empty());
        for (const std::string& name : run.failed) {
            EXPECT_TRUE(StartsWith(name, VERSION_SUITE)) << name << " fails as well";
        }
        for (const std::string& name : unchanged.passed) {
            if (!StartsWith(name, VERSION_SUITE)) {
                EXPECT_EQ(1u, run.passed.count(name)) << name << " did not pass";
            }
        }
    }
}

}  // namespace
