#include "cable/frames.h"
#include "cable/v2_frames.h"

#include "support/sockets.h"

#include <gtest/gtest.h>

#include <sys/time.h>

#include <thread>

using namespace tagsmith::cable;
using namespace std::chrono_literals;
using tagsmith::test::socketPair;

namespace {

bool nothingWaiting(int socket) {
    char byte = 0;
    return ::recv(socket, &byte, 1, MSG_DONTWAIT) < 0 && errno == EAGAIN;
}

bool send(int socket, const QByteArray& bytes) {
    return sendAll(socket, bytes);
}

const double kFarDeadline = tagsmith::base::uptime() + 1e6;

} // namespace

TEST(Frames, LargestFrameCrossesLoopbackAndOneByteMoreIsRefusedUnwritten) {
    auto [client, server] = tagsmith::test::loopbackPair();
    const QByteArray largest(999'999, 'r');
    std::thread sender([&] {
        EXPECT_TRUE(sendFrame(client.get(), largest));
        EXPECT_TRUE(v2::sendFrame(client.get(), largest));
    });
    EXPECT_EQ(readN(server.get(), 4), QByteArray::fromHex("000f423f"));
    EXPECT_EQ(readN(server.get(), 999'999), largest);
    EXPECT_EQ(v2::readFrame(server.get(), 999'999, kFarDeadline), largest);
    sender.join();
    EXPECT_FALSE(sendFrame(client.get(), QByteArray(1'000'000, 'r')));
    EXPECT_FALSE(v2::sendFrame(client.get(), QByteArray(1'000'000, 'r')));
    EXPECT_TRUE(nothingWaiting(server.get()));
}

TEST(Frames, ReceivedLengthsOutsideTheLimitsAreRefused) {
    const struct {
        const char* header;
        std::uint32_t v2Limit;
        bool v1Reads;
        bool v2Reads;
    } cases[] = {
        {"00000000", 12'000, false, false}, {"000f4240", 2'000'000, false, true}, {"000f423f", 999'999, true, true},
        {"00000065", 100, true, false},     {"00000064", 100, true, true},
    };
    for (const auto& c : cases) {
        const QByteArray header = QByteArray::fromHex(c.header);
        const QByteArray payload(int(frameLength(header)), 'p');
        auto [a, b] = socketPair();
        std::thread sender([&, fd = a.get()] { send(fd, header + payload + header + payload); });
        EXPECT_EQ(readFrame(b.get()).has_value(), c.v1Reads) << c.header;
        if (!c.v1Reads && frameLength(header) > 0) { // refused unread: the payload is still waiting
            EXPECT_EQ(readN(b.get(), frameLength(header)), payload);
        }
        EXPECT_EQ(v2::readFrame(b.get(), c.v2Limit, kFarDeadline).has_value(), c.v2Reads) << c.header;
        a.reset();
        b.reset();
        sender.join();
    }
}

TEST(Frames, PeerClosingMidHeaderOrMidPayloadGivesNothing) {
    for (const QByteArray& partial : {QByteArray::fromHex("000000"), QByteArray::fromHex("0000000a") + "12345"}) {
        auto [a, b] = socketPair();
        ASSERT_TRUE(send(a.get(), partial));
        a.reset();
        EXPECT_FALSE(readFrame(b.get()));
        auto [c, d] = socketPair();
        ASSERT_TRUE(send(c.get(), partial));
        c.reset();
        EXPECT_FALSE(v2::readFrame(d.get(), 100, kFarDeadline));
    }
}

TEST(Frames, SilentPeerEndsTheReadAtTheSocketTimeoutOrTheDeadline) {
    auto [a, b] = socketPair();
    setSocketTimeouts(b.get(), 100ms);
    const double start = tagsmith::base::uptime();
    EXPECT_FALSE(readN(b.get(), 1));
    EXPECT_GE(tagsmith::base::uptime() - start, 0.09);
    EXPECT_FALSE(v2::read(b.get(), 4, start)) << "a deadline already passed reads nothing";
    ASSERT_TRUE(send(a.get(), "abcd"));
    EXPECT_EQ(v2::read(b.get(), 4, kFarDeadline), QByteArray("abcd"));
}

TEST(Frames, BytesThatCompleteOnlyAfterTheDeadlineAreRefused) {
    auto [a, b] = socketPair();
    ASSERT_TRUE(send(a.get(), "abcd"));
    const double readings[] = {4.0, 6.0}; // before the deadline at the loop check, after it at the final one
    int calls = 0;
    EXPECT_FALSE(v2::read(b.get(), 4, 5.0, [&] { return readings[std::min(calls++, 1)]; }));
    EXPECT_EQ(calls, 2);
}

TEST(Frames, V1FrameLeavesAsTwoWritesAndV2FrameAsOne) {
    auto [a, b] = socketPair(SOCK_SEQPACKET); // keeps write boundaries, so each recv() sees one write
    char buffer[64];
    ASSERT_TRUE(sendFrame(a.get(), "hello"));
    EXPECT_EQ(::recv(b.get(), buffer, sizeof buffer, 0), 4);
    EXPECT_EQ(::recv(b.get(), buffer, sizeof buffer, 0), 5);
    ASSERT_TRUE(v2::sendFrame(a.get(), "hello"));
    EXPECT_EQ(::recv(b.get(), buffer, sizeof buffer, 0), 9);
}

TEST(Frames, WritingToAClosedPeerFailsWithoutSigpipe) {
    auto [a, b] = socketPair();
    setTimeout(a.get());
    timeval timeout{};
    socklen_t length = sizeof timeout;
    ::getsockopt(a.get(), SOL_SOCKET, SO_RCVTIMEO, &timeout, &length);
    EXPECT_EQ(timeout.tv_sec, 3);
    b.reset();
    EXPECT_FALSE(sendFrame(a.get(), "report"));
    EXPECT_FALSE(v2::sendFrame(a.get(), "report"));
    EXPECT_TRUE(sendAll(a.get(), {})) << "an empty buffer succeeds at once";
}
