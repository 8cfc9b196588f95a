#pragma once
// Every call of the launcher into ole32 and oleaut32 goes through here: only
// the splash and the start failure dialog need them, so the rest of the
// launcher never depends on the two libraries.
#include <windows.h>
#include <objidl.h>
#include <ocidl.h>

// CoInitialize for the calling thread; its result is of no use to the caller.
void InitializeOle();
// A growable memory stream freed with its last release; null on failure.
IStream* CreateMemoryStream();
// The picture in stream (read whole from its current position), or null
// when it is not an image file the system's picture loader accepts; the
// loader's result goes to *result when given.
IPicture* LoadPicture(IStream* stream, HRESULT* result = nullptr);
// The picture's GDI handle: a bitmap for BMP, GIF and JPEG images.
HANDLE GetPictureHandle(IPicture* picture);
// Releases picture when it is not null and clears the pointer.
void ReleasePicture(IPicture*& picture);
