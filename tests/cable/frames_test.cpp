#include "cable/frames.h"
#include "cable/v2_frames.h"

#include "support/sockets.h"

#include <gtest/gtest.h>

#include <thread>

using namespace tagsmith::cable;
using tagsmith::test::socketPair;

namespace {

const double kLater = tagsmith::base::uptime() + 1e6;

bool nothingWaiting(int socket) {
    char byte = 0;
    return ::recv(socket, &byte, 1, MSG_DONTWAIT) < 0 && errno == EAGAIN;
}

} // namespace

TEST(Frames, LargestFrameTravelsAndOneByteMoreIsRefusedUnwritten) {
    auto [a, b] = socketPair();
    const QByteArray largest(999'999, 'r');
    std::thread sender([&, fd = a.get()] { EXPECT_TRUE(sendFrame(fd, largest) && v2::sendFrame(fd, largest)); });
    EXPECT_EQ(readN(b.get(), 4), QByteArray::fromHex("000f423f"));
    EXPECT_EQ(readN(b.get(), 999'999), largest);
    EXPECT_EQ(v2::readFrame(b.get(), 999'999, kLater), largest);
    sender.join();
    EXPECT_FALSE(sendFrame(a.get(), QByteArray(1'000'000, 'r')));
    EXPECT_FALSE(v2::sendFrame(a.get(), QByteArray(1'000'000, 'r')));
    EXPECT_TRUE(nothingWaiting(b.get()));
}

// Each header is sent twice with its payload: once for the v1 read, once for the v2 read.
TEST(Frames, ReceivedLengthsOutsideTheLimitsAreRefusedWithoutReadingThePayload) {
    const struct {
        const char* header;
        std::uint32_t v2Limit;
        bool v1Reads, v2Reads;
    } cases[] = {{"00000000", 12'000, false, false},
                 {"000f4240", 2'000'000, false, true},
                 {"00000065", 100, true, false},
                 {"00000064", 100, true, true}};
    for (const auto& c : cases) {
        const QByteArray frame =
            QByteArray::fromHex(c.header) + QByteArray(int(frameLength(QByteArray::fromHex(c.header))), 'p');
        auto [a, b] = socketPair();
        std::thread sender([&, fd = a.get()] { (void)sendAll(fd, frame + frame); });
        EXPECT_EQ(readFrame(b.get()).has_value(), c.v1Reads) << c.header;
        if (!c.v1Reads) { // the refused payload is still waiting in the socket
            EXPECT_EQ(readN(b.get(), std::uint32_t(frame.size() - 4)), frame.mid(4)) << c.header;
        }
        EXPECT_EQ(v2::readFrame(b.get(), c.v2Limit, kLater).has_value(), c.v2Reads) << c.header;
        b.reset();
        sender.join();
    }
}

TEST(Frames, PeerClosingMidHeaderOrMidPayloadGivesNothing) {
    for (const QByteArray& partial : {QByteArray::fromHex("000000"), QByteArray::fromHex("0000000a") + "12345"}) {
        for (const bool deadlinePath : {false, true}) {
            auto [a, b] = socketPair();
            ASSERT_TRUE(sendAll(a.get(), partial));
            a.reset();
            EXPECT_FALSE(deadlinePath ? v2::readFrame(b.get(), 100, kLater) : readFrame(b.get()));
        }
    }
}

TEST(Frames, SilentPeerOrPassedDeadlineEndsTheRead) {
    auto [a, b] = socketPair();
    setSocketTimeouts(b.get(), std::chrono::milliseconds(100));
    const double start = tagsmith::base::uptime();
    EXPECT_FALSE(readN(b.get(), 1));
    EXPECT_GE(tagsmith::base::uptime() - start, 0.09);
    ASSERT_TRUE(sendAll(a.get(), "abcdabcd"));
    EXPECT_FALSE(v2::read(b.get(), 4, start)) << "a deadline already passed reads nothing";
    const double clock[] = {4.0, 6.0}; // before the deadline at the loop check, past it at the final check
    int calls = 0;
    EXPECT_FALSE(v2::read(b.get(), 4, 5.0, [&] { return clock[std::min(calls++, 1)]; }));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(v2::read(b.get(), 4, kLater), QByteArray("abcd"));
}

TEST(Frames, WritingToAClosedPeerFailsWithoutSigpipe) {
    auto [a, b] = socketPair();
    setTimeout(a.get());
    b.reset();
    EXPECT_FALSE(sendFrame(a.get(), "report"));
    EXPECT_FALSE(v2::sendFrame(a.get(), "report"));
}
