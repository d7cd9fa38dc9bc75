// Decoding what the user types: "Decode" and Enter, the digits-only number
// box, the fallback sentence and the empty box.
#include "e2e.h"

namespace qodex_e2e {
namespace {

enum class Press { DecodeButton, Enter };

void Decode(const DecoderRun& run, Press press)
{
    if (press == Press::DecodeButton) {
        ClickButton(GetDlgItem(run.dialog, IDOK));
    } else {
        PressKey(FocusOf(run.process.ThreadId()), VK_RETURN);
    }
    ASSERT_TRUE(Settle(run.descriptionBox)) << "the dialog does not answer";
}

struct TypedCase {
    const char* name;
    const char* startTail;
    const char* typed;      // typed into the emptied number box
    const char* numberBox;  // what the box then holds
    Press press;
    DWORD messageId;
};

// Test names and failure messages show the case by its name.
void PrintTo(const TypedCase& c, std::ostream* os) { *os << c.name; }

// clang-format off
const TypedCase TYPED_CASES[] = {
    // name                 start tail  typed         number box    press                 message id
    {"DecodeButton",        "",         "5",          "5",          Press::DecodeButton,  5},
    {"Enter",               "",         "5",          "5",          Press::Enter,         5},
    {"LettersAreRefused",   "",         "1a2b3",      "123",        Press::Enter,         123},
    {"AllThirtyTwoBits",    "",         "4294967295", "4294967295", Press::DecodeButton,  0xFFFFFFFF},
    {"TopBitSet",           "",         "2147500037", "2147500037", Press::DecodeButton,  0x80004005},
    {"AfterAStartNumber",   "5",        "87",         "87",         Press::Enter,         87},
};
// clang-format on

class TypedNumber : public ::testing::TestWithParam<TypedCase> {};

TEST_P(TypedNumber, ShowsTheSystemsDescription)
{
    const TypedCase& c = GetParam();
    DecoderRun run;
    ASSERT_TRUE(OpenDecoder(c.startTail, &run));
    ASSERT_TRUE(WriteText(run.numberBox, ""));
    ASSERT_EQ(run.numberBox, FocusOf(run.process.ThreadId())) << "the focus is not in the number box";
    ASSERT_TRUE(TypeText(run.numberBox, run.descriptionBox, c.typed));
    ASSERT_NO_FATAL_FAILURE(Decode(run, c.press));

    EXPECT_EQ(c.numberBox, TextOf(run.numberBox));
    EXPECT_EQ(Visible(ExpectedDescription(c.messageId)), Visible(TextOf(run.descriptionBox)))
        << "message id " << Hex(c.messageId);
    CloseWithEscape(&run);
}

INSTANTIATE_TEST_SUITE_P(E2E, TypedNumber, ::testing::ValuesIn(TYPED_CASES),
                         [](const ::testing::TestParamInfo<TypedCase>& row) { return row.param.name; });

TEST(Decode, UnknownIdShowsExactlyTheFallbackSentence)
{
    const DWORD unknown = 0xFFFFFFFB;
    ASSERT_FALSE(SystemHasDescription(unknown)) << "the system knows " << Hex(unknown) << "; pick another id";
    const std::string fallback = "Sorry, couldn't find an error's description!";
    ASSERT_EQ(44u, fallback.size());

    DecoderRun run;
    ASSERT_TRUE(OpenDecoder("", &run));
    ASSERT_TRUE(TypeText(run.numberBox, run.descriptionBox, "4294967291"));
    ASSERT_NO_FATAL_FAILURE(Decode(run, Press::DecodeButton));
    EXPECT_EQ(fallback, TextOf(run.descriptionBox));
    CloseWithEscape(&run);
}

// Every lookup starts from an empty buffer: nothing of a longer text before
// it is left behind a shorter one.
TEST(Decode, ShortDescriptionAfterALongOne)
{
    const DWORD longId = 998;
    const DWORD shortId = 0;
    const std::string longText = ExpectedDescription(longId);
    const std::string shortText = ExpectedDescription(shortId);
    ASSERT_GT(longText.size(), shortText.size() + 4) << "pick ids whose descriptions differ more in length";

    DecoderRun run;
    ASSERT_TRUE(OpenDecoder("998", &run));
    ASSERT_EQ(Visible(longText), Visible(TextOf(run.descriptionBox)));
    ASSERT_TRUE(WriteText(run.numberBox, ""));
    ASSERT_TRUE(TypeText(run.numberBox, run.descriptionBox, "0"));
    ASSERT_NO_FATAL_FAILURE(Decode(run, Press::Enter));
    EXPECT_EQ(Visible(shortText), Visible(TextOf(run.descriptionBox)));
    CloseWithEscape(&run);
}

class EmptyBox : public ::testing::TestWithParam<Press> {};

TEST_P(EmptyBox, KeepsThePreviousDescription)
{
    DecoderRun run;
    ASSERT_TRUE(OpenDecoder("5", &run));
    const std::string before = TextOf(run.descriptionBox);
    ASSERT_EQ(Visible(ExpectedDescription(5)), Visible(before));

    ASSERT_TRUE(WriteText(run.numberBox, ""));
    ASSERT_NO_FATAL_FAILURE(Decode(run, GetParam()));
    EXPECT_EQ("", TextOf(run.numberBox));
    EXPECT_EQ(Visible(before), Visible(TextOf(run.descriptionBox)));
    CloseWithEscape(&run);
}

INSTANTIATE_TEST_SUITE_P(E2E, EmptyBox, ::testing::Values(Press::DecodeButton, Press::Enter),
                         [](const ::testing::TestParamInfo<Press>& row) {
                             return row.param == Press::DecodeButton ? "DecodeButton" : "Enter";
                         });

}  // namespace
}  // namespace qodex_e2e
