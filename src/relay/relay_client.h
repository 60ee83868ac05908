#pragma once

#include "base/result.h"
#include "relay/json_post.h"
#include "relay/relay_configuration.h"
#include "relay/relay_timing.h"
#include "relay/request_cancellation.h"

#include <QJsonObject>
#include <QString>

namespace tagsmith::relay {

// The JSON object of a 200 answer; otherwise the failure the operator sees:
// the relay's own "error" text, or why the answer was unusable.
Result<QJsonObject> interpretAnswer(const JsonPostAnswer& answer);

// The one way the relay is asked anything: a JSON object posted to
// v1/relay/<name>, a JSON object back. Runs on the worker thread of a send.
class RelayClient {
public:
    // The largest answer body read.
    static constexpr qsizetype kMaxAnswerBytes = 16384;

    RelayClient(const RelayConfiguration& configuration, const RelayTiming& timing, RequestCancellation& cancellation);

    // The answer of a 200 response. Transport errors are tried again, three
    // attempts in all; the relay's own refusals and unusable answers are not,
    // since asking again would get the same answer.
    Result<QJsonObject> request(const QString& name, const QJsonObject& body);

private:
    const RelayConfiguration& m_configuration;
    const RelayTiming& m_timing;
    RequestCancellation& m_cancellation;
    JsonPoster m_poster;
};

} // namespace tagsmith::relay
