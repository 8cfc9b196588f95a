#include "base/PathExists.h"

#include <sys/stat.h>
#include <sys/types.h>

bool PathExists(const char* path) {
    if (!path) return false;
    // The C runtime's stat, on purpose: it refuses a trailing backslash
    // (except on a drive root), wildcards and the empty path, which the
    // callers rely on.
    struct _stat status;
    return _stat(path, &status) == 0;
}
