// What the checker is told on its command line: the files to check, the
// readers to check them with and the size budget.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CheckerOptions {
    std::string qodex;           // --qodex=<Qodex.exe>
    std::string compiledScript;  // --res=<the dialog's compiled resource script>
    std::string llvmReadobj;     // --llvm-readobj=<program>
    std::string xmllint;         // --xmllint=<program>
    uint64_t sizeBudget = 0;     // --size-budget=<bytes>
};

const CheckerOptions& Options();

// Takes the options from the arguments that GoogleTest left; false (with
// the reason) when one is missing or unknown.
bool SetOptions(int argc, char** argv, std::string& error);

// The same options, with another Qodex.exe: how the checker runs itself on
// a changed copy.
std::vector<std::string> OptionArguments(const std::string& qodex);
