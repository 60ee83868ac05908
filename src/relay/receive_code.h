#pragma once

#include <QRegularExpression>
#include <QString>

namespace tagsmith::relay {

// What the operator is told when the typed code cannot be a receive code.
inline const QString kReceiveCodeHint = QStringLiteral("请输入工作端显示的 5 位数字接收码");

// Five digits without a leading zero: the codes a workstation shows.
inline bool isReceiveCode(const QString& code) {
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(QStringLiteral("[1-9][0-9]{4}")));
    return pattern.match(code).hasMatch();
}

} // namespace tagsmith::relay
