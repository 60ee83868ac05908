#pragma once

namespace tagsmith::base {

// Sole owner of a file descriptor. Closing shuts a socket down first: on Linux
// close() alone neither wakes a thread blocked in accept() nor frees the port.
class OwnedFd {
public:
    OwnedFd() = default;
    explicit OwnedFd(int fd) : m_fd(fd) {}
    ~OwnedFd() { reset(); }

    OwnedFd(const OwnedFd&) = delete;
    OwnedFd& operator=(const OwnedFd&) = delete;
    OwnedFd(OwnedFd&& other) noexcept : m_fd(other.release()) {}
    OwnedFd& operator=(OwnedFd&& other) noexcept;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    explicit operator bool() const { return valid(); }

    int release();
    void reset(int fd = -1);

private:
    int m_fd = -1;
};

} // namespace tagsmith::base
