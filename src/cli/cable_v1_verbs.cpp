#include "cli/verb.h"

#include "cable/cable_discovery.h"
#include "cable/collector_server.h"
#include "cable/frames.h"
#include "cable/receiver.h"
#include "cable/v1_sockets.h"
#include "cable/workstation_identity.h"
#include "cli/cable_support.h"
#include "cli/report_input.h"
#include "cli/resources.h"
#include "cli/stop_signals.h"
#include "crypto/aes_gcm.h"
#include "report/report_file.h"
#include "report/report_json.h"
#include "report/validation.h"

#include <QCoreApplication>
#include <QSettings>

#include <cstdio>

namespace tagsmith::cli {

namespace {

using cable::KeySource;

const QString kServeSynopsis =
    QStringLiteral("cable serve-v1 FILE [--port N] [--once] [--key-file FILE] [--resources DIR]");
const QString kPushSynopsis =
    QStringLiteral("cable push FILE --to ADDRESS%NAME [--port N] [--key-file FILE] [--resources DIR]");
const QString kPullSynopsis = QStringLiteral(
    "cable pull --from ADDRESS%NAME --serial SERIAL [--port N] [--out DIR] [--key-file FILE] [--resources DIR]");
const QString kReceiveSynopsis = QStringLiteral(
    "cable receive [--interface NAME --serial SERIAL | --cable-interface NAME…] [--out DIR] [--once] [--key-file FILE] "
    "[--resources DIR]");
// A verb started by hand may wait longer for the far end than the receiver's poll does.
constexpr std::chrono::seconds kConnectLimit{3};

struct Target {
    QString address;
    QString interfaceName;
};

int usageFailure(const QString& reason, const QString& synopsis) {
    std::fprintf(stderr, "%s\n用法：tagsmith %s\n", reason.toUtf8().constData(), synopsis.toUtf8().constData());
    return kUsage;
}

// "ADDRESS%NAME": a link-local address needs the interface it is reached through.
std::optional<Target> targetOption(const CommandLine& line, const QString& option) {
    const QString text = line.option(option);
    const qsizetype percent = text.lastIndexOf(u'%');
    if (percent <= 0 || percent == text.size() - 1)
        return std::nullopt;
    return Target{text.left(percent), text.mid(percent + 1)};
}

KeySource keySource(const CommandLine& line) {
    return [path = receiverKeyPath(line)] { return cable::receiverKeyAt(path); };
}

QString keyFailure(const CommandLine& line) {
    return QStringLiteral("数据线密钥不可用（缺失，或不是 32 字节的 Base64 密钥）：") + receiverKeyPath(line);
}

// A validated report file small enough to travel sealed in one frame.
Result<ReportFile> readCableReport(const CommandLine& line) {
    Result<ReportFile> file = readValidatedReportFile(line, line.positional.at(0));
    if (file && file->bytes.size() > qsizetype(cable::kMaxFrameLength) - crypto::kSealedBoxOverhead)
        return Error{report::kReportErrorDomain, report::kReportTooLarge,
                     QStringLiteral("报告文件过大，无法通过数据线发送：") + line.positional.at(0)};
    return file;
}

int serveV1(const CommandLine& line) {
    QString error;
    const auto port = portOption(line, cable::kPullPort, &error);
    if (!port)
        return usageFailure(error, kServeSynopsis);
    const Result<ReportFile> file = readCableReport(line);
    if (!file)
        return fail(file.error().description);
    if (!cable::receiverKeyAt(receiverKeyPath(line)))
        return fail(keyFailure(line));
    auto server = cable::CollectorServer::create(keySource(line));
    server->setReport(file->bytes);
    server->onSent = [once = line.has(QStringLiteral("--once"))] {
        printLine(QStringLiteral("SENT"));
        std::fflush(stdout);
        if (once)
            QCoreApplication::exit(kSuccess);
    };
    if (!server->start(*port))
        return fail(QStringLiteral("无法开启拉取服务端口 %1，可能已被其他程序占用。").arg(*port));
    quitOnStopSignals(stopStatus(line));
    const int status = QCoreApplication::exec();
    server->stop();
    awaitRelease(std::move(server));
    return status;
}

int push(const CommandLine& line) {
    QString error;
    const auto port = portOption(line, cable::kPushPort, &error);
    const auto target = targetOption(line, QStringLiteral("--to"));
    if (!port || !target)
        return usageFailure(port ? QStringLiteral("--to 需要“地址%接口”，例如 fe80::2%en9") : error, kPushSynopsis);
    const Result<ReportFile> file = readCableReport(line);
    if (!file)
        return fail(file.error().description);
    const auto key = cable::receiverKeyAt(receiverKeyPath(line));
    if (!key)
        return fail(keyFailure(line));
    const base::OwnedFd socket = cable::connectScoped(target->address, target->interfaceName, *port, kConnectLimit);
    if (!socket)
        return fail(QStringLiteral("无法连接工作站：") + line.option(QStringLiteral("--to")));
    if (!cable::pushReport(socket.get(), *key, file->bytes, file->report.serial))
        return fail(QStringLiteral("工作站没有确认收到报告。"));
    return kSuccess;
}

// One pull exchange; the report once the collector was acknowledged, after
// it was saved in out (when given). Failures are told on standard error.
std::optional<report::Report> fetch(int socket, const QByteArray& key, const QString& serial, const QString& out) {
    std::optional<report::Report> received;
    bool kept = false;
    const bool pulled =
        cable::pullReport(socket, key, serial, [&](const report::Report& report, const QByteArray& bytes) {
            received = report;
            kept = out.isEmpty() || saveReceivedReport(out, report, bytes);
            return kept;
        });
    if (pulled)
        return received;
    if (!received)
        std::fprintf(stderr, "%s\n",
                     qUtf8Printable(QStringLiteral("未能从采集端取得序列号为 %1 的有效报告。").arg(serial)));
    else if (kept)
        std::fprintf(stderr, "未能向采集端确认收到报告。\n");
    return std::nullopt;
}

int pull(const CommandLine& line) {
    QString error;
    const auto port = portOption(line, cable::kPullPort, &error);
    const auto source = targetOption(line, QStringLiteral("--from"));
    const QString serial = line.option(QStringLiteral("--serial"));
    if (!port)
        return usageFailure(error, kPullSynopsis);
    if (!source || serial.isEmpty())
        return usageFailure(QStringLiteral("需要 --from 地址%接口（例如 fe80::1%en9）和 --serial 序列号"),
                            kPullSynopsis);
    const auto key = cable::receiverKeyAt(receiverKeyPath(line));
    if (!key)
        return fail(keyFailure(line));
    useResourceRules(line);
    const base::OwnedFd socket = cable::connectScoped(source->address, source->interfaceName, *port, kConnectLimit);
    if (!socket)
        return fail(QStringLiteral("无法连接采集端：") + line.option(QStringLiteral("--from")));
    const QString out = line.option(QStringLiteral("--out"));
    const auto report = fetch(socket.get(), *key, serial, out);
    if (!report)
        return kFailure;
    if (out.isEmpty())
        printLine(QString::fromUtf8(report::encodeReport(*report, report::JsonLayout::prettySorted)));
    return kSuccess;
}

// The Mac named on the command line stands in for the one remotectl would find.
std::optional<cable::AttachedMac> namedMac(const QString& interfaceName, const QString& serial) {
    for (const cable::InterfaceAddress& own : cable::addresses()) {
        if (own.interfaceName == interfaceName)
            return cable::AttachedMac{interfaceName, own.address, serial};
    }
    return std::nullopt;
}

// Without --interface, the Mac is found on the cable as the window finds it.
std::shared_ptr<cable::Receiver> namedMacReceiver(const CommandLine& line) {
    cable::Receiver::Setup setup = cable::receiverSetup(namedCableInterfaces(line));
    if (line.has(QStringLiteral("--interface")))
        setup.findMac = [interfaceName = line.option(QStringLiteral("--interface")),
                         serial = line.option(QStringLiteral("--serial"))] { return namedMac(interfaceName, serial); };
    setup.key = keySource(line);
    QSettings settings;
    setup.deviceId = cable::workstationDeviceId(settings);
    auto receiver = cable::Receiver::create(std::move(setup));
    receiver->state = [](const QString& text) { std::fprintf(stderr, "%s\n", text.toUtf8().constData()); };
    receiver->update = [out = line.option(QStringLiteral("--out")), once = line.has(QStringLiteral("--once"))](
                           const report::Report& report, const QByteArray& bytes) {
        if (!out.isEmpty() && !saveReceivedReport(out, report, bytes))
            return false;
        printLine(report.serial);
        std::fflush(stdout);
        if (once)
            QCoreApplication::exit(kSuccess);
        return true;
    };
    return receiver;
}

int receive(const CommandLine& line) {
    if (line.has(QStringLiteral("--interface")) &&
        (line.option(QStringLiteral("--interface")).isEmpty() || line.option(QStringLiteral("--serial")).isEmpty()))
        return usageFailure(QStringLiteral("缺少 --interface 或 --serial"), kReceiveSynopsis);
    if (!cable::receiverKeyAt(receiverKeyPath(line)))
        return fail(keyFailure(line));
    useResourceRules(line);
    auto receiver = namedMacReceiver(line);
    quitOnStopSignals(stopStatus(line));
    receiver->start();
    const int status = QCoreApplication::exec();
    receiver->stop();
    awaitRelease(std::move(receiver));
    return status;
}

Verb cableVerb(const QString& word, const QString& synopsis, int positional, const QSet<QString>& valued,
               const QSet<QString>& flags, std::function<int(const CommandLine&)> run) {
    return {{QStringLiteral("cable"), word},
            synopsis,
            positional,
            positional,
            {valued + QSet<QString>{kKeyFileOption, kResourcesOption}, flags},
            std::move(run)};
}

} // namespace

QList<Verb> cableV1Verbs() {
    const QString port = QStringLiteral("--port");
    const QString once = QStringLiteral("--once");
    const QString out = QStringLiteral("--out");
    const QString serial = QStringLiteral("--serial");
    Verb receiving = cableVerb(QStringLiteral("receive"), kReceiveSynopsis, 0,
                               {QStringLiteral("--interface"), serial, out}, {once}, receive);
    receiving.options.repeatable = {kCableInterfaceOption};
    return {
        cableVerb(QStringLiteral("serve-v1"), kServeSynopsis, 1, {port}, {once}, serveV1),
        cableVerb(QStringLiteral("push"), kPushSynopsis, 1, {QStringLiteral("--to"), port}, {}, push),
        cableVerb(QStringLiteral("pull"), kPullSynopsis, 0, {QStringLiteral("--from"), serial, port, out}, {}, pull),
        receiving,
    };
}

} // namespace tagsmith::cli
