#pragma once

#include <QProcess>
#include <QString>

namespace tagsmith::test {

// The text of the QR code in an image file, read with a real decoder (zbarimg).
inline QString decodeQrFile(const QString& path) {
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"),
               {QStringLiteral("--nodbus"), QStringLiteral("--raw"), QStringLiteral("-q"), path});
    if (!zbar.waitForFinished(20000))
        return QStringLiteral("<zbarimg did not finish>");
    return QString::fromUtf8(zbar.readAllStandardOutput()).trimmed();
}

} // namespace tagsmith::test
