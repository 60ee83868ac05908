#include "base/owned_fd.h"

#include "support/wait.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>

#include <atomic>
#include <thread>

using tagsmith::base::OwnedFd;

namespace {
OwnedFd listeningSocket(in_port_t& port) {
    OwnedFd fd(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    EXPECT_EQ(::bind(fd.get(), reinterpret_cast<sockaddr*>(&address), length), 0);
    EXPECT_EQ(::listen(fd.get(), 4), 0);
    ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}
} // namespace

TEST(OwnedFd, ClosingWakesABlockedAcceptAndFreesThePort) {
    in_port_t port = 0;
    OwnedFd listener = listeningSocket(port);
    const int raw = listener.get();
    std::atomic<bool> returned = false;
    std::thread acceptor([&] {
        ::accept(raw, nullptr, nullptr);
        returned = true;
    });
    // Closing before the thread has blocked would let this pass without the wake-up; a moment lets it block.
    EXPECT_FALSE(tagsmith::test::waitUntil([&] { return returned.load(); }, std::chrono::milliseconds(50)));
    listener.reset();
    EXPECT_TRUE(tagsmith::test::waitUntil([&] { return returned.load(); }, std::chrono::seconds(2)));
    if (!returned)
        ::shutdown(raw, SHUT_RDWR);
    acceptor.join();
    EXPECT_FALSE(listener.valid());
}
