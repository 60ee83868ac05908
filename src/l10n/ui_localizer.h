#pragma once

#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QTimeZone>
#include <QVariantMap>

#include <optional>

namespace tagsmith::l10n {

// Keyed user-facing texts with named placeholders ("{name}"). The chosen
// catalogue is consulted per key, with the default language's catalogue as
// fallback; a translation whose placeholders differ from the default's is
// never shown.
class UILocalizer {
public:
    UILocalizer(const QJsonObject& manifest, const QHash<QString, QJsonObject>& catalogs,
                const std::optional<QString>& requested = std::nullopt);

    // Reads locales/manifest.json and one <locale>.json per supported locale
    // from the folder; unreadable files count as empty objects.
    static UILocalizer fromDirectory(const QString& localesPath,
                                     const std::optional<QString>& requested = std::nullopt);

    QString text(const QString& key, const QVariantMap& args = {}) const;
    QString source(const QString& text) const;
    QString date(const QDateTime& date, const QTimeZone& timeZone = QTimeZone::systemTimeZone()) const;

    QString locale;
    QString formatLocale;
    QString direction;
    QMap<QString, QString> base;
    QMap<QString, QString> messages;
    QMap<QString, QString> aliases;

private:
    QString templateFor(const QString& key) const;
};

} // namespace tagsmith::l10n
