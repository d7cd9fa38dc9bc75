#include "number_corpus.h"

const std::vector<CorpusKind>& NumberCorpus()
{
    // clang-format off
    static const std::vector<CorpusKind> corpus = {
        // Decimal error numbers of 1 to 10 digits: Win32 codes, Winsock and
        // WinINet codes, HRESULTs and NTSTATUS values written in decimal.
        {"decimal", {"0", "2", "5", "32", "87", "183", "997", "1223", "1460", "10054", "12029", "10060",
                     "122092", "770017", "1048576", "2147483", "16777216", "87654321", "134217728",
                     "2147942405", "2147500037", "3221225477", "4294967295", "1223334444"}},
        {"negative", {"-1", "-5", "-87", "-1073741819", "-2147467259", "-2147024891", "-2147483648"}},
        {"radix", {"&H80004005", "&H80070005", "&h8007000e", "&HC0000005", "&H7FFFFFFF", "&HFFFF", "&H1F",
                   "&HFFFF&", "&H8007000E&&", "&O777", "&B101"}},
        {"fraction", {"1.5", "0.25", "2.5", "3.14159", "123.456", "0.001", ".5", "5.", "87.0", "1223.5"}},
        {"exponent", {"1E3", "2.5E-3", "1e10", "6.02E23", "1D5", "5E-1", "1.0e-300", "9.99e+99"}},
        {"long", {"12345678901234567890123456789012345678901234567890", "000000000000000000000000005",
                  "4294967295000000000000", "0.000000000000000000001234567890123456789",
                  "31415926535897932384626433832795028841971693993751058209749445923078164062862"}},
        {"overflow", {"1E5000", "-1E9999", "1e4932", "99999999999999999999", "&HFFFFFFFFFFFFFFFFF",
                      "1E-5000"}},
    };
    // clang-format on
    return corpus;
}

std::vector<TextSet> BenchmarkSets()
{
    std::vector<TextSet> sets(1);
    sets[0].name = "all";
    for (const CorpusKind& kind : NumberCorpus()) {
        sets[0].texts.insert(sets[0].texts.end(), kind.texts.begin(), kind.texts.end());
        sets.push_back(TextSet{kind.name, kind.texts, {}});
    }
    // Only now, with every set in its final place, do the pointers stay valid.
    for (TextSet& set : sets) {
        for (const std::string& text : set.texts) set.cLibraryTexts.push_back(CLibraryTextFor(text));
    }
    return sets;
}
