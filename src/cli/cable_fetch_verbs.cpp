#include "cli/verb.h"

#include "base/atomic_file.h"
#include "cable/collector_v2.h"
#include "cable/v1_sockets.h"
#include "cable/v2_fetch.h"
#include "cable/v2_hello.h"
#include "cable/workstation_identity.h"
#include "cli/cable_support.h"
#include "cli/report_input.h"
#include "cli/resources.h"
#include "report/report_file.h"
#include "report/report_json.h"

#include <QDir>
#include <QSettings>

#include <cstdio>

namespace tagsmith::cli {

namespace {

const QString kFetchSynopsis =
    QStringLiteral("cable fetch --from ADDRESS%NAME [--serial SERIAL] [--port N] [--out DIR] [--device-id ID]");
constexpr std::chrono::seconds kConnectLimit{3};

struct FetchRequest {
    QString address;
    QString interfaceName;
    std::uint16_t port = cable::kV2Port;
    std::optional<QString> serial;
    QString deviceId;
    QString out;
};

int usageFailure(const QString& reason) {
    std::fprintf(stderr, "%s\n用法：tagsmith %s\n", qUtf8Printable(reason), qUtf8Printable(kFetchSynopsis));
    return kUsage;
}

QString deviceIdOption(const CommandLine& line) {
    if (line.has(QStringLiteral("--device-id")))
        return line.option(QStringLiteral("--device-id"));
    QSettings settings;
    return cable::workstationDeviceId(settings);
}

std::optional<FetchRequest> fetchRequest(const CommandLine& line, QString* error) {
    FetchRequest request;
    const QString from = line.option(QStringLiteral("--from"));
    const qsizetype percent = from.lastIndexOf(u'%');
    const auto port = portOption(line, cable::kV2Port, error);
    if (!port)
        return std::nullopt;
    request.port = *port;
    request.deviceId = deviceIdOption(line);
    if (percent <= 0 || percent == from.size() - 1 || !cable::isDeviceId(request.deviceId)) {
        *error =
            QStringLiteral("需要 --from 地址%接口（例如 fe80::1%en9）；--device-id 须为 1–128 个可打印 ASCII 字符");
        return std::nullopt;
    }
    request.address = from.left(percent);
    request.interfaceName = from.mid(percent + 1);
    if (line.has(QStringLiteral("--serial")))
        request.serial = line.option(QStringLiteral("--serial"));
    request.out = line.option(QStringLiteral("--out"));
    return request;
}

// Keeps the report where the request wants it: saved under its file name in
// the --out folder, or printed. False (with the reason told) when it cannot.
bool keep(const FetchRequest& request, const report::Report& report, const QByteArray& bytes) {
    if (request.out.isEmpty()) {
        printLine(QString::fromUtf8(report::encodeReport(report, report::JsonLayout::prettySorted)));
        return true;
    }
    const Result<void> written =
        base::writeFileAtomically(QDir(request.out).filePath(report::reportFileName(report)), bytes);
    if (!written) {
        std::fprintf(stderr, "接收到报告，但保存失败：%s\n", qUtf8Printable(written.error().description));
        return false;
    }
    printLine(report.serial);
    return true;
}

int fetch(const CommandLine& line) {
    QString error;
    const auto request = fetchRequest(line, &error);
    if (!request)
        return usageFailure(error);
    useResourceRules(line);
    const base::OwnedFd socket =
        cable::connectScoped(request->address, request->interfaceName, request->port, kConnectLimit);
    if (!socket)
        return fail(QStringLiteral("无法连接采集端：") + line.option(QStringLiteral("--from")));
    bool offered = false;
    const bool acknowledged = cable::fetchV2Report(socket.get(), request->deviceId, request->serial,
                                                   [&](const report::Report& report, const QByteArray& bytes) {
                                                       offered = true;
                                                       return keep(*request, report, bytes);
                                                   });
    if (acknowledged)
        return kSuccess;
    if (!offered)
        return fail(QStringLiteral("未能从采集端取得有效报告。"));
    return fail(QStringLiteral("未能向采集端确认收到报告。"));
}

} // namespace

QList<Verb> cableFetchVerbs() {
    return {{{QStringLiteral("cable"), QStringLiteral("fetch")},
             kFetchSynopsis,
             0,
             0,
             {{QStringLiteral("--from"), QStringLiteral("--serial"), QStringLiteral("--port"), QStringLiteral("--out"),
               QStringLiteral("--device-id"), kResourcesOption},
              {}},
             fetch}};
}

} // namespace tagsmith::cli
