#include "cli/verb.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

namespace tagsmith::cli {

QList<Verb> allVerbs() {
    QList<Verb> verbs;
    verbs += reportVerbs();
    verbs += labelVerbs();
    verbs += cableVerbs();
    verbs += cableV1Verbs();
    verbs += cableFetchVerbs();
    verbs += relayVerbs();
    verbs += assembleVerbs();
    verbs += historyVerbs();
    return verbs;
}

Result<void> writeStandardOutput(const QByteArray& bytes) {
    const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
    if (std::fflush(stdout) != 0 || !written)
        return Error{QStringLiteral("文件"), 1, QStringLiteral("无法写入标准输出。")};
    return {};
}

int fail(const QString& description) {
    std::fprintf(stderr, "%s\n", description.toUtf8().constData());
    return kFailure;
}

void printLine(const QString& text) {
    std::puts(text.toUtf8().constData());
}

void printLines(const QStringList& lines, const CommandLine& line) {
    if (line.has(kJsonOption))
        printLine(QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(lines)).toJson(QJsonDocument::Compact)));
    else
        printLine(lines.join(u'\n'));
}

} // namespace tagsmith::cli
