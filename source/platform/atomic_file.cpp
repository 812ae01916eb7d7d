#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

std::string ErrnoText(const char* step) { return std::string(step) + ": " + std::strerror(errno); }

bool WriteAll(int fd, const std::string& bytes, std::string& reason) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            reason = ErrnoText("write failed");
            return false;
        }
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0) {
        reason = ErrnoText("flush failed");
        return false;
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& reason) {
    const std::string temporary = path + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        reason = ErrnoText(("cannot create " + temporary).c_str());
        return false;
    }
    bool written = WriteAll(fd, bytes, reason);
    if (::close(fd) != 0 && written) {
        reason = ErrnoText("close failed");
        written = false;
    }
    if (written && std::rename(temporary.c_str(), path.c_str()) != 0) {
        reason = ErrnoText(("cannot rename " + temporary + " to " + path).c_str());
        written = false;
    }
    if (!written) ::unlink(temporary.c_str());
    return written;
}

}  // namespace platform
