// Texts that Qodex reads as numbers, by kind, for the numbers benchmarks.
#pragma once

#include "c_library_reader.h"

#include <string>
#include <vector>

struct CorpusKind {
    const char* name;
    std::vector<std::string> texts;
};

// Error numbers as users type or paste them, and the other forms the
// program accepts. Fixed, so that two runs read the same texts.
const std::vector<CorpusKind>& NumberCorpus();

// What one comparison reads: "all" (the whole corpus) or one kind, with
// where the C library starts on each text.
struct TextSet {
    std::string name;
    std::vector<std::string> texts;
    std::vector<CLibraryText> cLibraryTexts;  // point into `texts`: move a set, never copy it
};
std::vector<TextSet> BenchmarkSets();
