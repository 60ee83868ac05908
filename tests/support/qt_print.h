#pragma once

// Lets GoogleTest print Qt text in failure messages (force-included in every test).
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << "bytes \"" << bytes.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '[' << list.join(QStringLiteral("\", \"")).prepend(u'"').append(u'"').toStdString() << ']';
}
QT_END_NAMESPACE
