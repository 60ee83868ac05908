#include "fuzz_input.h"

#include "base/owned_fd.h"
#include "base/uptime.h"
#include "cable/frames.h"
#include "cable/v2_frames.h"

#include <sys/socket.h>
#include <unistd.h>

using namespace tagsmith;

namespace {

// Larger streams would not fit the socket buffer in one write.
constexpr qsizetype kMaxStreamBytes = 65'536;

// The peer's whole stream sits in the socket before reading starts, and the
// peer has closed its side, so every read ends.
std::optional<base::OwnedFd> readerOf(const QByteArray& stream) {
    int ends[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0)
        return std::nullopt;
    base::OwnedFd reader(ends[0]);
    const base::OwnedFd writer(ends[1]);
    if (!cable::sendAll(writer.get(), stream))
        return std::nullopt;
    ::shutdown(writer.get(), SHUT_WR);
    return reader;
}

} // namespace

// The first byte picks the path (v1 or the deadline path), the v2 path takes
// its length limit from the next four; the rest is what the peer sent.
// Frames are read until the first refusal, as an exchange would.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray input = fuzz::bytesOf(data, size);
    const bool v2 = fuzz::takeNumber(input, 1) % 2 == 1;
    const std::uint32_t limit = v2 ? fuzz::takeNumber(input, 4) % (cable::kMaxFrameLength + 1) : cable::kMaxFrameLength;
    if (input.size() > kMaxStreamBytes)
        return 0;
    const std::optional<base::OwnedFd> reader = readerOf(input);
    if (!reader)
        return 0;
    const double deadline = base::uptime() + 60;
    qsizetype consumed = 0;
    for (;;) {
        const std::optional<QByteArray> frame =
            v2 ? cable::v2::readFrame(reader->get(), limit, deadline) : cable::readFrame(reader->get());
        if (!frame)
            break;
        fuzz::require(!frame->isEmpty() && frame->size() <= qsizetype(limit), "a frame is 1 to limit bytes");
        consumed += 4 + frame->size();
        fuzz::require(consumed <= input.size(), "frames come only from bytes the peer sent");
        fuzz::require(*frame == input.mid(consumed - frame->size(), frame->size()),
                      "a frame is the bytes after its header");
    }
    return 0;
}
