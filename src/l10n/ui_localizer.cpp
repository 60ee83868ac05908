#include "l10n/ui_localizer.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

namespace tagsmith::l10n {

namespace {

const QString kUnavailableKey = QStringLiteral("common.unavailable");
const QString kUnavailableText = QStringLiteral("未提供");
constexpr qint64 kMaxCatalogueBytes = 4 << 20;

const QRegularExpression& placeholderPattern() {
    static const QRegularExpression pattern(QStringLiteral("\\{([A-Za-z][A-Za-z0-9_]*)\\}"));
    return pattern;
}

QSet<QString> placeholderNames(const QString& text) {
    QSet<QString> names;
    for (const auto& match : placeholderPattern().globalMatch(text))
        names.insert(match.captured(1));
    return names;
}

QString textMember(const QJsonObject& object, const QString& key, const QString& fallback) {
    const QJsonValue value = object.value(key);
    return value.isString() ? value.toString() : fallback;
}

std::optional<QStringList> textList(const QJsonValue& value) {
    if (!value.isArray())
        return std::nullopt;
    QStringList list;
    for (const QJsonValue& entry : value.toArray()) {
        if (!entry.isString())
            return std::nullopt;
        list.append(entry.toString());
    }
    return list;
}

std::optional<QMap<QString, QString>> textMap(const QJsonValue& value) {
    if (!value.isObject())
        return std::nullopt;
    QMap<QString, QString> map;
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!it.value().isString())
            return std::nullopt;
        map.insert(it.key(), it.value().toString());
    }
    return map;
}

QString normalisedLocaleName(QString name) {
    return name.replace(QLatin1Char('_'), QLatin1Char('-')).toLower();
}

QString resolveLocale(const QJsonObject& manifest, const QStringList& supported, const QString& defaultLocale,
                      const QString& wanted) {
    const QString normalised = normalisedLocaleName(wanted);
    for (const QString& candidate : supported) {
        if (candidate.toLower() == normalised)
            return candidate;
    }
    if (const auto aliases = textMap(manifest.value(QStringLiteral("aliases")));
        aliases && aliases->contains(normalised))
        return aliases->value(normalised);
    return defaultLocale;
}

QJsonObject readJsonObject(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxCatalogueBytes)
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

// The locale's medium date: its long date form without the weekday.
QString mediumDateFormat(const QLocale& locale) {
    static const QRegularExpression weekday(QStringLiteral("\\s*[,，]?\\s*dddd\\s*[,，]?\\s*"));
    return locale.dateFormat(QLocale::LongFormat).replace(weekday, QString()).trimmed();
}

} // namespace

UILocalizer::UILocalizer(const QJsonObject& manifest, const QHash<QString, QJsonObject>& catalogs,
                         const std::optional<QString>& requested) {
    const QString defaultLocale = textMember(manifest, QStringLiteral("defaultLocale"), QStringLiteral("zh-Hans"));
    const QStringList supported =
        textList(manifest.value(QStringLiteral("supportedLocales"))).value_or(QStringList{defaultLocale});
    const QString wanted = requested.value_or(textMember(manifest, QStringLiteral("releaseLocale"), defaultLocale));
    const QString resolved = resolveLocale(manifest, supported, defaultLocale, wanted);

    const QJsonObject baseCatalogue = catalogs.value(defaultLocale);
    const QJsonObject chosenCatalogue = catalogs.contains(resolved) ? catalogs.value(resolved) : baseCatalogue;

    locale = textMember(chosenCatalogue, QStringLiteral("locale"), defaultLocale);
    formatLocale = textMember(chosenCatalogue, QStringLiteral("formatLocale"), QStringLiteral("zh-CN"));
    direction = textMember(chosenCatalogue, QStringLiteral("direction"), QStringLiteral("ltr"));
    base = textMap(baseCatalogue.value(QStringLiteral("messages")))
               .value_or(QMap<QString, QString>{{kUnavailableKey, kUnavailableText}});
    messages = textMap(chosenCatalogue.value(QStringLiteral("messages"))).value_or(QMap<QString, QString>{});

    // QMap iterates in ascending key order, so the alphabetically first key wins a shared text.
    for (auto it = base.cbegin(); it != base.cend(); ++it) {
        if (placeholderNames(it.value()).isEmpty() && !aliases.contains(it.value()))
            aliases.insert(it.value(), it.key());
    }
}

UILocalizer UILocalizer::fromDirectory(const QString& localesPath, const std::optional<QString>& requested) {
    const QDir folder(localesPath);
    const QJsonObject manifest =
        localesPath.isEmpty() ? QJsonObject() : readJsonObject(folder.filePath(QStringLiteral("manifest.json")));
    const QString defaultLocale = textMember(manifest, QStringLiteral("defaultLocale"), QStringLiteral("zh-Hans"));
    QHash<QString, QJsonObject> catalogs;
    if (!localesPath.isEmpty()) {
        const auto supported =
            textList(manifest.value(QStringLiteral("supportedLocales"))).value_or(QStringList{defaultLocale});
        for (const QString& name : supported) {
            if (!name.contains(QLatin1Char('/')))
                catalogs.insert(name, readJsonObject(folder.filePath(name + QStringLiteral(".json"))));
        }
    }
    return UILocalizer(manifest, catalogs, requested);
}

QString UILocalizer::templateFor(const QString& key) const {
    const QString fallback = base.value(key, base.value(kUnavailableKey, kUnavailableText));
    const QString candidate = messages.value(key, fallback);
    if (candidate.isEmpty() || placeholderNames(candidate) != placeholderNames(fallback))
        return fallback;
    return candidate;
}

QString UILocalizer::text(const QString& key, const QVariantMap& args) const {
    const QString chosen = templateFor(key);
    QString filled;
    qsizetype copiedUpTo = 0;
    for (const auto& match : placeholderPattern().globalMatch(chosen)) {
        filled += QStringView(chosen).mid(copiedUpTo, match.capturedStart() - copiedUpTo);
        const auto value = args.constFind(match.captured(1));
        filled += value == args.constEnd() ? QStringLiteral("\u2014") : value->toString();
        copiedUpTo = match.capturedEnd();
    }
    filled += QStringView(chosen).mid(copiedUpTo);
    return filled;
}

QString UILocalizer::source(const QString& text) const {
    const auto key = aliases.constFind(text);
    return key == aliases.constEnd() ? text : this->text(*key);
}

QString UILocalizer::date(const QDateTime& date, const QTimeZone& timeZone) const {
    const QLocale formatter(formatLocale);
    const QDateTime local = date.toTimeZone(timeZone);
    return formatter.toString(local.date(), mediumDateFormat(formatter)) + QLatin1Char(' ') +
           formatter.toString(local.time(), QLocale::ShortFormat);
}

} // namespace tagsmith::l10n
