// libFuzzer target for the number box: any bytes put into the box, then
// "Decode", through DecoderDialogProc, the whole program run by
// ProcessEntry on the stand-in.
//
// Input: the first byte chooses how the run goes (see Options); the rest is
// split at NUL bytes into the texts, each put into the box and decoded in
// turn (a box's text cannot hold a NUL).
//
// Promises checked after every decode:
// - the description shown is the message table's text for
//   NumberToDword(TextToNumber(text)), or exactly NOT_FOUND_TEXT when the
//   table has none that fits in 511 bytes;
// - it is never longer than 511 bytes;
// - an empty box keeps the description shown before;
// - each message leaves no text allocated, and the run ends with exit
//   code 0, nothing left allocated and nothing misused.
#include <stdint.h>
#include <string.h>

#include <map>
#include <string>
#include <vector>

#include "dialog/dialog_ids.h"
#include "dialog/lookup_description.h"
#include "fuzz_program.h"
#include "numtext.h"

namespace {

// The table that stands in for the system's: short texts, one that fills
// the buffer to its last byte, one a byte too long, one with an insert.
std::map<DWORD, std::string> MessageTable()
{
    return {
        {0, "The operation completed successfully.\r\n"},
        {2, "The system cannot find the file specified.\r\n"},
        {5, "Access is denied.\r\n"},
        {7, std::string(DESCRIPTION_BUFFER_SIZE - 3, 'L') + "\r\n"},
        {8, std::string(DESCRIPTION_BUFFER_SIZE - 2, 'X') + "\r\n"},
        {31, "A device attached to the system is not functioning.\r\n"},
        {0xFFFF, "Sixteen bits.\r\n"},
        {0x7FFFFFFF, "The file %1 is in use.\r\n"},
        {0x80000000, "Top bit only.\r\n"},
        {0x80004005, "Unspecified error\r\n"},
        {0xFFFFFFFB, "Minus five.\r\n"},
        {0xFFFFFFFF, "All bits.\r\n"},
    };
}

// A paste takes no more than typing does (the edit's default limit).
const size_t PASTE_LIMIT = 32767;

// Bits of the first byte.
struct Options {
    bool paste;         // paste the text (limited as typing is) instead of WM_SETTEXT
    bool enter;         // decode with Enter instead of a click on "Decode"
    const char* start;  // command tail: a number to open with, or none
};

Options ReadOptions(uint8_t bits)
{
    static const char* const STARTS[] = {"", " 5", " 8", " -1"};
    return Options{(bits & 1) != 0, (bits & 2) != 0, STARTS[(bits >> 2) & 3]};
}

std::string Expected(const std::map<DWORD, std::string>& table, const std::string& text)
{
    const uint32_t id = NumberToDword(TextToNumber(text.data(), text.size()));
    const auto entry = table.find(id);
    // The system fails for a description that does not fit, zero included.
    if (entry == table.end() || entry->second.size() >= DESCRIPTION_BUFFER_SIZE) {
        return NOT_FOUND_TEXT;
    }
    return entry->second;
}

std::vector<std::string> Texts(const uint8_t* data, size_t size)
{
    std::vector<std::string> texts(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            texts.emplace_back();
        } else {
            texts.back() += static_cast<char>(data[i]);
        }
    }
    return texts;
}

void CheckShown(const std::string& shown, const std::string& expected, const std::string& text, const char* when)
{
    if (shown.size() > DESCRIPTION_BUFFER_SIZE - 1) {
        Broken("%s: a description of %zu bytes", when, shown.size());
    }
    if (shown != expected) {
        Broken("%s: the box [%s] shows [%s], expected [%s]", when, Printable(text).c_str(), Printable(shown).c_str(),
               Printable(expected).c_str());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    const Options options = ReadOptions(data[0]);
    const std::vector<std::string> texts = Texts(data + 1, size - 1);
    const std::map<DWORD, std::string> table = MessageTable();

    standin::Reset();
    for (const auto& entry : table) {
        standin::SetMessage(entry.first, entry.second);
    }
    std::vector<standin::Action> actions;
    for (const std::string& text : texts) {
        actions.push_back(options.paste ? standin::Paste(text, IDC_CODE) : standin::SetText(text, IDC_CODE));
        actions.push_back(options.enter ? standin::PressEnter() : standin::Click(IDOK));
    }
    actions.push_back(standin::PressEscape());
    standin::ScriptDialog(actions);

    const UINT exitCode = RunQodex(std::string("Qodex.exe") + options.start);
    if (exitCode != 0) {
        Broken("exit code %u (0x%X)", exitCode, exitCode);
    }
    if (standin::Dialogs().size() != 1) {
        Broken("%zu dialogs", standin::Dialogs().size());
    }
    const standin::DialogRun& dialog = standin::Dialogs()[0];
    if (!dialog.ended || dialog.actionsPlayed != actions.size() || dialog.states.size() != actions.size() + 1) {
        Broken("dialog ended %d after %zu of %zu actions, %zu states", dialog.ended, dialog.actionsPlayed,
               actions.size(), dialog.states.size());
    }

    // Opened with the start number decoded, or with both boxes empty.
    const std::string startText = options.start[0] ? options.start + 1 : "";
    const std::string opened = startText.empty() ? std::string() : Expected(table, startText);
    CheckShown(dialog.states[0].Text(IDC_DESCRIPTION), opened, startText, "once open");

    std::string previous = opened;
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string& put = dialog.states[2 * i + 1].Text(IDC_CODE);
        const std::string& text = texts[i];
        const std::string boxText = options.paste ? text.substr(0, PASTE_LIMIT) : text;
        if (put != boxText) {
            Broken("text %zu: the box holds [%s], not [%s]", i, Printable(put).c_str(), Printable(boxText).c_str());
        }
        CheckShown(dialog.states[2 * i + 1].Text(IDC_DESCRIPTION), previous, put, "before decoding");
        const std::string expected = put.empty() ? previous : Expected(table, put);
        CheckShown(dialog.states[2 * i + 2].Text(IDC_DESCRIPTION), expected, put, "decoded");
        previous = expected;
    }
    for (const standin::ProcCall& call : dialog.messages) {
        if (call.liveBlocksAfter != dialog.liveBlocksAtStart) {
            Broken("message 0x%04X left %zu blocks, %zu at the start", call.message, call.liveBlocksAfter,
                   dialog.liveBlocksAtStart);
        }
    }
    CheckShown(dialog.states.back().Text(IDC_DESCRIPTION), previous, "", "after Escape");
    CheckCleanEnd();
    standin::Reset();
    return 0;
}
