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

IPicture* LoadPicture(IStream* stream) {
    if (!stream) return nullptr;
    IPicture* picture = nullptr;
    // Anything but S_OK counts as failure, S_FALSE included.
    if (OleLoadPicture(stream, 0, TRUE, IID_IPicture, reinterpret_cast<void**>(&picture)) != S_OK) {
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
