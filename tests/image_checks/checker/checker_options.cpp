#include "checker_options.h"

#include <cstdlib>

namespace {

CheckerOptions options;

const char QODEX[] = "--qodex=";
const char COMPILED_SCRIPT[] = "--res=";
const char LLVM_READOBJ[] = "--llvm-readobj=";
const char XMLLINT[] = "--xmllint=";
const char SIZE_BUDGET[] = "--size-budget=";

bool TakeValue(const std::string& argument, const char* name, std::string& value)
{
    const std::string prefix = name;
    if (argument.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    value = argument.substr(prefix.size());
    return true;
}

}  // namespace

const CheckerOptions& Options() { return options; }

bool SetOptions(int argc, char** argv, std::string& error)
{
    std::string budget;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!TakeValue(argument, QODEX, options.qodex) &&
            !TakeValue(argument, COMPILED_SCRIPT, options.compiledScript) &&
            !TakeValue(argument, LLVM_READOBJ, options.llvmReadobj) && !TakeValue(argument, XMLLINT, options.xmllint) &&
            !TakeValue(argument, SIZE_BUDGET, budget)) {
            error = "unknown argument " + argument;
            return false;
        }
    }
    char* end = nullptr;
    options.sizeBudget = std::strtoull(budget.c_str(), &end, 10);
    if (budget.empty() || *end != '\0' || options.sizeBudget == 0) {
        error = "--size-budget needs a number of bytes";
        return false;
    }
    if (options.qodex.empty() || options.compiledScript.empty() || options.llvmReadobj.empty() ||
        options.xmllint.empty()) {
        error = "every option is needed";
        return false;
    }
    return true;
}

std::vector<std::string> OptionArguments(const std::string& qodex)
{
    return {QODEX + qodex, COMPILED_SCRIPT + options.compiledScript, LLVM_READOBJ + options.llvmReadobj,
            XMLLINT + options.xmllint, SIZE_BUDGET + std::to_string(options.sizeBudget)};
}
