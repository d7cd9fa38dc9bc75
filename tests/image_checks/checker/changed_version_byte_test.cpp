// One byte of the version information changed in a copy of Qodex.exe must
// make the checker fail, in the version checks and in nothing else. The
// checker runs itself, as a program of its own, on such copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "checker_options.h"
#include "checker_self_run.h"
#include "expected_resources.h"
#include "files.h"

namespace {

const char VERSION_SUITE[] = "VersionInformation";

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

    const CheckedCopy copy;
    const CheckerRun unchanged = copy.Check(original);
    ASSERT_TRUE(PassesEverythingWith(unchanged, VERSION_SUITE));

    for (const ByteChange& change : BYTE_CHANGES) {
        SCOPED_TRACE(change.what);
        const size_t offset = version.OffsetOf(change.field);
        ASSERT_NE(expected::ByteLayout::NO_FIELD, offset) << change.field;
        expected::Bytes changed = original;
        changed[start + offset] ^= 0x01;
        EXPECT_TRUE(FailsOnlyIn(copy.Check(changed), VERSION_SUITE, unchanged));
    }
}

}  // namespace
