// kernel32 on the stand-in: the command line, the system message table,
// thread-local slots, memory blocks and the end of the process.

#include <stdlib.h>
#include <string.h>

#include <map>

#include "process.h"

namespace standin {
namespace {

const SIZE_T LARGEST_BLOCK = 256u * 1024 * 1024;
const BYTE UNINITIALISED_BYTE = 0xA5;
const char SCRIBBLE_CHAR = '#';
const DWORD FIRST_TLS_INDEX = 5;

struct Kernel {
    std::vector<char> commandLine = std::vector<char>(1, '\0');
    std::map<DWORD, std::string> messageTable;

    std::vector<FormatMessageCall> formatMessageCalls;
    std::vector<DWORD> sleeps;
    std::vector<UINT> exitCodes;

    std::map<void*, SIZE_T> blocks;
    std::map<DWORD, LPVOID> tlsSlots;
    DWORD nextTlsIndex = FIRST_TLS_INDEX;
};

Kernel& TheKernel()
{
    static Kernel kernel;
    return kernel;
}

}  // namespace

void ResetKernel()
{
    Kernel& k = TheKernel();
    for (auto& block : k.blocks) {
        free(block.first);
    }
    k = Kernel();
}

void SetCommandLine(const std::string& commandLine)
{
    TheKernel().commandLine.assign(commandLine.begin(), commandLine.end());
    TheKernel().commandLine.push_back('\0');
}

void SetMessage(DWORD id, const std::string& text) { TheKernel().messageTable[id] = text; }

const std::vector<FormatMessageCall>& FormatMessageCalls() { return TheKernel().formatMessageCalls; }
const std::vector<DWORD>& Sleeps() { return TheKernel().sleeps; }
const std::vector<UINT>& ExitCodes() { return TheKernel().exitCodes; }
size_t LiveBlocks() { return TheKernel().blocks.size(); }
size_t LiveTlsSlots() { return TheKernel().tlsSlots.size(); }

}  // namespace standin

using standin::FallibleCall;
using standin::Log;
using standin::Misuse;
using standin::PlannedToFail;
using standin::TheKernel;

LPSTR WINAPI GetCommandLineA(void)
{
    Log("GetCommandLineA");
    return TheKernel().commandLine.data();
}

DWORD WINAPI FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPSTR lpBuffer,
                            DWORD nSize, va_list* Arguments)
{
    Log("FormatMessageA");
    auto& k = TheKernel();
    DWORD result = 0;
    auto entry = k.messageTable.find(dwMessageId);
    if (PlannedToFail(FallibleCall::FORMAT_MESSAGE)) {
        entry = k.messageTable.end();  // fails as for an id the table does not hold
    }
    if (!lpBuffer || (dwFlags & FORMAT_MESSAGE_ALLOCATE_BUFFER) || !(dwFlags & FORMAT_MESSAGE_FROM_SYSTEM)) {
        Misuse("FormatMessageA asked for something but a lookup into the caller's buffer");
    } else if (entry != k.messageTable.end() && entry->second.size() < nSize) {
        memcpy(lpBuffer, entry->second.c_str(), entry->second.size() + 1);
        result = static_cast<DWORD>(entry->second.size());
    } else {
        // No description, or one too long for the buffer: the call fails,
        // and what it leaves in the buffer is no text at all.
        memset(lpBuffer, standin::SCRIBBLE_CHAR, nSize);
    }
    k.formatMessageCalls.push_back(
        standin::FormatMessageCall{dwFlags, lpSource, dwMessageId, dwLanguageId, nSize, Arguments != nullptr, result});
    return result;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName)
{
    Log("GetModuleHandleA");
    return lpModuleName ? nullptr : reinterpret_cast<HMODULE>(standin::MODULE_HANDLE);
}

void WINAPI Sleep(DWORD dwMilliseconds)
{
    Log("Sleep");
    TheKernel().sleeps.push_back(dwMilliseconds);
}

DWORD WINAPI TlsAlloc(void)
{
    Log("TlsAlloc");
    auto& k = TheKernel();
    if (PlannedToFail(FallibleCall::TLS_ALLOC)) {
        return TLS_OUT_OF_INDEXES;
    }
    DWORD index = k.nextTlsIndex++;
    k.tlsSlots[index] = nullptr;
    return index;
}

BOOL WINAPI TlsSetValue(DWORD dwTlsIndex, LPVOID lpTlsValue)
{
    Log("TlsSetValue");
    auto slot = TheKernel().tlsSlots.find(dwTlsIndex);
    if (slot == TheKernel().tlsSlots.end()) {
        Misuse("TlsSetValue on a slot that is not allocated");
        return FALSE;
    }
    slot->second = lpTlsValue;
    return TRUE;
}

LPVOID WINAPI TlsGetValue(DWORD dwTlsIndex)
{
    Log("TlsGetValue");
    auto slot = TheKernel().tlsSlots.find(dwTlsIndex);
    if (slot == TheKernel().tlsSlots.end()) {
        Misuse("TlsGetValue on a slot that is not allocated");
        return nullptr;
    }
    return slot->second;
}

BOOL WINAPI TlsFree(DWORD dwTlsIndex)
{
    Log("TlsFree");
    if (TheKernel().tlsSlots.erase(dwTlsIndex) == 0) {
        Misuse("TlsFree on a slot that is not allocated");
        return FALSE;
    }
    return TRUE;
}

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes)
{
    Log("GlobalAlloc");
    auto& k = TheKernel();
    if (PlannedToFail(FallibleCall::GLOBAL_ALLOC)) {
        return nullptr;
    }
    if ((uFlags & ~static_cast<UINT>(GMEM_ZEROINIT)) != GMEM_FIXED) {
        Misuse("GlobalAlloc of a block that is not fixed: the program uses the result as a pointer");
        return nullptr;
    }
    if (dwBytes > standin::LARGEST_BLOCK) {
        return nullptr;
    }
    void* block = malloc(dwBytes ? dwBytes : 1);
    if (!block) {
        return nullptr;
    }
    // Unasked-for zeros would hide code that relies on them.
    memset(block, (uFlags & GMEM_ZEROINIT) ? 0 : standin::UNINITIALISED_BYTE, dwBytes);
    k.blocks[block] = dwBytes;
    return block;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL hMem)
{
    Log("GlobalFree");
    if (!hMem) {
        return nullptr;
    }
    if (TheKernel().blocks.erase(hMem) == 0) {
        Misuse("GlobalFree of a block that is not allocated");
        return hMem;
    }
    free(hMem);
    return nullptr;
}

void WINAPI ExitProcess(UINT uExitCode)
{
    Log("ExitProcess");
    TheKernel().exitCodes.push_back(uExitCode);
    throw standin::ProcessExit{uExitCode};
}
