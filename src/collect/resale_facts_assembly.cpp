#include "collect/resale_facts_assembly.h"

#include "collect/json_lookup.h"
#include "report/resale_facts.h"

#include <QRegularExpression>

namespace tagsmith::collect {

namespace {

namespace resale = report::resale;

// Removable and Thunderbolt-attached disks are listed too; only the Mac's own counts.
bool isInternalDisk(const JsonValue& disk) {
    const auto isYes = [&](QStringView key) {
        return text(disk.member(key)).value_or(QString()).toLower() == QLatin1String("yes");
    };
    return !isYes(u"detachable_drive") && !isYes(u"removable_media");
}

// Each section lists controllers, each with its disks under "_items".
QList<const JsonValue*> internalDisks(const JsonValue& document) {
    QList<const JsonValue*> disks;
    for (const QStringView section : {u"SPNVMeDataType", u"SPSerialATADataType"}) {
        for (const JsonValue* controller : objectsOf(document.member(section)).value_or(QList<const JsonValue*>())) {
            for (const JsonValue* disk : objectsOf(controller->member(u"_items")).value_or(QList<const JsonValue*>())) {
                if (isInternalDisk(*disk))
                    disks.append(disk);
            }
        }
    }
    return disks;
}

// The answer after "label:" on the line that starts with label, if any.
std::optional<QString> answerTo(const QString& enrollmentText, const QString& label) {
    const QRegularExpression line(QStringLiteral("^\\s*%1:\\s*(\\S.*)$").arg(QRegularExpression::escape(label)),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(enrollmentText);
    return match.hasMatch() ? std::optional<QString>(match.captured(1).trimmed()) : std::nullopt;
}

bool isYes(const std::optional<QString>& answer) {
    return answer && answer->startsWith(QLatin1String("Yes"));
}

bool isNo(const std::optional<QString>& answer) {
    return answer == QStringLiteral("No");
}

} // namespace

QStringList enrollmentArguments() {
    return {QStringLiteral("status"), QStringLiteral("-type"), QStringLiteral("enrollment")};
}

std::optional<QString> activationLockOf(const JsonValue& hardware) {
    const std::optional<QString> status = text(hardware.member(u"activation_lock_status"));
    if (status == QStringLiteral("activation_lock_enabled"))
        return resale::kEnabled;
    if (status == QStringLiteral("activation_lock_disabled"))
        return resale::kDisabled;
    return std::nullopt;
}

std::optional<QString> storageHealthOf(const JsonValue& document) {
    std::optional<QString> health;
    for (const JsonValue* disk : internalDisks(document)) {
        const QString status = text(disk->member(u"smart_status")).value_or(QString()).toLower();
        if (status == QLatin1String("failing"))
            return resale::kFailing;
        if (status == QLatin1String("verified"))
            health = resale::kVerified;
    }
    return health;
}

std::optional<QString> remoteManagementFrom(const QString& enrollmentText) {
    const std::optional<QString> dep = answerTo(enrollmentText, QStringLiteral("Enrolled via DEP"));
    const std::optional<QString> mdm = answerTo(enrollmentText, QStringLiteral("MDM enrollment"));
    if (isYes(dep))
        return resale::kDep;
    if (isYes(mdm))
        return resale::kMdm;
    if (isNo(dep) && isNo(mdm))
        return resale::kNone;
    return std::nullopt;
}

} // namespace tagsmith::collect
