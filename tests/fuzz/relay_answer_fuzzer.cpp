#include "fuzz_input.h"

#include "relay/relay_client.h"

using namespace tagsmith;

// The first two bytes are the HTTP status, the rest the answer body as libcurl
// delivered it. Every failure must carry a text for the operator.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray body = fuzz::bytesOf(data, size);
    const long status = long(fuzz::takeNumber(body, 2));
    if (body.size() > relay::RelayClient::kMaxAnswerBytes)
        return 0;
    const Result<QJsonObject> answer = relay::interpretAnswer({status, body, false});
    fuzz::require(answer.has_value() || !answer.error().description.trimmed().isEmpty(),
                  "a refused answer tells the operator something");
    fuzz::require(!answer.has_value() || status == 200, "only a 200 answer is used");
    return 0;
}
