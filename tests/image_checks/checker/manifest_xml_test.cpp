// The manifest as an XML parser reads it: xmllint, given the bytes that
// llvm-readobj dumps from Qodex.exe.
#include <gtest/gtest.h>

#include <string>

#include "checker_options.h"
#include "files.h"
#include "resource_reader.h"
#include "run_command.h"

namespace {

class ManifestXml : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        const std::vector<reader::Resource> resources = reader::ReadQodexResources(error);
        ASSERT_TRUE(error.empty()) << error;
        const reader::Resource* manifest = nullptr;
        for (const reader::Resource& resource : resources) {
            if (resource.key == expected::MANIFEST_KEY) {
                manifest = &resource;
            }
        }
        ASSERT_NE(manifest, nullptr) << "no resource " << expected::Describe(expected::MANIFEST_KEY);
        ASSERT_FALSE(file_.Path().empty()) << "no scratch directory";
        ASSERT_TRUE(WriteFileBytes(file_.Path(), manifest->data)) << file_.Path();
    }

    CommandResult Xmllint(const std::vector<std::string>& options)
    {
        std::vector<std::string> command{Options().xmllint};
        command.insert(command.end(), options.begin(), options.end());
        command.push_back(file_.Path());
        return RunCommand(command);
    }

    ScratchFile file_{"manifest.xml"};
};

TEST_F(ManifestXml, IsWellFormed)
{
    const CommandResult result = Xmllint({"--noout"});
    EXPECT_EQ(0, result.exitCode);
    EXPECT_EQ("", result.output);
}

struct XPathCase {
    const char* expression;
    const char* value;
};

// Elements by position below the root, so that an extra or misplaced one
// shows; their names and namespace are checked first.
// clang-format off
const XPathCase XPATH_CASES[] = {
    // expression                                       value
    {"local-name(/*)",                                  "assembly"},
    {"namespace-uri(/*)",                               "urn:schemas-microsoft-com:asm.v1"},
    {"string(/*/@manifestVersion)",                     "1.0"},
    {"count(//*)",                                      "6"},
    {"local-name(/*/*[1])",                             "assemblyIdentity"},
    {"count(/*/*[1]/@*)",                               "4"},
    {"string(/*/*[1]/@name)",                           "Microsoft.Windows.Shell.shell32"},
    {"string(/*/*[1]/@processorArchitecture)",          "x86"},
    {"string(/*/*[1]/@version)",                        "5.1.0.0"},
    {"string(/*/*[1]/@type)",                           "win32"},
    {"local-name(/*/*[2])",                             "description"},
    {"string(/*/*[2])",                                 "Windows Shell"},
    {"local-name(/*/*[3])",                             "dependency"},
    {"local-name(/*/*[3]/*)",                           "dependentAssembly"},
    {"local-name(/*/*[3]/*/*)",                         "assemblyIdentity"},
    {"count(/*/*[3]/*/*/@*)",                           "6"},
    {"string(/*/*[3]/*/*/@type)",                       "win32"},
    {"string(/*/*[3]/*/*/@name)",                       "Microsoft.Windows.Common-Controls"},
    {"string(/*/*[3]/*/*/@version)",                    "6.0.0.0"},
    {"string(/*/*[3]/*/*/@processorArchitecture)",      "x86"},
    {"string(/*/*[3]/*/*/@publicKeyToken)",             "6595b64144ccf1df"},
    {"string(/*/*[3]/*/*/@language)",                   "*"},
};
// clang-format on

TEST_F(ManifestXml, HoldsTheIdentityAndTheCommonControlsDependency)
{
    for (const XPathCase& row : XPATH_CASES) {
        const CommandResult result = Xmllint({"--xpath", row.expression});
        std::string value = result.output;
        if (!value.empty() && value.back() == '\n') {
            value.pop_back();
        }
        EXPECT_EQ(0, result.exitCode) << row.expression;
        EXPECT_EQ(row.value, value) << row.expression;
    }
}

}  // namespace
