#include "collect/configuration_text.h"

#include <QHash>

#include <optional>

namespace tagsmith::collect {

namespace {

using report::Report;

class SummaryLines {
public:
    explicit SummaryLines(const l10n::UILocalizer& localizer) : m_localizer(localizer) {}

    void add(const QString& row, const QString& value) {
        m_lines.append(
            word(QStringLiteral("common.line"),
                 {{QStringLiteral("field"), word(QStringLiteral("field.") + row)}, {QStringLiteral("value"), value}}));
    }

    QString word(const QString& key, const QVariantMap& args = {}) const { return m_localizer.text(key, args); }
    QString orUnread(const std::optional<QString>& value) const { return value.value_or(unread()); }
    QString orUnread(const std::optional<qint64>& value) const { return value ? QString::number(*value) : unread(); }

    QString joinedOrPending(const QStringList& list) const {
        return list.isEmpty() ? word(QStringLiteral("common.pendingConfirmation")) : list.join(QStringLiteral(" / "));
    }

    QString text() const { return m_lines.join(u'\n'); }

private:
    QString unread() const { return word(QStringLiteral("common.unread")); }

    const l10n::UILocalizer& m_localizer;
    QStringList m_lines;
};

QString screenValue(const Report& report, const SummaryLines& lines) {
    const QString sizes = lines.joinedOrPending(report.inches);
    return report.inches.isEmpty() ? sizes
                                   : lines.word(QStringLiteral("common.inches"), {{QStringLiteral("value"), sizes}});
}

bool isIntel(const Report& report) {
    return report.chip && report.chip->contains(QLatin1String("Intel"), Qt::CaseInsensitive);
}

// Intel machines name their graphics; Apple silicon counts GPU cores.
void addGraphicsRow(const Report& report, SummaryLines& lines) {
    if (isIntel(report))
        lines.add(QStringLiteral("graphics"), lines.orUnread(report.graphics));
    else
        lines.add(QStringLiteral("gpuCores"), lines.orUnread(report.gpu));
}

// The battery service's condition words, shown in Chinese; the report keeps
// them as read, and a word not known here is shown as it is.
QString batteryConditionValue(const Report& report, const SummaryLines& lines) {
    static const QHash<QString, QString> keys{
        {QStringLiteral("Good"), QStringLiteral("common.normal")},
        {QStringLiteral("Normal"), QStringLiteral("common.normal")},
        {QStringLiteral("Service Recommended"), QStringLiteral("batteryCondition.serviceRecommended")},
        {QStringLiteral("Replace Soon"), QStringLiteral("batteryCondition.replaceSoon")},
        {QStringLiteral("Replace Now"), QStringLiteral("batteryCondition.replaceNow")},
        {QStringLiteral("Check Battery"), QStringLiteral("batteryCondition.checkBattery")},
    };
    if (report.batteryCondition && keys.contains(*report.batteryCondition))
        return lines.word(keys.value(*report.batteryCondition));
    return lines.orUnread(report.batteryCondition);
}

// The member holds one of its listed words, each with its own catalogue entry.
QString resaleFactValue(const std::optional<QString>& word, const SummaryLines& lines) {
    return word ? lines.word(QStringLiteral("resale.") + *word) : lines.orUnread(word);
}

} // namespace

QString configurationText(const Report& report, const l10n::UILocalizer& localizer) {
    SummaryLines lines(localizer);
    lines.add(QStringLiteral("fullSerial"), report.serial);
    lines.add(QStringLiteral("macModel"), report.model);
    lines.add(QStringLiteral("macName"), report.name);
    lines.add(QStringLiteral("year"), lines.joinedOrPending(report.years));
    lines.add(QStringLiteral("screen"), screenValue(report, lines));
    lines.add(QStringLiteral("chip"), lines.orUnread(report.chip));
    lines.add(QStringLiteral("cpuCores"), lines.orUnread(report.cpu));
    addGraphicsRow(report, lines);
    lines.add(QStringLiteral("memory"), lines.orUnread(report.memory));
    lines.add(QStringLiteral("batteryHealth"), lines.orUnread(report.batteryHealth));
    lines.add(QStringLiteral("cycles"), lines.orUnread(report.cycles));
    lines.add(QStringLiteral("diskCapacity"), lines.orUnread(report.disk));
    lines.add(QStringLiteral("exterior"), report.exterior.value_or(lines.word(QStringLiteral("common.needsCheck"))));
    lines.add(QStringLiteral("batteryCondition"), batteryConditionValue(report, lines));
    lines.add(QStringLiteral("activationLock"), resaleFactValue(report.activationLock, lines));
    lines.add(QStringLiteral("remoteManagement"), resaleFactValue(report.remoteManagement, lines));
    lines.add(QStringLiteral("storageHealth"), resaleFactValue(report.storageHealth, lines));
    return lines.text();
}

} // namespace tagsmith::collect
