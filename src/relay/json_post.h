#pragma once

#include "base/result.h"
#include "relay/request_cancellation.h"

#include <QByteArray>
#include <QUrl>

#include <chrono>
#include <memory>

namespace tagsmith::relay {

struct JsonPostLimits {
    std::chrono::milliseconds idle;  // no byte moving for this long ends the attempt
    std::chrono::milliseconds whole; // the whole attempt, connection included
    qsizetype maxAnswerBytes;        // reading stops beyond this
};

struct JsonPostAnswer {
    long status = 0;
    QByteArray body; // empty when oversized
    bool oversized = false;
};

// POSTs of JSON bodies with libcurl, one after another: no redirect followed,
// no cookie or credential kept, only http and https. The requests of one
// conversation (a send's resolve, submit and status polls; an inbox's polls and
// confirmations) share a kept-alive connection instead of opening one each,
// which spares both ends a handshake and the relay a thread per request.
class JsonPoster {
public:
    JsonPoster();
    ~JsonPoster();
    JsonPoster(const JsonPoster&) = delete;
    JsonPoster& operator=(const JsonPoster&) = delete;

    // Fails with a transport error, or the cancellation error as soon as the
    // cancellation fires.
    Result<JsonPostAnswer> post(const QUrl& url, const QByteArray& body, const JsonPostLimits& limits,
                                RequestCancellation& cancellation);

private:
    struct Handles;
    std::unique_ptr<Handles> m_handles;
};

} // namespace tagsmith::relay
