// A few hundred generated texts put into the real number box, each decoded
// with "Decode": digits, signs, '&' forms, blanks, decimals, bytes above 127,
// junk, an empty box and 64 KiB of digits. The description shown must always
// be the system's own text for the id that our numeric rules give the box's
// text (or the fallback sentence), an empty box must keep the description,
// and the dialog must keep answering. The seed is fixed and printed, so a
// failing text can be made again.
#include <stdint.h>
#include <stdio.h>

#include <random>
#include <string>
#include <vector>

#include "e2e.h"
#include "numtext.h"

namespace qodex_e2e {
namespace {

constexpr uint32_t SEED = 0x0DEC0DE5;
constexpr size_t LONGEST_DIGIT_RUN = 64 * 1024;

using Random = std::mt19937;

size_t Below(Random& random, size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); }

template <size_t N>
const char* Pick(Random& random, const char* const (&choices)[N])
{
    return choices[Below(random, N)];
}

std::string Digits(Random& random, size_t count, const char* alphabet = "0123456789")
{
    const std::string letters(alphabet);
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        text += letters[Below(random, letters.size())];
    }
    return text;
}

// Mostly short numbers, which the system knows, now and then long ones.
std::string SomeDigits(Random& random)
{
    return Digits(random, Below(random, 4) == 0 ? 1 + Below(random, 24) : 1 + Below(random, 3));
}

std::string MakeDigits(Random& random) { return SomeDigits(random); }

std::string MakeSigned(Random& random)
{
    static const char* const SIGNS[] = {"-", "+", "--", "+-", "- ", "-+"};
    std::string text = Pick(random, SIGNS) + SomeDigits(random);
    if (Below(random, 3) == 0) {
        text += "." + Digits(random, Below(random, 4));
    }
    return text;
}

std::string MakeRadix(Random& random)
{
    struct Form {
        const char* prefix;
        const char* alphabet;  // now and then a digit beyond the radix
    };
    static const Form FORMS[] = {
        {"&H", "0123456789ABCDEFabcdef"},
        {"&h", "0123456789ABCDEFG"},
        {"&B", "012"},
        {"&b", "01"},
        {"&O", "012345678"},
        {"&Q", "01234567"},
        {"&", "0123456789"},
        {"&o", "01234567"},
    };
    static const char* const SUFFIXES[] = {"", "", "%", "&", "&&", "?", "??", "???", " 1", "x"};
    const Form& form = FORMS[Below(random, sizeof FORMS / sizeof FORMS[0])];
    std::string text = form.prefix;
    if (Below(random, 4) == 0) {
        text += std::string(Below(random, 6), '0');  // leading zeros change the sign rule
    }
    text += Digits(random, Below(random, 20), form.alphabet);
    return text + Pick(random, SUFFIXES);
}

std::string MakeBlanks(Random& random)
{
    std::string text = Digits(random, Below(random, 6), " \t\n\r");
    if (Below(random, 4) != 0) {
        text += Below(random, 2) ? SomeDigits(random) : MakeSigned(random);
    }
    return text;
}

std::string MakeDecimal(Random& random)
{
    static const char* const EXPONENTS[] = {"e", "E", "d", "D"};
    static const char* const EXPONENT_SIGNS[] = {"", "+", "-", "--"};
    std::string text = Digits(random, Below(random, 6)) + "." + Digits(random, Below(random, 6));
    if (Below(random, 2)) {
        text += std::string(Pick(random, EXPONENTS)) + Pick(random, EXPONENT_SIGNS) + Digits(random, Below(random, 5));
    }
    return text;
}

// Bytes above 127 before, among or after the digits.
std::string MakeHighBytes(Random& random)
{
    std::string text;
    const size_t count = 1 + Below(random, 12);
    for (size_t i = 0; i < count; ++i) {
        text +=
            Below(random, 2) ? static_cast<char>(128 + Below(random, 128)) : static_cast<char>('0' + Below(random, 10));
    }
    return text;
}

std::string MakeJunk(Random& random)
{
    std::string text;
    const size_t count = 1 + Below(random, 30);
    for (size_t i = 0; i < count; ++i) {
        text += static_cast<char>(32 + Below(random, 95));
    }
    return text;
}

struct Kind {
    const char* name;
    std::string (*make)(Random&);
};

const Kind KINDS[] = {
    {"digits", MakeDigits},   {"signed", MakeSigned},        {"radix", MakeRadix}, {"blanks", MakeBlanks},
    {"decimal", MakeDecimal}, {"high bytes", MakeHighBytes}, {"junk", MakeJunk},
};

struct Sample {
    const char* kind;
    std::string text;
};

std::vector<Sample> Samples(Random& random)
{
    std::vector<Sample> samples;
    for (int round = 0; round < 40; ++round) {
        for (const Kind& kind : KINDS) {
            samples.push_back({kind.name, kind.make(random)});
        }
        if (round % 10 == 5) {
            samples.push_back({"empty", ""});  // keeps the description before it
        }
    }
    // Wine's edit control takes a text with many digits in quadratic time
    // (64 KiB of digits take it 4 s, 128 KiB over 10 s, and 1 MiB would take
    // a quarter of an hour; even 256 digits before 1 MiB of letters take
    // over 10 s), so 64 KiB is the longest text of digits here.
    samples.push_back({"64 KiB of digits", Digits(random, LONGEST_DIGIT_RUN)});
    samples.push_back({"after the long text", "5"});
    return samples;
}

bool IsAscii(const std::string& text)
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) > 127) {
            return false;
        }
    }
    return true;
}

TEST(NumberBoxFuzz, ShowsTheSystemsTextForTheNumberOfEveryText)
{
    Random random(SEED);
    const std::vector<Sample> samples = Samples(random);
    printf("number box fuzz: seed 0x%08X, %zu texts\n", SEED, samples.size());
    fflush(stdout);

    DecoderRun run;
    ASSERT_TRUE(OpenDecoder("", &run));
    const HWND decode = GetDlgItem(run.dialog, IDOK);
    std::string previous = TextOf(run.descriptionBox);
    int mismatches = 0;
    int systemTexts = 0;
    for (size_t i = 0; i < samples.size() && mismatches < 10; ++i) {
        const Sample& sample = samples[i];
        SCOPED_TRACE("text " + std::to_string(i) + " (" + sample.kind + "): '" + Visible(sample.text.substr(0, 80)) +
                     "'" + (sample.text.size() > 80 ? "..., " + std::to_string(sample.text.size()) + " bytes" : ""));
        ASSERT_TRUE(WriteText(run.numberBox, sample.text)) << "the number box did not take the text";
        ClickButton(decode);
        ASSERT_TRUE(Settle(run.descriptionBox)) << "the dialog stopped answering";

        // The program reads what the box holds: bytes above 127 go through
        // the system's code page conversion on the way in and out.
        std::string held;
        ASSERT_TRUE(ReadText(run.numberBox, &held)) << "the number box stopped answering";
        if (IsAscii(sample.text)) {
            EXPECT_TRUE(held == sample.text) << "the box holds '" << Visible(held.substr(0, 80)) << "'";
        }
        const DWORD id = NumberToDword(TextToNumber(held.data(), held.size()));
        const std::string expected = held.empty() ? previous : ExpectedDescription(id);
        const std::string shown = TextOf(run.descriptionBox);
        EXPECT_EQ(Visible(expected), Visible(shown)) << "message id " << Hex(id);
        mismatches += expected != shown;
        systemTexts += !held.empty() && SystemHasDescription(id);
        previous = shown;
    }
    printf("number box fuzz: %d texts had a system description\n", systemTexts);
    EXPECT_GT(systemTexts, 0) << "no text reached the system's table";
    EXPECT_TRUE(run.process.Running()) << "Qodex.exe ended";
    CloseWithEscape(&run);
}

}  // namespace
}  // namespace qodex_e2e
