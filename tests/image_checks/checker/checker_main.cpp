// qodex_image_checks --qodex=<Qodex.exe> --res=<qodex.res>
//     --llvm-readobj=<program> --xmllint=<program> --size-budget=<bytes>
//     [GoogleTest options]
// Checks the built Qodex.exe without running it, through readers of other
// makers, on the build machine.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "checker_options.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    std::string error;
    if (!SetOptions(argc, argv, error)) {
        std::fprintf(stderr,
                     "qodex_image_checks: %s\n"
                     "usage: %s --qodex=<Qodex.exe> --res=<qodex.res> --llvm-readobj=<program> "
                     "--xmllint=<program> --size-budget=<bytes> [GoogleTest options]\n",
                     error.c_str(), argv[0]);
        return 2;
    }
    return RUN_ALL_TESTS();
}
