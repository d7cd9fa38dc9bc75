#include "checker_self_run.h"

#include <unistd.h>

#include <vector>

#include "checker_options.h"
#include "run_command.h"

namespace {

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

// The outcome of each check as GoogleTest reports it:
// "[       OK ] Suite.Name (3 ms)", "[  FAILED  ] Suite.Name".
CheckerRun RunChecksOn(const std::string& qodex)
{
    std::vector<std::string> command{OwnPath()};
    const std::vector<std::string> options = OptionArguments(qodex);
    command.insert(command.end(), options.begin(), options.end());
    command.push_back(std::string("--gtest_filter=-") + SELF_RUNNING_SUITES + "*");
    command.push_back("--gtest_color=no");
    const CommandResult result = RunCommand(command);

    CheckerRun run{result.exitCode, {}, {}, ""};
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

}  // namespace

CheckerRun CheckedCopy::Check(const expected::Bytes& bytes) const
{
    if (file_.Path().empty()) {
        return {-1, {}, {}, "no scratch directory"};
    }
    if (!WriteFileBytes(file_.Path(), bytes)) {
        return {-1, {}, {}, "cannot write " + file_.Path()};
    }
    return RunChecksOn(file_.Path());
}

::testing::AssertionResult PassesEverythingWith(const CheckerRun& unchanged, const std::string& suite)
{
    if (!unchanged.problem.empty()) {
        return ::testing::AssertionFailure() << unchanged.problem;
    }
    if (unchanged.exitCode != 0 || !unchanged.failed.empty()) {
        return ::testing::AssertionFailure() << "the unchanged copy fails (exit code " << unchanged.exitCode << ", "
                                             << unchanged.failed.size() << " checks)";
    }
    for (const std::string& name : unchanged.passed) {
        if (StartsWith(name, suite + ".")) {
            return ::testing::AssertionSuccess();
        }
    }
    return ::testing::AssertionFailure() << "no check of " << suite << " ran";
}

::testing::AssertionResult FailsOnlyIn(const CheckerRun& changed, const std::string& suite, const CheckerRun& unchanged)
{
    if (!changed.problem.empty()) {
        return ::testing::AssertionFailure() << changed.problem;
    }
    if (changed.exitCode == 0 || changed.failed.empty()) {
        return ::testing::AssertionFailure() << "every check passes";
    }
    for (const std::string& name : changed.failed) {
        if (!StartsWith(name, suite + ".")) {
            return ::testing::AssertionFailure() << name << " fails as well";
        }
    }
    for (const std::string& name : unchanged.passed) {
        if (!StartsWith(name, suite + ".") && changed.passed.count(name) == 0) {
            return ::testing::AssertionFailure() << name << " did not pass";
        }
    }
    return ::testing::AssertionSuccess();
}
