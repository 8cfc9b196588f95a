#include "framework/Window.h"

namespace ATL {

namespace {
thread_local CDialogImplBaseT<CWindow>* t_dialogBeingCreated = nullptr;
}

void RegisterDialogBeingCreated(CDialogImplBaseT<CWindow>* dialog) {
    t_dialogBeingCreated = dialog;
}

CDialogImplBaseT<CWindow>* TakeDialogBeingCreated() {
    CDialogImplBaseT<CWindow>* dialog = t_dialogBeingCreated;
    t_dialogBeingCreated = nullptr;
    return dialog;
}

}  // namespace ATL
