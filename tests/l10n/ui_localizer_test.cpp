#include "l10n/ui_localizer.h"

#include "base/read_file.h"
#include "inspection/inspection_item.h"

#include "support/paths.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

using tagsmith::inspection::InspectionItem;
using tagsmith::l10n::UILocalizer;

namespace {

QJsonObject catalogue(const QString& locale, const QVariantMap& messages) {
    return QJsonObject{{QStringLiteral("locale"), locale},
                       {QStringLiteral("formatLocale"),
                        locale == QStringLiteral("en-US") ? QStringLiteral("en-US") : QStringLiteral("zh-CN")},
                       {QStringLiteral("messages"), QJsonObject::fromVariantMap(messages)}};
}

QJsonObject manifest(const QString& release) {
    return QJsonObject{
        {QStringLiteral("defaultLocale"), QStringLiteral("zh-Hans")},
        {QStringLiteral("supportedLocales"), QJsonArray{QStringLiteral("zh-Hans"), QStringLiteral("en-US")}},
        {QStringLiteral("releaseLocale"), release},
        {QStringLiteral("aliases"), QJsonObject{{QStringLiteral("en-gb"), QStringLiteral("en-US")}}}};
}

QHash<QString, QJsonObject> twoCatalogues() {
    return {
        {QStringLiteral("zh-Hans"),
         catalogue(QStringLiteral("zh-Hans"), {{QStringLiteral("greeting"), QStringLiteral("你好")},
                                               {QStringLiteral("onlyBase"), QStringLiteral("仅中文")},
                                               {QStringLiteral("count"), QStringLiteral("共 {n} 台")},
                                               {QStringLiteral("common.unavailable"), QStringLiteral("未提供")}})},
        {QStringLiteral("en-US"),
         catalogue(QStringLiteral("en-US"), {{QStringLiteral("greeting"), QStringLiteral("Hello")},
                                             {QStringLiteral("count"), QStringLiteral("{m} machines")}})},
    };
}

} // namespace

TEST(UILocalizer, FallsBackPerKeyThenToUnavailableText) {
    const UILocalizer english(manifest(QStringLiteral("en-US")), twoCatalogues());
    EXPECT_EQ(english.text(QStringLiteral("greeting")), QStringLiteral("Hello"));
    EXPECT_EQ(english.text(QStringLiteral("onlyBase")), QStringLiteral("仅中文"));
    EXPECT_EQ(english.text(QStringLiteral("nowhere")), QStringLiteral("未提供"));
    EXPECT_EQ(english.text(QStringLiteral("count"), {{QStringLiteral("n"), 3}}), QStringLiteral("共 3 台"))
        << "a translation with other placeholders than the default's is never shown";

    auto catalogs = twoCatalogues();
    catalogs[QStringLiteral("en-US")] = catalogue(QStringLiteral("en-US"), {{QStringLiteral("greeting"), QString()}});
    EXPECT_EQ(UILocalizer(manifest(QStringLiteral("en-US")), catalogs).text(QStringLiteral("greeting")),
              QStringLiteral("你好"))
        << "an empty translation falls back";

    const UILocalizer empty(QJsonObject{}, {});
    EXPECT_EQ(empty.locale, QStringLiteral("zh-Hans"));
    EXPECT_EQ(empty.text(QStringLiteral("anything")), QStringLiteral("未提供"));
}

TEST(UILocalizer, FillsPlaceholdersOnceWithoutRescanningValues) {
    const UILocalizer localizer(
        QJsonObject{},
        {{QStringLiteral("zh-Hans"),
          catalogue(QStringLiteral("zh-Hans"),
                    {{QStringLiteral("line"), QStringLiteral("{field}：{value}")},
                     {QStringLiteral("literal"), QStringLiteral("$& <&> 100% \\ {not a placeholder} {_x}")}})}});
    EXPECT_EQ(
        localizer.text(QStringLiteral("line"), {{QStringLiteral("field"), QStringLiteral("序列号")},
                                                {QStringLiteral("value"), QStringLiteral("{field} $& <&> / SN0001")}}),
        QStringLiteral("序列号：{field} $& <&> / SN0001"));
    EXPECT_EQ(localizer.text(QStringLiteral("line"), {{QStringLiteral("field"), QStringLiteral("序列号")}}),
              QStringLiteral("序列号：\u2014"));
    EXPECT_EQ(localizer.text(QStringLiteral("literal")), QStringLiteral("$& <&> 100% \\ {not a placeholder} {_x}"));
}

TEST(UILocalizer, DateWithExplicitTimeZoneIgnoresTheMachineZone) {
    const UILocalizer localizer(QJsonObject{}, {});
    const QDateTime instant(QDate(2026, 3, 5), QTime(14, 7), QTimeZone::utc());
    const QByteArray savedZone = qgetenv("TZ");
    qputenv("TZ", "America/New_York");
    const QString inNewYork = localizer.date(instant, QTimeZone("Asia/Shanghai"));
    qputenv("TZ", "Pacific/Auckland");
    const QString inAuckland = localizer.date(instant, QTimeZone("Asia/Shanghai"));
    qputenv("TZ", savedZone);
    EXPECT_EQ(inNewYork, inAuckland);
    EXPECT_EQ(inNewYork, QStringLiteral("2026年3月5日 22:07"));
}

namespace {

// Every key the program names, read from its own sources: the literal keys,
// the rows of the configuration text, and the titles and hints of the items.
QStringList keysTheProgramUses() {
    QString sources;
    QDirIterator files(tagsmith::test::sourcePath(QStringLiteral("src")), {QStringLiteral("*.cpp")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
        sources += QString::fromUtf8(tagsmith::base::readFileUpTo(files.next(), 1 << 20).value());
    static const QRegularExpression literal(
        QStringLiteral(R"re(QStringLiteral\("((?:common|inspector|state)\.\w+)"\))re"));
    static const QRegularExpression row(QStringLiteral(R"re(lines\.add\(QStringLiteral\("(\w+)"\))re"));
    QStringList keys;
    for (const auto& match : literal.globalMatch(sources))
        keys << match.captured(1);
    for (const auto& match : row.globalMatch(sources))
        keys << QStringLiteral("field.") + match.captured(1);
    for (const InspectionItem item : tagsmith::inspection::kAllInspectionItems)
        keys << QStringLiteral("inspection.%1.title").arg(rawValue(item))
             << QStringLiteral("inspection.%1.hint").arg(rawValue(item));
    keys.removeDuplicates();
    return keys;
}

} // namespace

TEST(ShippedCatalogue, HasAChineseTextForEveryKeyTheProgramUses) {
    const UILocalizer shipped =
        UILocalizer::fromDirectory(tagsmith::test::sourcePath(QStringLiteral("resources/locales")));
    EXPECT_EQ(shipped.locale, QStringLiteral("zh-Hans"));
    const QStringList keys = keysTheProgramUses();
    ASSERT_GE(keys.size(), 50) << "the sources were read";
    static const QRegularExpression han(QStringLiteral("\\p{Han}"));
    const QStringList withoutChinese = {QStringLiteral("common.line"), QStringLiteral("inspection.wifi.title")};
    for (const QString& key : keys) {
        EXPECT_TRUE(shipped.base.contains(key)) << key.toStdString();
        if (!withoutChinese.contains(key)) {
            EXPECT_TRUE(shipped.text(key).contains(han)) << key.toStdString();
        }
    }
    EXPECT_TRUE(shipped.text(QStringLiteral("inspection.screen.hint"), {{QStringLiteral("count"), 16}})
                    .contains(QStringLiteral("16")));
}
