#include "cli/report_input.h"
#include "cli/resources.h"
#include "cli/stop_signals.h"
#include "cli/verb.h"
#include "relay/cloud_relay.h"
#include "relay/transport_error.h"
#include "report/report_json.h"

#include <QCoreApplication>

#include <cstdio>
#include <optional>

namespace tagsmith::cli {

namespace {

using namespace std::chrono_literals;

// How long a cancelled send may take to let go of the network library
// before the process exits; cancellation itself is immediate.
constexpr std::chrono::milliseconds kWorkerExitLimit = 2s;

void printProgress(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

int send(const relay::RelayConfiguration& configuration, const QString& code, const QByteArray& report) {
    relay::CloudRelay cloudRelay(configuration);
    std::optional<Result<void>> outcome;
    const std::shared_ptr<relay::RelayTask> task =
        cloudRelay.send(code, report, printProgress, [&outcome](const Result<void>& result) {
            outcome = result;
            QCoreApplication::exit(kSuccess);
        });
    quitOnStopSignals(kInterrupted);
    QCoreApplication::exec();
    if (!outcome) {
        task->cancel();
        [[maybe_unused]] const bool ended = task->waitUntilEnded(kWorkerExitLimit);
        fail(relay::cancelledError().description);
        return kInterrupted;
    }
    return *outcome ? kSuccess : fail(outcome->error().description);
}

int runSend(const CommandLine& line) {
    const Result<relay::RelayConfiguration> configuration =
        relay::RelayConfiguration::fromFile(resourcePath(line, relay::kRelayConfigurationFileName));
    if (!configuration)
        return fail(configuration.error().description);
    const Result<report::Report> report = readValidatedReport(line, line.positional.at(1));
    if (!report)
        return fail(report.error().description);
    // As in the window: the typed code without surrounding white space.
    return send(*configuration, line.positional.at(0).trimmed(),
                report::encodeReport(*report, report::JsonLayout::compactAnyOrder));
}

} // namespace

QList<Verb> relayVerbs() {
    return {
        {{QStringLiteral("relay"), QStringLiteral("send")},
         QStringLiteral("relay send CODE FILE [--resources DIR]"),
         2,
         2,
         OptionSpec{{kResourcesOption}, {}},
         runSend},
    };
}

} // namespace tagsmith::cli
