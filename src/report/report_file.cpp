#include "report/report_file.h"

#include "base/read_file.h"
#include "report/validation.h"

namespace tagsmith::report {

namespace {

// Keeps the whole name well under the 255-byte limit of common file systems.
constexpr qsizetype kMaxCollectedAtInName = 64;

bool isUnsafeInFileName(QChar character) {
    const QChar::Category category = character.category();
    return character == u':' || character == u'/' || character == u'\\' || character.isSurrogate() ||
           category == QChar::Other_Control || category == QChar::Other_Format || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph;
}

} // namespace

Result<QByteArray> readReportFile(const QString& path) {
    return base::readFileUpTo(path, kMaxReportBytes + 1);
}

QString reportFileName(const Report& report) {
    QString moment = report.collectedAt.left(kMaxCollectedAtInName);
    for (QChar& character : moment) {
        if (isUnsafeInFileName(character))
            character = u'-';
    }
    return report.serial + u'_' + moment + QStringLiteral(".macreport");
}

} // namespace tagsmith::report
