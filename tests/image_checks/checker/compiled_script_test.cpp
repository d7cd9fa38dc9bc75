// The resource script compiled on its own (qodex.rc into a .res file, as
// the resource compiler makes it before the link), read by llvm-readobj:
// the dialog template alone, under its name and language, byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checker_options.h"
#include "expected_dialog.h"
#include "expected_resources.h"
#include "readobj_resources.h"

namespace {

TEST(CompiledScript, HoldsTheDialogTemplateAlone)
{
    std::vector<reader::Resource> resources;
    std::string error;
    ASSERT_TRUE(CompiledScriptResources(Options().compiledScript, resources, error)) << error;
    ASSERT_EQ(1u, resources.size()) << "entries in " << Options().compiledScript;
    EXPECT_EQ(expected::Describe(expected::DIALOG_KEY), expected::Describe(resources[0].key));
    EXPECT_EQ("", expected::FirstDifference(expected::DialogTemplate(), resources[0].data));
}

}  // namespace
