#include "bench_inputs.h"

#include "base/owned_fd.h"
#include "base/uptime.h"
#include "cable/collector_v2.h"
#include "cable/frames.h"
#include "cable/v2_frames.h"
#include "support/sockets.h"
#include "support/v2_workstation.h"

#include <benchmark/benchmark.h>

#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <thread>

using namespace tagsmith;
using base::OwnedFd;

namespace {

struct LoopbackPair {
    OwnedFd sender;
    OwnedFd receiver;
};

LoopbackPair loopbackPair() {
    const std::uint16_t port = test::freeLoopbackPort();
    OwnedFd listener(::socket(AF_INET6, SOCK_STREAM, 0));
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_addr = in6addr_loopback;
    address.sin6_port = htons(port);
    ::bind(listener.get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener.get(), 1);
    OwnedFd sender = test::connectTcp(QStringLiteral("::1"), port);
    return {std::move(sender), OwnedFd(::accept(listener.get(), nullptr, nullptr))};
}

// The peer sends the same payload until the reader goes away; the benchmark
// times the reading side, so a frame's cost is its whole trip.
template <typename Send, typename Read> void transfer(benchmark::State& state, Send send, Read read) {
    LoopbackPair pair = loopbackPair();
    const QByteArray payload(qsizetype(cable::kMaxFrameLength), 'r');
    std::thread peer([&, socket = pair.sender.get()] {
        while (send(socket, payload)) {
        }
    });
    for (auto _ : state) {
        if (!read(pair.receiver.get())) {
            state.SkipWithError("the transfer broke off");
            break;
        }
    }
    pair.receiver.reset(); // ends the peer's blocked send
    peer.join();
    state.SetBytesProcessed(state.iterations() * payload.size());
}

// What the loopback itself carries: plain send() and recv() of the same bytes.
bool rawSend(int socket, const QByteArray& payload) {
    return ::send(socket, payload.constData(), size_t(payload.size()), MSG_NOSIGNAL) > 0;
}

bool rawRead(int socket) {
    static thread_local QByteArray buffer(qsizetype(cable::kMaxFrameLength), '\0');
    qsizetype got = 0;
    while (got < buffer.size()) {
        const ssize_t count = ::recv(socket, buffer.data() + got, size_t(buffer.size() - got), 0);
        if (count <= 0)
            return false;
        got += count;
    }
    return true;
}

void BM_FrameLoopback(benchmark::State& state) {
    const bool v2 = state.range(0) == 2;
    transfer(
        state,
        [v2](int socket, const QByteArray& payload) {
            return v2 ? cable::v2::sendFrame(socket, payload) : cable::sendFrame(socket, payload);
        },
        [v2](int socket) {
            return v2 ? cable::v2::readFrame(socket, cable::kMaxFrameLength, base::uptime() + 60).has_value()
                      : cable::readFrame(socket).has_value();
        });
}

void BM_RawLoopback(benchmark::State& state) {
    transfer(state, rawSend, rawRead);
}

struct ServingCollector {
    std::shared_ptr<cable::CollectorV2> collector = cable::CollectorV2::create();
    std::uint16_t port = test::freeLoopbackPort();

    ServingCollector() {
        collector->setReport(bench::typicalReportBytes());
        collector->updateCableListeners({{"lo", ::if_nametoindex("lo"), AF_INET6, "::1", "ff02::1"}}, port);
    }
};

// Whole v2 exchanges, each on a new connection, by one to eight workstations
// at once against the collector's four slots; those turned away are counted.
void BM_V2Exchange(benchmark::State& state) {
    static ServingCollector serving;
    std::int64_t served = 0;
    std::int64_t turnedAway = 0;
    for (auto _ : state) {
        test::V2Workstation workstation(test::connectTcp(QStringLiteral("::1"), serving.port));
        ++(workstation.fetch() ? served : turnedAway);
    }
    state.SetItemsProcessed(served);
    state.counters["turnedAway"] = benchmark::Counter(double(turnedAway), benchmark::Counter::kIsRate);
}

} // namespace

// Two threads move the bytes, so the rates are per wall-clock second.
BENCHMARK(BM_RawLoopback)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameLoopback)->Arg(1)->Arg(2)->ArgName("version")->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_V2Exchange)->ThreadRange(1, 8)->UseRealTime()->Unit(benchmark::kMicrosecond);
