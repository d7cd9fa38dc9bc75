// Instructions that TextToNumber and the C library's readers execute on the
// numbers benchmark's corpus, as counted by valgrind's callgrind, which does
// not vary with the machine's load. Meant to run as
//   valgrind --tool=callgrind --collect-atstart=no qodex_count_numbers
// Each reader reads each set of texts (the whole corpus, then each kind)
// PASSES times, in a function of its own, with collection on around that
// call alone; then callgrind writes one dump, whose trigger names it:
//   "<reader> <set> <texts read>"
// scripts/bench divides each dump's total by the texts read. Outside
// valgrind the client requests do nothing and the program just runs.
#include "number_corpus.h"
#include "numtext.h"

#include <valgrind/callgrind.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int PASSES = 1000;

// Keeps a result alive without costing more than a store.
template <typename T>
void Keep(const T& value)
{
    asm volatile("" : : "m"(value) : "memory");
}

__attribute__((noinline)) void PassesOfTextToNumber(const TextSet& set, int passes)
{
    for (int pass = 0; pass < passes; ++pass) {
        for (const std::string& text : set.texts) {
            const ExtendedReal x = TextToNumber(text.data(), text.size());
            Keep(x);
        }
    }
}

__attribute__((noinline)) void PassesOfCLibrary(const TextSet& set, int passes)
{
    for (int pass = 0; pass < passes; ++pass) {
        for (const CLibraryText& text : set.cLibraryTexts) {
            ReadWithCLibrary(text, [](const auto& result) { Keep(result); });
        }
    }
}

void Count(const char* reader, const TextSet& set, void (*passesOf)(const TextSet&, int))
{
    CALLGRIND_TOGGLE_COLLECT;
    passesOf(set, PASSES);
    CALLGRIND_TOGGLE_COLLECT;
    const std::string trigger = std::string(reader) + " " + set.name + " " + std::to_string(set.texts.size() * PASSES);
    CALLGRIND_DUMP_STATS_AT(trigger.c_str());
}

}  // namespace

int main()
{
    const std::vector<TextSet> sets = BenchmarkSets();

    // One uncounted pass first: the dynamic linker binds strtold and
    // strtoull on their first calls, work that is no reader's.
    PassesOfTextToNumber(sets[0], 1);
    PassesOfCLibrary(sets[0], 1);
    for (const TextSet& set : sets) {
        Count("TextToNumber", set, PassesOfTextToNumber);
        Count("CLibrary", set, PassesOfCLibrary);
    }
    std::printf("counted %zu sets, %d passes each\n", sets.size(), PASSES);
    return 0;
}
