#include "base/owned_fd.h"

#include "support/wait.h"

#include <gtest/gtest.h>

#include <sys/socket.h>

#include <atomic>
#include <thread>

using tagsmith::base::OwnedFd;

TEST(OwnedFd, ClosingWakesABlockedAcceptAndFreesThePort) {
    OwnedFd listener(::socket(AF_INET, SOCK_STREAM, 0)); // listen() picks a free port itself
    ASSERT_EQ(::listen(listener.get(), 1), 0);
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
