#include "cli/report_input.h"
#include "cli/resources.h"
#include "cli/verb.h"

#include "cable/cable_discovery.h"
#include "cable/cable_network.h"
#include "cable/cable_receiver.h"
#include "cable/collector_v2.h"
#include "cable/frames.h"
#include "cli/cable_support.h"
#include "cli/stop_signals.h"
#include "crypto/aes_gcm.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <net/if.h>

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace tagsmith::cli {

namespace {

using cable::CableLink;

const QString kLinksSynopsis = QStringLiteral("cable links [--cable-interface NAME]… [--json]");
const QString kServeSynopsis = QStringLiteral(
    "cable serve FILE [--interface NAME[,NAME…] | --cable-interface NAME…] [--port N] [--once] [--resources DIR]");
// The sealed report must still fit in one frame.
constexpr qint64 kMaxReportBytes = qint64(cable::kMaxFrameLength) - crypto::kSealedBoxOverhead;

int usageFailure(const QString& reason) {
    std::fprintf(stderr, "%s\n用法：tagsmith %s\n", reason.toUtf8().constData(), kServeSynopsis.toUtf8().constData());
    return kUsage;
}

QJsonObject linkObject(const CableLink& link) {
    return {{QStringLiteral("name"), link.name},
            {QStringLiteral("index"), qint64(link.index)},
            {QStringLiteral("family"), link.family},
            {QStringLiteral("address"), link.address},
            {QStringLiteral("target"), link.target}};
}

void printLinks(const QList<CableLink>& found, const CommandLine& line) {
    if (line.has(kJsonOption)) {
        QJsonArray array;
        for (const CableLink& link : found)
            array.append(linkObject(link));
        printLine(QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)));
        return;
    }
    for (const CableLink& link : found)
        printLine(QStringLiteral("%1 %2 %3 %4 %5")
                      .arg(link.name)
                      .arg(link.index)
                      .arg(link.family)
                      .arg(link.address, link.target));
}

int links(const CommandLine& line) {
    QList<CableLink> found = cable::cableLinks(namedCableInterfaces(line));
    if (found.isEmpty())
        return fail(QStringLiteral("没有找到数据线链路：请检查数据线是否连接到另一台 Mac。"));
    std::sort(found.begin(), found.end(), [](const CableLink& a, const CableLink& b) {
        return std::tie(a.name, a.family, a.address) < std::tie(b.name, b.family, b.address);
    });
    printLinks(found, line);
    return kSuccess;
}

struct ServeOptions {
    QSet<QString> interfaces; // empty: the links discovery finds
    QSet<QString> named;
    std::uint16_t port = cable::kV2Port;
    bool once = false;
};

std::optional<ServeOptions> serveOptions(const CommandLine& line, QString* error) {
    ServeOptions options;
    const QStringList names = line.option(QStringLiteral("--interface")).split(u',', Qt::SkipEmptyParts);
    options.interfaces = QSet<QString>(names.begin(), names.end());
    options.named = namedCableInterfaces(line);
    const auto port = portOption(line, cable::kV2Port, error);
    if (!port)
        return std::nullopt;
    options.port = *port;
    options.once = line.has(QStringLiteral("--once"));
    return options;
}

// Checked once at the start: a mistyped or wrong interface would otherwise
// leave the server waiting for a link that never comes.
std::optional<QString> interfaceProblem(const QString& name) {
    if (::if_nametoindex(name.toUtf8().constData()) == 0)
        return QStringLiteral("没有名为 %1 的网络接口。").arg(name);
    if (cable::CableNetwork::links({name}).isEmpty())
        return QStringLiteral("接口 %1 不是数据线链路：它未启用、是回环接口，或没有链路本地地址。").arg(name);
    return std::nullopt;
}

// Checked as the workstation will check it; it must also fit one sealed frame.
std::optional<QByteArray> readServedReport(const CommandLine& line, QString* error) {
    const Result<ReportFile> file = readValidatedReportFile(line, line.positional.at(0));
    if (!file) {
        *error = file.error().description;
        return std::nullopt;
    }
    if (file->bytes.size() > kMaxReportBytes) {
        *error = QStringLiteral("报告文件过大，无法通过数据线发送：") + line.positional.at(0);
        return std::nullopt;
    }
    return file->bytes;
}

void stopReceiver(cable::CableReceiver& receiver) {
    QEventLoop loop;
    receiver.stop([&loop] { loop.quit(); });
    loop.exec();
}

int runServer(const QByteArray& report, const ServeOptions& options) {
    auto collector = cable::CollectorV2::create();
    collector->setReport(report);
    collector->onSent = [once = options.once] {
        printLine(QStringLiteral("SENT"));
        std::fflush(stdout);
        if (once)
            QCoreApplication::exit(kSuccess);
    };
    auto receiver = std::make_unique<cable::CableReceiver>(
        collector, options.port, [names = options.interfaces, named = options.named] {
            return names.isEmpty() ? cable::cableLinks(named) : cable::CableNetwork::links(names);
        });
    quitOnStopSignals(options.once ? kInterrupted : kSuccess);
    receiver->start();
    std::fputs("正在提供报告，等待工作站取走…\n", stderr);
    const int status = QCoreApplication::exec();
    stopReceiver(*receiver);
    receiver.reset();
    awaitRelease(std::move(collector));
    return status;
}

int serve(const CommandLine& line) {
    QString error;
    const auto options = serveOptions(line, &error);
    if (!options)
        return usageFailure(error);
    const auto report = readServedReport(line, &error);
    if (!report)
        return fail(error);
    for (const QString& name : options->interfaces) {
        if (const auto problem = interfaceProblem(name))
            return fail(*problem);
    }
    return runServer(*report, *options);
}

} // namespace

QList<Verb> cableVerbs() {
    return {
        {{QStringLiteral("cable"), QStringLiteral("links")},
         kLinksSynopsis,
         0,
         0,
         {{}, {kJsonOption}, {kCableInterfaceOption}},
         links},
        {{QStringLiteral("cable"), QStringLiteral("serve")},
         kServeSynopsis,
         1,
         1,
         {{QStringLiteral("--interface"), QStringLiteral("--port"), kResourcesOption},
          {QStringLiteral("--once")},
          {kCableInterfaceOption}},
         serve},
    };
}

} // namespace tagsmith::cli
