// The seam between the checks of Qodex.exe's resources
// (resources_as_read_test.cpp) and the program that runs them: each such
// program defines ReadQodexResources with its own reader, so the same checks
// hold for every reader.
#pragma once

#include <string>
#include <vector>

#include "expected_resources.h"

namespace reader {

struct Resource {
    expected::ResourceKey key;
    expected::Bytes data;
};

// Every resource of the Qodex.exe under test, as this program's reader finds
// it. On failure: sets `error` and returns nothing.
std::vector<Resource> ReadQodexResources(std::string& error);

}  // namespace reader
