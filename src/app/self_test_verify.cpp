#include "app/self_test.h"

#include "base/atomic_file.h"
#include "base/owned_fd.h"
#include "base/read_file.h"
#include "cable/frames.h"
#include "crypto/aes_gcm.h"
#include "crypto/random.h"
#include "label/label.h"
#include "label/label_rows.h"
#include "report/validation.h"

#include <QBuffer>

#include <sys/socket.h>

namespace tagsmith::app {

namespace {

Error verifyFailure(const QString& what) {
    return selfTestFailure(QStringLiteral("自检未通过：%1。").arg(what));
}

// A report that breaks the schema (a text where a number belongs) must be refused.
bool rejectsSchemaViolation() {
    return !report::validated(R"({"schemaVersion":"1","collectedAt":"","serial":"","model":"","name":"",)"
                              R"("years":[],"inches":[],"modelSources":[]})");
}

bool sealsAndDetectsTampering(const QByteArray& payload, bool* tamperRejected) {
    const std::optional<QByteArray> key = crypto::randomBytes(crypto::kAesKeyBytes);
    if (!key)
        return false;
    const std::optional<QByteArray> box = crypto::seal(*key, payload);
    if (!box || crypto::open(*key, *box) != payload)
        return false;
    QByteArray tampered = *box;
    tampered[tampered.size() / 2] = static_cast<char>(tampered.at(tampered.size() / 2) ^ 0x01);
    *tamperRejected = !crypto::open(*key, tampered);
    return true;
}

// A frame crosses a socket pair intact; an announced length over the limit is refused unread.
bool framesAreBounded(const QByteArray& payload) {
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0)
        return false;
    const base::OwnedFd sender(pair[0]);
    const base::OwnedFd receiver(pair[1]);
    cable::setTimeout(sender.get());
    cable::setTimeout(receiver.get());
    if (!cable::sendFrame(sender.get(), payload) || cable::readFrame(receiver.get()) != payload)
        return false;
    return cable::sendAll(sender.get(), cable::frameHeader(cable::kMaxFrameLength + 1)) &&
           !cable::readFrame(receiver.get());
}

Result<void> renderLabel(const report::Report& report, const QString& path) {
    label::Label label;
    label.rows = label::lines(report);
    label.serial = report.serial;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!label.toImage().save(&buffer, "PNG"))
        return verifyFailure(QStringLiteral("标签无法编码为 PNG"));
    return base::writeFileAtomically(path, png);
}

} // namespace

Result<QString> runVerify(const QStringList& arguments) {
    const Result<QByteArray> bytes = base::readFileUpTo(arguments.at(2), report::kMaxReportBytes + 1);
    if (!bytes)
        return bytes.error();
    const Result<report::Report> report = report::validated(*bytes);
    if (!report)
        return report.error();
    if (!rejectsSchemaViolation())
        return verifyFailure(QStringLiteral("格式错误的报告未被拒绝"));
    bool tamperRejected = false;
    if (!sealsAndDetectsTampering(*bytes, &tamperRejected))
        return verifyFailure(QStringLiteral("加密往返失败"));
    if (!tamperRejected)
        return verifyFailure(QStringLiteral("被篡改的密文未被拒绝"));
    if (!framesAreBounded(*bytes))
        return verifyFailure(QStringLiteral("套接字分帧失败"));
    if (const Result<void> rendered = renderLabel(*report, arguments.at(3)); !rendered)
        return rendered.error();
    return QStringLiteral("PASS: schema rejection, encrypted payload round-trip, tamper rejection, bounded socket "
                          "framing, label rendered (local test machine only)");
}

} // namespace tagsmith::app
