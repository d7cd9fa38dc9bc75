// Runs the whole program through its entry routine against the stand-in.
#pragma once

#include <gtest/gtest.h>
#include <stdint.h>

#include <sstream>
#include <string>
#include <vector>

#include "../run_to_exit.h"

// Exit code of one run of ProcessEntry with `commandLine`. The dialog plays
// what was scripted before.
inline UINT RunQodex(const std::string& commandLine)
{
    UINT exitCode = 0;
    if (RunToExit(commandLine, exitCode)) {
        return exitCode;
    }
    ADD_FAILURE() << "ProcessEntry returned instead of ending the process";
    return 0xDEADBEEF;
}

inline std::string Hex(uint64_t value)
{
    std::ostringstream out;
    out << value << " (0x" << std::hex << std::uppercase << value << ")";
    return out.str();
}

inline std::string Join(const std::vector<std::string>& items)
{
    std::string all;
    for (const std::string& item : items) {
        all += (all.empty() ? "" : ", ") + item;
    }
    return all;
}

// Platform calls of the last run with the given name.
inline size_t CountCalls(const std::string& name)
{
    size_t count = 0;
    for (const std::string& call : standin::Calls()) {
        count += call == name;
    }
    return count;
}

inline std::vector<uint32_t> LookedUpIds()
{
    std::vector<uint32_t> ids;
    for (const auto& call : standin::FormatMessageCalls()) {
        ids.push_back(call.messageId);
    }
    return ids;
}

// Every test starts from a fresh process and ends with nothing misused and,
// where the run got past start-up, nothing left allocated.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { standin::Reset(); }
    void TearDown() override
    {
        EXPECT_TRUE(standin::Misuses().empty()) << Join(standin::Misuses());
        standin::Reset();
    }

    static void ExpectNothingLeft()
    {
        EXPECT_EQ(standin::LiveBlocks(), 0u) << "GlobalAlloc blocks still allocated";
        EXPECT_EQ(standin::LiveTlsSlots(), 0u) << "TLS slots still allocated";
    }
};
