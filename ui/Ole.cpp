#include "ui/Ole.h"

#include <olectl.h>

void InitializeOle() {
    CoInitialize(nullptr);
}

IStream* CreateMemoryStream() {
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(nullptr, TRUE, &stream) != S_OK) return nullptr;
    return stream;
}

IPicture* LoadPicture(IStream* stream, HRESULT* result) {
    HRESULT loaded = E_POINTER;
    IPicture* picture = nullptr;
    if (stream) loaded = OleLoadPicture(stream, 0, TRUE, IID_IPicture, reinterpret_cast<void**>(&picture));
    if (result) *result = loaded;
    // Anything but S_OK counts as failure, S_FALSE included.
    if (loaded != S_OK) {
        if (picture) picture->Release();
        return nullptr;
    }
    return picture;
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
