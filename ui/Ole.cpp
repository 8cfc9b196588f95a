#include "ui/Ole.h"

#include <olectl.h>

#include "framework/ScopedWin.h"
#include "ui/SystemLibrary.h"

namespace {

typedef HRESULT(WINAPI* CoInitializeFn)(LPVOID);
typedef HRESULT(WINAPI* CreateStreamOnHGlobalFn)(HGLOBAL, BOOL, LPSTREAM*);
typedef HRESULT(WINAPI* OleLoadPictureFn)(LPSTREAM, LONG, BOOL, REFIID, LPVOID*);

}  // namespace

void InitializeOle() {
    CoInitializeFn coInitialize =
        reinterpret_cast<CoInitializeFn>(GetSystemLibraryFunction("ole32.dll", "CoInitialize"));
    if (coInitialize) coInitialize(nullptr);
}

IStream* CreateMemoryStream() {
    CreateStreamOnHGlobalFn createStream =
        reinterpret_cast<CreateStreamOnHGlobalFn>(GetSystemLibraryFunction("ole32.dll", "CreateStreamOnHGlobal"));
    IStream* stream = nullptr;
    if (!createStream || createStream(nullptr, TRUE, &stream) != S_OK) return nullptr;
    return stream;
}

IPicture* LoadPicture(IStream* stream, HRESULT* result) {
    HRESULT loaded = E_POINTER;
    ScopedComPtr<IPicture> picture;
    if (stream) {
        OleLoadPictureFn loadPicture =
            reinterpret_cast<OleLoadPictureFn>(GetSystemLibraryFunction("oleaut32.dll", "OleLoadPicture"));
        loaded = loadPicture ? loadPicture(stream, 0, TRUE, IID_IPicture, reinterpret_cast<void**>(picture.Receive()))
                             : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    }
    if (result) *result = loaded;
    // Anything but S_OK counts as failure, S_FALSE included.
    if (loaded != S_OK) return nullptr;
    return picture.Release();
}

HANDLE GetPictureHandle(IPicture* picture) {
    OLE_HANDLE handle = 0;
    if (picture->get_Handle(&handle) != S_OK) return nullptr;
    return reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle));
}

void ReleasePicture(IPicture*& picture) {
    if (picture) picture->Release();
    picture = nullptr;
}
