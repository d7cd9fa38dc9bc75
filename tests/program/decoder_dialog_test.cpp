#include <string>

#include "dialog/decoder_dialog.h"
#include "dialog/lookup_description.h"
#include "program_test_support.h"

namespace {

using standin::Action;

const std::string ACCESS_DENIED = "Access is denied.\r\n";
const std::string SUCCESS = "The operation completed successfully.\r\n";
const std::string FILE_NOT_FOUND = "The system cannot find the file specified.\r\n";
const std::string NOT_FOUND = "Sorry, couldn't find an error's description!";

class DecoderDialogTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        standin::SetMessage(0, SUCCESS);
        standin::SetMessage(2, FILE_NOT_FOUND);
        standin::SetMessage(5, ACCESS_DENIED);
        standin::SetMessage(0x80004005, "Unspecified error\r\n");
        standin::SetMessage(0x80000000, "Top bit only.\r\n");
        standin::SetMessage(0xFFFFFFFB, "Minus five.\r\n");
        standin::SetMessage(0xFFFFFFFF, "All bits.\r\n");
    }

    // Runs Qodex with `tail`, plays `actions` in the dialog and checks that
    // the run ended normally with nothing left behind.
    const standin::DialogRun& Run(const std::string& tail, const std::vector<Action>& actions)
    {
        standin::ScriptDialog(actions);
        EXPECT_EQ(RunQodex(tail.empty() ? "Qodex.exe" : "Qodex.exe " + tail), 0u);
        ExpectNothingLeft();
        static const standin::DialogRun none{};
        if (standin::Dialogs().size() != 1) {
            ADD_FAILURE() << standin::Dialogs().size() << " dialogs opened";
            return none;
        }
        const standin::DialogRun& dialog = standin::Dialogs()[0];
        EXPECT_EQ(dialog.states.size(), dialog.actionsPlayed + 1);
        // Each call of the procedure released the texts it made.
        for (const standin::ProcCall& call : dialog.messages) {
            EXPECT_EQ(call.liveBlocksAfter, dialog.liveBlocksAtStart)
                << "message " << Hex(call.message) << " left a text allocated";
        }
        return dialog;
    }

    // The procedure's first call with `message`.
    static standin::ProcCall FirstCall(const standin::DialogRun& dialog, UINT message)
    {
        for (const standin::ProcCall& call : dialog.messages) {
            if (call.message == message) {
                return call;
            }
        }
        ADD_FAILURE() << "message " << Hex(message) << " never arrived";
        return standin::ProcCall{message, 0, 0, -1, 0, -1};
    }
};

struct OpenCase {
    const char* tail;
    const char* code;  // number box once open
    bool lookedUp;
    uint32_t messageId;
    std::string description;  // description box once open
};

TEST_F(DecoderDialogTest, OpensPrefilledAndDecoded)
{
    // clang-format off
    const OpenCase cases[] = {
        {"",           "",            false, 0,          ""},
        {"1223334444", "",            false, 0,          ""},
        {"5",          "5",           true,  5,          ACCESS_DENIED},
        {"0",          "0",           true,  0,          SUCCESS},
        {"abc",        "0",           true,  0,          SUCCESS},
        {"-5",         "-5",          true,  0xFFFFFFFB, "Minus five.\r\n"},
        {"4294967295", "-2147483648", true,  0x80000000, "Top bit only.\r\n"},
        {"&H80004005", "-2147467259", true,  0x80004005, "Unspecified error\r\n"},
        {"77",         "77",          true,  77,         NOT_FOUND},
    };
    // clang-format on
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(std::string("tail [") + c.tail + "]");
        standin::Reset();
        SetUp();
        const standin::DialogRun& dialog = Run(c.tail, {standin::PressEscape()});
        ASSERT_FALSE(dialog.states.empty());
        EXPECT_EQ(dialog.states[0].Text(IDC_CODE), c.code);
        EXPECT_EQ(dialog.states[0].Text(IDC_DESCRIPTION), c.description);
        // The procedure puts the focus in the number box itself; with its
        // nonzero result the dialog manager would put it there as well.
        const standin::ProcCall init = FirstCall(dialog, WM_INITDIALOG);
        EXPECT_EQ(init.focusAfter, IDC_CODE) << "focus when WM_INITDIALOG returned";
        EXPECT_NE(init.result, 0);
        EXPECT_EQ(dialog.states[0].focus, IDC_CODE);
        ASSERT_EQ(standin::FormatMessageCalls().size(), c.lookedUp ? 1u : 0u);
        if (c.lookedUp) {
            const standin::FormatMessageCall& call = standin::FormatMessageCalls()[0];
            EXPECT_EQ(call.messageId, c.messageId) << Hex(call.messageId) << " looked up";
            EXPECT_EQ(call.flags, 0x1000u) << Hex(call.flags);
            EXPECT_EQ(call.source, nullptr);
            EXPECT_EQ(call.languageId, 0u);
            EXPECT_EQ(call.size, 512u);
            EXPECT_FALSE(call.arguments);
        }
    }
}

TEST_F(DecoderDialogTest, PrefillsThenFocusesThenLooksUp)
{
    Run("5", {standin::PressEscape()});
    std::vector<std::string> order;
    for (const std::string& call : standin::Calls()) {
        if (call == "SetWindowTextA" || call == "SetFocus" || call == "FormatMessageA") {
            order.push_back(call);
        }
    }
    EXPECT_EQ(Join(order), "SetWindowTextA, SetFocus, FormatMessageA, SetWindowTextA");
}

struct DecodeCase {
    const char* name;
    std::vector<Action> actions;
    std::vector<uint32_t> lookedUp;  // after the one at opening
    std::string code;                // number box at the end
    std::string description;         // description box at the end
};

TEST_F(DecoderDialogTest, DecodesWhatTheBoxHolds)
{
    using namespace standin;
    const std::string longText(400, 'L');
    // clang-format off
    const DecodeCase cases[] = {
        {"typed then Decode", {Clear(IDC_CODE), Type("2", IDC_CODE), Click(IDOK)},
         {2}, "2", FILE_NOT_FOUND},
        {"typed then Enter", {Clear(IDC_CODE), Type("2", IDC_CODE), PressEnter()},
         {2}, "2", FILE_NOT_FOUND},
        {"typing keeps digits", {Clear(IDC_CODE), Type("x-0a", IDC_CODE), PressEnter()},
         {0}, "0", SUCCESS},
        {"empty box keeps the description", {Clear(IDC_CODE), Click(IDOK)},
         {}, "", ACCESS_DENIED},
        {"unknown id", {Clear(IDC_CODE), Type("77", IDC_CODE), Click(IDOK)},
         {77}, "77", NOT_FOUND},
        {"typed 4294967295", {Clear(IDC_CODE), Type("4294967295", IDC_CODE), Click(IDOK)},
         {0xFFFFFFFF}, "4294967295", "All bits.\r\n"},
        {"typed 2147483648", {Clear(IDC_CODE), Type("2147483648", IDC_CODE), Click(IDOK)},
         {0x80000000}, "2147483648", "Top bit only.\r\n"},
        {"pasted hex", {Paste("&H80004005", IDC_CODE), Click(IDOK)},
         {0x80004005}, "&H80004005", "Unspecified error\r\n"},
        {"pasted blanks and sign", {Paste(" \t-5xyz", IDC_CODE), Click(IDOK)},
         {0xFFFFFFFB}, " \t-5xyz", "Minus five.\r\n"},
        {"decode twice", {Click(IDOK), PressEnter()},
         {5, 5}, "5", ACCESS_DENIED},
        {"high word ignored for IDOK", {Clear(IDC_CODE), Type("2", IDC_CODE), Command(MAKEWPARAM(IDOK, 0xBEEF))},
         {2}, "2", FILE_NOT_FOUND},
        {"edit notifications do nothing",
         {Command(MAKEWPARAM(IDC_CODE, EN_CHANGE)), Command(MAKEWPARAM(IDC_DESCRIPTION, EN_SETFOCUS)),
          Command(MAKEWPARAM(IDC_CODE, EN_MAXTEXT)), Command(MAKEWPARAM(3, BN_CLICKED))},
         {}, "5", ACCESS_DENIED},
        {"other messages do nothing", {Message(WM_NULL), Message(0x0400, 1, 2), Message(WM_INITDIALOG + 0x10000)},
         {}, "5", ACCESS_DENIED},
    };
    // clang-format on
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        SetUp();
        std::vector<Action> actions = c.actions;
        actions.push_back(PressEscape());
        const DialogRun& dialog = Run("5", actions);
        ASSERT_EQ(dialog.actionsPlayed, actions.size());
        std::vector<uint32_t> expected{5};
        expected.insert(expected.end(), c.lookedUp.begin(), c.lookedUp.end());
        EXPECT_EQ(LookedUpIds(), expected);
        EXPECT_EQ(dialog.states.back().Text(IDC_CODE), c.code);
        EXPECT_EQ(dialog.states.back().Text(IDC_DESCRIPTION), c.description);
        EXPECT_TRUE(dialog.ended);
    }
}

TEST_F(DecoderDialogTest, ShowsTheWholeFallbackAndTheSystemsTextAsItIs)
{
    using namespace standin;
    SetMessage(10, std::string(300, 'L') + "\r\n");
    SetMessage(11, "Short.");
    SetMessage(12, std::string(511, 'F'));  // fills the buffer to its last byte
    SetMessage(13, std::string(512, 'T'));  // one too many: the system refuses it
    SetMessage(14, "Line one.\r\nLine two.\r\n");
    const DialogRun& dialog =
        Run("10", {Clear(IDC_CODE), Type("11", IDC_CODE), PressEnter(), Clear(IDC_CODE), Type("12", IDC_CODE),
                   PressEnter(), Clear(IDC_CODE), Type("13", IDC_CODE), PressEnter(), Clear(IDC_CODE),
                   Type("14", IDC_CODE), PressEnter(), PressEscape()});
    ASSERT_EQ(dialog.states.size(), 14u);
    EXPECT_EQ(dialog.states[0].Text(IDC_DESCRIPTION), std::string(300, 'L') + "\r\n");
    EXPECT_EQ(dialog.states[3].Text(IDC_DESCRIPTION), "Short.") << "a short description after a long one";
    EXPECT_EQ(dialog.states[6].Text(IDC_DESCRIPTION), std::string(511, 'F'));
    EXPECT_EQ(dialog.states[9].Text(IDC_DESCRIPTION), NOT_FOUND) << "a description too long for the buffer";
    EXPECT_EQ(dialog.states[9].Text(IDC_DESCRIPTION).size(), 44u);
    EXPECT_EQ(dialog.states[12].Text(IDC_DESCRIPTION), "Line one.\r\nLine two.\r\n");
}

TEST_F(DecoderDialogTest, LookupFallsBackWhateverTheFailedCallLeft)
{
    char buffer[DESCRIPTION_BUFFER_SIZE];
    for (char& c : buffer) {
        c = 'Z';
    }
    LookupDescription(123456, buffer);  // no entry: the stand-in scribbles over the buffer
    EXPECT_EQ(std::string(buffer), NOT_FOUND);
    EXPECT_EQ(std::string(buffer).size(), 44u);
}

struct EndCase {
    const char* name;
    Action action;
};

TEST_F(DecoderDialogTest, EscapeCancelAndTheCloseBoxEndIt)
{
    using namespace standin;
    const EndCase cases[] = {
        {"Escape", PressEscape()},
        {"Cancel", Click(IDCANCEL)},
        {"close box", CloseBox()},
        {"IDCANCEL with any high word", Command(MAKEWPARAM(IDCANCEL, 0xFFFF))},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        SetUp();
        std::vector<Action> actions{c.action, Type("9", IDC_CODE)};  // the 9 is never typed: the dialog has ended
        const DialogRun& dialog = Run("5", actions);
        EXPECT_TRUE(dialog.ended);
        EXPECT_EQ(dialog.endResult, 0);
        EXPECT_EQ(dialog.returned, 0);
        EXPECT_EQ(dialog.actionsPlayed, 1u);
        EXPECT_EQ(dialog.states.back().Text(IDC_CODE), "5");
        EXPECT_EQ(CountCalls("EndDialog"), 1u);
    }
}

TEST_F(DecoderDialogTest, CloseBoxIsLeftToTheDefaultProcessing)
{
    const standin::DialogRun& dialog = Run("", {standin::CloseBox()});
    EXPECT_EQ(FirstCall(dialog, WM_CLOSE).result, 0) << "WM_CLOSE must go on to the default IDCANCEL";
    EXPECT_TRUE(dialog.ended);
}

TEST_F(DecoderDialogTest, EditNotificationsGetZero)
{
    const standin::DialogRun& dialog =
        Run("5", {standin::Clear(IDC_CODE), standin::Type("42", IDC_CODE), standin::PressEscape()});
    size_t notifications = 0;
    for (const standin::ProcCall& call : dialog.messages) {
        WORD id = LOWORD(call.wParam);
        if (call.message == WM_COMMAND && (id == IDC_CODE || id == IDC_DESCRIPTION)) {
            ++notifications;
            EXPECT_EQ(call.result, 0) << "notification " << Hex(HIWORD(call.wParam)) << " from " << id;
        }
    }
    EXPECT_GE(notifications, 3u) << "the stand-in sent no edit notifications";
}

TEST_F(DecoderDialogTest, FocusFollowsTheUser)
{
    const standin::DialogRun& dialog =
        Run("", {standin::Type("5", IDC_CODE), standin::Click(IDOK), standin::Click(IDC_CODE), standin::PressEscape()});
    ASSERT_EQ(dialog.states.size(), 5u);
    EXPECT_EQ(dialog.states[0].focus, IDC_CODE);
    EXPECT_EQ(dialog.states[1].focus, IDC_CODE);
    EXPECT_EQ(dialog.states[2].focus, IDOK);
    EXPECT_EQ(dialog.states[2].Text(IDC_DESCRIPTION), ACCESS_DENIED);
    EXPECT_EQ(dialog.states[3].focus, IDC_CODE);
}

TEST_F(DecoderDialogTest, HugePastedTextIsReadWhole)
{
    using namespace standin;
    const size_t mebibyte = 1024 * 1024;
    // clang-format off
    struct HugeCase {
        std::string text;
        uint32_t messageId;
    } cases[] = {
        {std::string(mebibyte - 1, ' ') + "5", 5},           // blanks are skipped to the very end
        {std::string(mebibyte, '7'), 0},                     // far beyond range: id 0
        {std::string(mebibyte, 'x'), 0},                     // no number
        {"2" + std::string(mebibyte - 1, 'q'), 2},    // the number, then junk
    };
    // clang-format on
    for (const HugeCase& c : cases) {
        Reset();
        SetUp();
        const DialogRun& dialog = Run("", {SetText(c.text, IDC_CODE), Click(IDOK), PressEscape()});
        EXPECT_EQ(dialog.states.back().Text(IDC_CODE).size(), mebibyte);
        EXPECT_EQ(LookedUpIds(), std::vector<uint32_t>{c.messageId}) << "text starting [" << c.text.substr(0, 4) << "]";
    }
}

TEST_F(DecoderDialogTest, NoDialogIsLikeAClosedOne)
{
    standin::Fail(standin::FallibleCall::DIALOG_BOX_PARAM, 1);
    EXPECT_EQ(RunQodex("Qodex.exe 5"), 0u);
    ASSERT_EQ(standin::Dialogs().size(), 1u);
    EXPECT_EQ(standin::Dialogs()[0].returned, -1);
    EXPECT_TRUE(standin::FormatMessageCalls().empty());
    ExpectNothingLeft();
}

}  // namespace
