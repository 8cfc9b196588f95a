#include "ui/RichEditLibrary.h"

#include "ui/SystemLibrary.h"

HMODULE LoadRichEditLibrary() {
    return LoadSystemLibrary("RICHED32.DLL");
}
