#include "support/paths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>

using tagsmith::test::buildPath;

namespace {

// Runs the collector's inspection self-test, which renders the dashboard with
// the bundle's own catalogue, and keeps the pictures under the build tree for
// a person to look at.
TEST(DashboardScreenshot, SelfTestRendersTheDashboardAndStrips) {
    const QString folder = buildPath(QStringLiteral("test-artifacts/inspection"));
    QDir(folder).removeRecursively();
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(buildPath(QStringLiteral("Tagsmith Collector.app/Contents/MacOS/VOREvo")),
                  {QStringLiteral("--inspection-self-test"), folder});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_TRUE(process.readAllStandardOutput().startsWith("PASS: 9 inspection items on 6 tabs"));

    for (const auto& [name, size] : {std::pair{QStringLiteral("dashboard.png"), QSize(1264, 1184)},
                                     std::pair{QStringLiteral("dashboard-results.png"), QSize(1264, 1184)},
                                     std::pair{QStringLiteral("strips.png"), QSize(2020, 1280)}}) {
        const QImage picture(folder + QChar(u'/') + name);
        ASSERT_FALSE(picture.isNull()) << name.toStdString();
        EXPECT_EQ(picture.size(), size) << name.toStdString();
    }
    const QImage fresh(folder + QStringLiteral("/dashboard.png"));
    const QImage results(folder + QStringLiteral("/dashboard-results.png"));
    // The Wi-Fi card (top left, below the header) turns green once passed.
    const QPoint insideWifiCard(2 * 8, 2 * (106 + 140));
    EXPECT_NE(fresh.pixelColor(insideWifiCard), results.pixelColor(insideWifiCard));
}

} // namespace
