#include "fuzz_input.h"

#include "relayd/relay_service.h"

#include <QTemporaryDir>

using namespace tagsmith;

namespace {

const char* const kPaths[] = {"/v1/relay/resolve",        "/v1/relay/submit",     "/v1/relay/status",
                              "/v1/workstation/register", "/v1/workstation/code", "/v1/workstation/inbox",
                              "/v1/workstation/confirm",  "/v1/elsewhere"};

// One relay for the whole run, on a real database: what it stored from one
// input is there for the next, as with a relay that has been up for a while.
relayd::RelayService& service() {
    static QTemporaryDir folder;
    static const auto store = relayd::RelayStore::open(folder.filePath(QStringLiteral("relay.sqlite3")));
    static relayd::RelayService relay(*store, relayd::IssuerKey::loadOrCreate(folder.path()).value());
    return relay;
}

} // namespace

// The first byte picks the endpoint, the rest is the request body as the HTTP
// side hands it over (at most 16 KiB). Every answer is an object, and every
// refusal tells the operator something.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray body = fuzz::bytesOf(data, size);
    const char* path = kPaths[fuzz::takeNumber(body, 1) % std::size(kPaths)];
    if (body.size() > 16384)
        return 0;
    const relayd::RelayReply reply = service().handle(path, body, QStringLiteral("192.0.2.1"));
    fuzz::require(reply.status == 200 || !reply.body.value(QStringLiteral("error")).toString().isEmpty(),
                  "a refusal carries its text");
    return 0;
}
