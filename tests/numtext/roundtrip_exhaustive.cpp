// Every 32-bit value through NumberToText, TextToNumber and both integer
// conversions. Too slow for every test run: built alongside the tests and
// started by hand. Exit code 0 when all 2^32 values come back.
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "numtext.h"

namespace {

std::atomic<uint64_t> g_failures{0};

void Check(uint64_t first, uint64_t end)
{
    for (uint64_t u = first; u < end; ++u) {
        const int32_t v = static_cast<int32_t>(static_cast<uint32_t>(u));
        const NumberText text = NumberToText(v);
        const ExtendedReal x = TextToNumber(text.chars, text.length);
        const int32_t back = NumberToInt32(x);
        const uint32_t id = NumberToDword(x);
        if (back != v || id != static_cast<uint32_t>(u)) {
            if (g_failures.fetch_add(1) < 10) {
                std::printf("FAIL 0x%08" PRIX32 " (%" PRId32 ") as '%s' -> 0x%08" PRIX32 ", id 0x%08" PRIX32 "\n",
                            static_cast<uint32_t>(v), v, text.chars, static_cast<uint32_t>(back), id);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    unsigned threads = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : std::thread::hardware_concurrency();
    if (threads == 0) threads = 1;
    const uint64_t total = uint64_t{1} << 32;
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) workers.emplace_back(Check, total * t / threads, total * (t + 1) / threads);
    for (std::thread& w : workers) w.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const uint64_t failures = g_failures.load();
    std::printf("%" PRIu64 " values on %u threads in %.1f s: %" PRIu64 " failures\n", total, threads, seconds,
                failures);
    return failures == 0 ? 0 : 1;
}
