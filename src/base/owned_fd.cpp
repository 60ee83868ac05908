#include "base/owned_fd.h"

#include <sys/socket.h>
#include <unistd.h>

namespace tagsmith::base {

OwnedFd& OwnedFd::operator=(OwnedFd&& other) noexcept {
    if (this != &other)
        reset(other.release());
    return *this;
}

int OwnedFd::release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void OwnedFd::reset(int fd) {
    if (m_fd >= 0) {
        ::shutdown(m_fd, SHUT_RDWR); // fails harmlessly with ENOTSOCK on other descriptors
        ::close(m_fd);
    }
    m_fd = fd;
}

} // namespace tagsmith::base
