#include "framework/Window.h"

namespace ATL {

namespace {

// The thread's dialog being created lives in a slot of the system's thread
// local storage, taken on first use: the language's thread_local would bring
// a threads library into every launcher for this one pointer.
DWORD DialogSlot() {
    static volatile LONG s_slot = static_cast<LONG>(TLS_OUT_OF_INDEXES);
    LONG slot = s_slot;
    if (slot != static_cast<LONG>(TLS_OUT_OF_INDEXES)) return static_cast<DWORD>(slot);
    DWORD fresh = TlsAlloc();
    LONG before = InterlockedCompareExchange(&s_slot, static_cast<LONG>(fresh), static_cast<LONG>(TLS_OUT_OF_INDEXES));
    if (before == static_cast<LONG>(TLS_OUT_OF_INDEXES)) return fresh;
    // Another thread took one first: that one serves every thread.
    TlsFree(fresh);
    return static_cast<DWORD>(before);
}

}  // namespace

void RegisterDialogBeingCreated(CDialogImplBaseT<CWindow>* dialog) {
    TlsSetValue(DialogSlot(), dialog);
}

CDialogImplBaseT<CWindow>* TakeDialogBeingCreated() {
    DWORD slot = DialogSlot();
    CDialogImplBaseT<CWindow>* dialog = static_cast<CDialogImplBaseT<CWindow>*>(TlsGetValue(slot));
    TlsSetValue(slot, nullptr);
    return dialog;
}

}  // namespace ATL
