// Texts that Qodex reads as numbers, by kind, for the numbers benchmark.
#pragma once

#include <string>
#include <vector>

struct CorpusKind {
    const char* name;
    std::vector<std::string> texts;
};

// Error numbers as users type or paste them, and the other forms the
// program accepts. Fixed, so that two runs read the same texts.
const std::vector<CorpusKind>& NumberCorpus();
