#include "storage/working_storage.h"

#include "platform/win32_api.h"
#include "platform/zero_filled.h"

namespace {

// The program holds at most two texts at a time (the copy of the tail and
// the number box's text); a few spare slots cost nothing.
const size_t TEXT_SLOTS = 8;

struct WorkingStorage {
    char* texts[TEXT_SLOTS];
};

// The slot's index, complemented: like every variable of the program it
// starts as zero, and zero is ~TLS_OUT_OF_INDEXES, no working storage, until
// start-up obtains it.
ZERO_FILLED DWORD ComplementedSlot;

DWORD WorkingStorageSlot() { return ~ComplementedSlot; }

WorkingStorage* TheWorkingStorage()
{
    if (WorkingStorageSlot() == TLS_OUT_OF_INDEXES) {
        return nullptr;
    }
    return static_cast<WorkingStorage*>(TlsGetValue(WorkingStorageSlot()));
}

}  // namespace

bool ObtainWorkingStorage()
{
    const DWORD slot = TlsAlloc();
    if (slot == TLS_OUT_OF_INDEXES) {
        return false;
    }
    void* block = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(WorkingStorage));
    if (!block) {
        return false;  // the process ends at once; only COM is released on this way out
    }
    TlsSetValue(slot, block);
    ComplementedSlot = ~slot;
    return true;
}

void ReleaseWorkingStorage()
{
    WorkingStorage* storage = TheWorkingStorage();
    if (storage) {
        for (char*& text : storage->texts) {
            if (text) {
                GlobalFree(text);
                text = nullptr;
            }
        }
        GlobalFree(storage);
    }
    const DWORD slot = WorkingStorageSlot();
    ComplementedSlot = ~TLS_OUT_OF_INDEXES;
    TlsSetValue(slot, nullptr);
    TlsFree(slot);
}

char* AllocateText(size_t length)
{
    WorkingStorage* storage = TheWorkingStorage();
    if (!storage || length >= static_cast<size_t>(-1) / 2) {
        return nullptr;
    }
    for (char*& slot : storage->texts) {
        if (!slot) {
            char* text = static_cast<char*>(GlobalAlloc(GMEM_FIXED, length + 1));
            if (text) {
                text[length] = '\0';
                slot = text;
            }
            return text;
        }
    }
    return nullptr;
}

char* CopyText(const char* chars, size_t length)
{
    char* text = AllocateText(length);
    if (text) {
        for (size_t i = 0; i < length; ++i) {
            text[i] = chars[i];
        }
    }
    return text;
}

void ReleaseText(char* text)
{
    WorkingStorage* storage = TheWorkingStorage();
    if (!text || !storage) {
        return;
    }
    for (char*& slot : storage->texts) {
        if (slot == text) {
            GlobalFree(text);
            slot = nullptr;
            return;
        }
    }
}
