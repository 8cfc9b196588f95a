// The file-system layer on POSIX systems (Linux, macOS).
#include "tools/jarstart-tool/HostFiles.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {
std::string Reason(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR: return FileReason::kNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return FileReason::kAccessDenied;
    case EISDIR: return FileReason::kFolder;
    case EBUSY:
    case ETXTBSY: return FileReason::kInUse;
    case ENOSPC: return FileReason::kDiskFull;
    case EFBIG: return FileReason::kTooLarge;
    default: return strerror(error);
    }
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { if (m_fd >= 0) close(m_fd); }
    int Get() const { return m_fd; }

private:
    Descriptor(const Descriptor&);
    Descriptor& operator=(const Descriptor&);
    int m_fd;
};

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links ends at (which need not exist yet):
// the new bytes replace that file, and the links stay links. A loop of
// links gives up where the system would (ELOOP), at the path reached.
std::string LinkTarget(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info;
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
        std::vector<char> target(static_cast<size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
        ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<size_t>(length) >= target.size()) break;
        std::string next(target.data(), static_cast<size_t>(length));
        path = next[0] == '/' ? next : FolderOf(path) + "/" + next;
    }
    return path;
}
}  // namespace

bool ReadWholeFile(const std::string& path, std::string* bytes, std::string* reason) {
    Descriptor file(open(path.c_str(), O_RDONLY));
    struct stat info;
    if (file.Get() < 0 || fstat(file.Get(), &info) != 0) {
        *reason = Reason(errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        *reason = FileReason::kFolder;
        return false;
    }
    if (info.st_size > 0x7FFFFFFF) {
        *reason = FileReason::kTooLarge;
        return false;
    }
    bytes->assign(static_cast<size_t>(info.st_size), '\0');
    size_t done = 0;
    while (done < bytes->size()) {
        ssize_t n = read(file.Get(), &(*bytes)[done], bytes->size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            *reason = n < 0 ? Reason(errno) : "the file became shorter while it was read";
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

bool ReplaceWholeFile(const std::string& output, const std::string& bytes, ReplaceStage* stage, std::string* reason) {
    // The rename would put a regular file in a link's place.
    const std::string path = LinkTarget(output);
    struct stat info;
    const bool replacing = stat(path.c_str(), &info) == 0;
    if (replacing) {
        // Root may write anything, so the mode bits, not access(), tell
        // whether the owner marked the file read-only.
        if (S_ISDIR(info.st_mode) || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            *stage = ReplaceStage::Existing;
            *reason = S_ISDIR(info.st_mode) ? FileReason::kFolder : FileReason::kAccessDenied;
            return false;
        }
    }
    std::string pattern = FolderOf(path) + "/jstXXXXXX";
    std::vector<char> temp(pattern.begin(), pattern.end());
    temp.push_back('\0');
    Descriptor file(mkstemp(temp.data()));
    if (file.Get() < 0) {
        *stage = ReplaceStage::Temporary;
        *reason = Reason(errno);
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(file.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    // mkstemp makes the file private. A file being replaced keeps its mode
    // (an executable bit, a group's access); a new one gets the usual
    // permissions.
    mode_t mode = 0;
    if (replacing) {
        mode = info.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    if (done != bytes.size() || fchmod(file.Get(), mode) != 0 || fsync(file.Get()) != 0) {
        int error = errno;
        unlink(temp.data());
        *stage = ReplaceStage::Write;
        *reason = Reason(error);
        return false;
    }
    if (rename(temp.data(), path.c_str()) != 0) {
        int error = errno;
        unlink(temp.data());
        *stage = ReplaceStage::Rename;
        *reason = Reason(error);
        return false;
    }
    return true;
}

bool PathExistsOnHost(const std::string& path) {
    struct stat status;
    return !path.empty() && stat(path.c_str(), &status) == 0;
}
