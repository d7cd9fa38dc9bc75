// TextToNumber against glibc's strtold on the same texts, all of the corpus
// and each kind of text on its own. Repetitions of the two are interleaved
// at random, so both see the same machine; the medians of the repetitions
// give one line for each comparison:
//   RESULT numbers-<kind>-ns-per-text <TextToNumber> <strtold> <ratio>
// Other arguments go to Google Benchmark.
#include "number_corpus.h"
#include "numtext.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int REPETITIONS = 9;

void ReadWithTextToNumber(benchmark::State& state, const std::vector<std::string>* texts)
{
    for (auto _ : state) {
        for (const std::string& text : *texts) {
            ExtendedReal x = TextToNumber(text.data(), text.size());
            benchmark::DoNotOptimize(x);
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * texts->size()));
}

void ReadWithStrtold(benchmark::State& state, const std::vector<std::string>* texts)
{
    for (auto _ : state) {
        for (const std::string& text : *texts) {
            char* end = nullptr;
            long double x = std::strtold(text.c_str(), &end);
            benchmark::DoNotOptimize(x);
            benchmark::DoNotOptimize(end);
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * texts->size()));
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
    std::vector<std::string> all;
    for (const CorpusKind& kind : NumberCorpus()) {
        all.insert(all.end(), kind.texts.begin(), kind.texts.end());
    }
    std::vector<std::pair<std::string, const std::vector<std::string>*>> sets = {{"all", &all}};
    for (const CorpusKind& kind : NumberCorpus()) {
        sets.emplace_back(kind.name, &kind.texts);
    }
    for (const auto& set : sets) {
        for (const char* reader : {"TextToNumber", "strtold"}) {
            const std::string name = std::string(reader) + "/" + set.first;
            auto* benchmark = std::string(reader) == "strtold"
                                  ? benchmark::RegisterBenchmark(name.c_str(), ReadWithStrtold, set.second)
                                  : benchmark::RegisterBenchmark(name.c_str(), ReadWithTextToNumber, set.second);
            benchmark->Repetitions(REPETITIONS)->ReportAggregatesOnly(true)->Unit(benchmark::kNanosecond);
        }
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

    for (const auto& set : sets) {
        const auto ours = reporter.medianNs.find("TextToNumber/" + set.first);
        const auto peer = reporter.medianNs.find("strtold/" + set.first);
        if (ours == reporter.medianNs.end() || peer == reporter.medianNs.end()) {
            continue;  // filtered out
        }
        const double texts = static_cast<double>(set.second->size());
        std::printf("RESULT numbers-%s-ns-per-text %.2f %.2f %.3f\n", set.first.c_str(), ours->second / texts,
                    peer->second / texts, ours->second / peer->second);
    }
    return 0;
}
