// TextToNumber against the C library's own readers on the same texts, all of
// the corpus and each kind of text on its own: for the '&' radix forms
// glibc's strtoull on the same digits in the same base, for the rest
// strtold. Repetitions of the two are interleaved at random, so both see the
// same machine; the medians of the repetitions give one line for each
// comparison:
//   RESULT numbers-<kind>-ns-per-text <TextToNumber> <C library> <ratio> <C library's readers>
// Other arguments go to Google Benchmark.
#include "number_corpus.h"
#include "numtext.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int REPETITIONS = 9;

void ReadWithTextToNumber(benchmark::State& state, const TextSet* set)
{
    for (auto _ : state) {
        for (const std::string& text : set->texts) {
            ExtendedReal x = TextToNumber(text.data(), text.size());
            benchmark::DoNotOptimize(x);
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * set->texts.size()));
}

void ReadAllWithCLibrary(benchmark::State& state, const TextSet* set)
{
    for (auto _ : state) {
        for (const CLibraryText& text : set->cLibraryTexts) {
            ReadWithCLibrary(text, [](const auto& result) { benchmark::DoNotOptimize(result); });
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * set->cLibraryTexts.size()));
}

// The console output, and the medians kept for the summary.
class MedianKeeper : public benchmark::ConsoleReporter {
public:
    MedianKeeper() : ConsoleReporter(OO_Tabular) {}  // no colour codes: the output goes to a log
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median" && !run.error_occurred) {
                medianNs[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medianNs;  // per pass over the texts
};

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<TextSet> sets = BenchmarkSets();
    for (const TextSet& set : sets) {
        benchmark::RegisterBenchmark(("TextToNumber/" + set.name).c_str(), ReadWithTextToNumber, &set)
            ->Repetitions(REPETITIONS)
            ->ReportAggregatesOnly(true)
            ->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark(("CLibrary/" + set.name).c_str(), ReadAllWithCLibrary, &set)
            ->Repetitions(REPETITIONS)
            ->ReportAggregatesOnly(true)
            ->Unit(benchmark::kNanosecond);
    }

    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) {
        return 2;
    }
    MedianKeeper reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    for (const TextSet& set : sets) {
        const auto ours = reporter.medianNs.find("TextToNumber/" + set.name);
        const auto peer = reporter.medianNs.find("CLibrary/" + set.name);
        if (ours == reporter.medianNs.end() || peer == reporter.medianNs.end()) {
            continue;  // filtered out
        }
        const std::vector<std::string>& texts = set.texts;
        const double textCount = static_cast<double>(texts.size());
        std::printf("RESULT numbers-%s-ns-per-text %.2f %.2f %.3f %s\n", set.name.c_str(), ours->second / textCount,
                    peer->second / textCount, ours->second / peer->second,
                    CLibraryReaderNames(texts.data(), texts.size()).c_str());
    }
    return 0;
}
