#include "cli/cable_support.h"
#include "cli/report_input.h"
#include "cli/resources.h"
#include "cli/stop_signals.h"
#include "cli/verb.h"
#include "ledger/ledger.h"
#include "relay/cloud_relay.h"
#include "relay/relay_inbox.h"
#include "relay/transport_error.h"
#include "report/report_file.h"
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

// The workstation's receiving half without a window: the same identity, code
// and inbox, each report saved in the --out folder (the workstation's report
// folder without it) before the relay hears "delivered".
int runReceive(const CommandLine& line) {
    const Result<relay::RelayConfiguration> configuration =
        relay::RelayConfiguration::fromFile(resourcePath(line, relay::kRelayConfigurationFileName));
    if (!configuration)
        return fail(configuration.error().description);
    useResourceRules(line);
    auto inbox = relay::RelayInbox::create(*configuration);
    inbox->onCode = [](const QString& code) {
        printLine(QStringLiteral("CODE ") + code);
        std::fflush(stdout);
    };
    inbox->onState = [](const QString& text) {
        if (!text.isEmpty())
            printProgress(text);
    };
    inbox->accept = [out = line.option(QStringLiteral("--out"),
                                       ledger::Ledger::reportsFolderIn(ledger::Ledger::defaultDataFolder()))](
                        const report::Report& report, const QByteArray& bytes) {
        return saveReceivedReport(out, report, bytes);
    };
    inbox->onDelivered = [once = line.has(QStringLiteral("--once"))](const QString& serial) {
        printLine(serial);
        std::fflush(stdout);
        if (once)
            QCoreApplication::exit(kSuccess);
    };
    quitOnStopSignals();
    inbox->start();
    const int status = QCoreApplication::exec();
    inbox->stop();
    awaitRelease(std::move(inbox));
    return status;
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
        {{QStringLiteral("relay"), QStringLiteral("receive")},
         QStringLiteral("relay receive [--out DIR] [--once] [--resources DIR]"),
         0,
         0,
         OptionSpec{{kResourcesOption, QStringLiteral("--out")}, {QStringLiteral("--once")}},
         runReceive},
    };
}

} // namespace tagsmith::cli
