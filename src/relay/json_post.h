#pragma once

#include "base/result.h"
#include "relay/request_cancellation.h"

#include <QByteArray>
#include <QUrl>

#include <chrono>

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

// One POST of a JSON body with libcurl: no redirect followed, no cookie or
// credential kept, only http and https. Fails with a transport error, or the
// cancellation error as soon as the cancellation fires.
Result<JsonPostAnswer> postJson(const QUrl& url, const QByteArray& body, const JsonPostLimits& limits,
                                RequestCancellation& cancellation);

} // namespace tagsmith::relay
