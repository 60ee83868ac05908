#include "report/validation.h"

#include "base/json_reader.h"
#include "report/model_identification.h"
#include "report/report_json.h"
#include "report/resale_facts.h"

#include <QRegularExpression>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace tagsmith::report {

namespace {

constexpr qsizetype kMaxNameCharacters = 79;
constexpr qsizetype kMaxTextCharacters = 99;
constexpr qsizetype kMaxGraphicsCharacters = 500;
constexpr qint64 kMaxCoreCount = 1023;

Error reportError(ReportErrorCode code, const QString& description) {
    return {kReportErrorDomain, code, description};
}

Error invalidField() {
    return reportError(kReportInvalidField, QStringLiteral("报告格式或字段无效。"));
}

// Generous for the longest emoji sequences, yet it stops a text of a few
// characters from carrying megabytes of combining marks onto a label.
constexpr qsizetype kMaxUnitsPerCharacter = 32;

// User-perceived characters; a cluster is never shorter than one UTF-16 unit,
// so short texts need no segmentation.
bool hasAtMostCharacters(const QString& text, qsizetype limit) {
    if (text.size() <= limit)
        return true;
    if (text.size() > limit * kMaxUnitsPerCharacter)
        return false;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() != -1) {
        if (++count > limit)
            return false;
    }
    return true;
}

// Scalars, not characters: CR LF is one character, yet still a line break.
bool containsLineBreak(const QString& text) {
    return text.contains(u'\n') || text.contains(u'\r');
}

bool containsControlCharacter(const QString& text) {
    for (const char32_t scalar : text.toUcs4()) {
        const QChar::Category category = QChar::category(scalar);
        if (category == QChar::Other_Control || category == QChar::Other_Format)
            return true;
    }
    return false;
}

bool matchesWhole(const QRegularExpression& pattern, const QString& text) {
    return pattern.match(text).hasMatch();
}

bool hasValidIdentity(const Report& report) {
    static const QRegularExpression serial(QRegularExpression::anchoredPattern(QStringLiteral("[A-Za-z0-9]{8,20}")));
    static const QRegularExpression model(
        QRegularExpression::anchoredPattern(QStringLiteral("(MacBookPro|MacBookAir|MacBook|Mac)[0-9]+,[0-9]+")));
    // The name is printed on the label's third row, so it must stay one line.
    return report.schemaVersion == 1 && matchesWhole(serial, report.serial) && matchesWhole(model, report.model) &&
           report.name.toLower().contains(QLatin1String("macbook")) &&
           hasAtMostCharacters(report.name, kMaxNameCharacters) && !containsLineBreak(report.name);
}

bool inCoreRange(const std::optional<qint64>& count) {
    return !count || (*count >= 1 && *count <= kMaxCoreCount);
}

bool hasValidNumbers(const Report& report) {
    return inCoreRange(report.cpu) && inCoreRange(report.gpu) && report.cycles.value_or(0) >= 0;
}

bool hasValidTexts(const Report& report) {
    QStringList texts;
    for (const auto& text : {report.chip, report.memory, report.batteryHealth, report.batteryCondition, report.disk,
                             report.exterior, report.market}) {
        if (text)
            texts.append(*text);
    }
    texts += report.years;
    texts += report.inches;
    return std::ranges::all_of(texts, [](const QString& text) {
        return hasAtMostCharacters(text, kMaxTextCharacters) && !containsLineBreak(text);
    });
}

bool hasValidGraphics(const Report& report) {
    return !report.graphics || (hasAtMostCharacters(*report.graphics, kMaxGraphicsCharacters) &&
                                !containsControlCharacter(*report.graphics));
}

// No report writer repeats a member, and readers that kept different copies
// would disagree about the Mac, so such a report is refused as malformed.
bool isRepeatedMember(const Error& error) {
    return error.domain == base::kJsonDecodingDomain && error.code == base::kJsonRepeatedMember;
}

std::optional<Error> firstFieldFailure(const Report& report) {
    if (!hasValidIdentity(report) || !hasValidNumbers(report) || !hasValidResaleFacts(report))
        return invalidField();
    if (!hasValidTexts(report))
        return reportError(kReportTextInvalid, QStringLiteral("报告字段过长或包含换行。"));
    if (!hasValidGraphics(report))
        return reportError(kReportTextInvalid, QStringLiteral("显卡字段无效。"));
    return std::nullopt;
}

} // namespace

Result<Report> validated(const QByteArray& data, const QList<AModelRule>& rules) {
    if (data.size() > kMaxReportBytes)
        return reportError(kReportTooLarge, QStringLiteral("报告过大，无法导入。"));
    const Result<Report> decoded = decodeReport(data);
    if (!decoded)
        return isRepeatedMember(decoded.error()) ? invalidField() : decoded.error();
    if (const auto failure = firstFieldFailure(*decoded))
        return *failure;
    return enrichA(*decoded, rules);
}

} // namespace tagsmith::report
